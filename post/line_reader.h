// Lines of a text file read in chunks, one at a time, so that a file of any size is read with a
// fixed amount of memory. A line ends at a line feed; a carriage return before it is dropped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::post {

class LineReader {
  public:
    // Longer lines are cut to this many bytes; the rest of such a line is skipped.
    static constexpr std::size_t kMaxLineLength = 4096;

    // Reads from `file` (not owned, read from its current position).
    explicit LineReader(std::FILE* file);
    // Reads the lines of `text`, which must outlive the reader.
    explicit LineReader(std::string_view text);

    // The next line, valid until the next call; false at the end of the input. `cut` tells that
    // the line was longer than kMaxLineLength.
    bool next(std::string_view& line, bool& cut);
    // 1-based number of the line returned last.
    std::uint64_t lineNumber() const { return lineNumber_; }
    // A read error of the file happened (the lines read before it were returned).
    bool failed() const { return failed_; }

  private:
    bool fill();

    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;  // chunk storage of a file reader
    std::string_view text_;     // the unread bytes in memory: buffer_ or the caller's text
    std::string held_;          // the kept start of a line cut while reading a file
    std::uint64_t lineNumber_ = 0;
    bool endOfInput_ = false;
    bool failed_ = false;
};

}  // namespace morvane::post
