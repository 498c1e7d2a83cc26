// The NC program being converted, read once into one buffer. A line ends at a line feed, a
// carriage return and line feed, or a carriage return alone; each terminator is replaced in
// place by NUL bytes, so every line is a NUL-terminated text inside the buffer and is served to
// the plug-in without a copy. Each line's terminator is remembered in two bits, so untouched
// lines are written back byte for byte, and the start of every 32nd line is kept: the plug-in
// reads lines in order (a cursor steps from one to the next), and a jump starts from the kept
// start before the line or from one of the lines last jumped to (a subprogram run again and
// again).
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "input_encoding.h"
#include "nci/buffered_file.h"

namespace morvane::cli {

// Lines [first, first + count) of a document, zero-based.
struct LineRange {
    std::int32_t first = 0;
    std::int32_t count = 0;
};

// A line that holds a NUL byte: the plug-in reads it up to there.
struct NulByteLine {
    std::int32_t line;   // zero-based
    std::size_t column;  // 1-based column of the first NUL
};

class InputDocument {
  public:
    // Reads the regular file at `path`; false with the reason in `error` when it cannot be read,
    // is not a regular file, is larger than 4 GiB, is UTF-16 or UTF-32 text, or has more lines
    // than a program may have. A UTF-8 byte-order mark is set aside.
    bool read(const std::string& path, std::string& error);
    // Reads everything a pipe, a terminal or a file opened as `fd` gives until its end (standard
    // input); `name` stands for the file in messages. Same rules as a file.
    bool readStream(int fd, const std::string& name, std::string& error);
    // The text of a program held in memory (tests); same rules as a file.
    bool assign(std::string_view text, std::string* error = nullptr);

    std::int32_t lineCount() const { return lines_; }
    // NUL-terminated text of line `index`, without its terminator; null outside the document.
    // Valid until the next call: reading in order costs one step from the line before.
    const char* lineText(std::int32_t index) const;
    // The whole line as the file has it, NUL bytes included, without its terminator.
    std::string_view line(std::int32_t index) const;
    // The document's own line terminator, that of its first line: "\n", "\r\n" or "\r".
    std::string_view terminator() const;
    // The UTF-8 byte-order mark the file began with, or nothing.
    std::string_view byteOrderMark() const;
    // The first kilobytes as read, for telling binary data from a program.
    const TextSample& sample() const { return sample_; }
    // The first lines, for recognising the program's format.
    std::vector<std::string_view> head(std::size_t maxLines) const;
    // Lines of `range` that hold a NUL byte: the first `max` of them, and how many there are.
    std::vector<NulByteLine> nulByteLines(LineRange range, std::size_t max,
                                          std::size_t& total) const;

    // Writes lines [first, first + count) as they were in the file, terminators included.
    // False with errno set when the stream fails.
    bool writeLines(BufferedFile& out, std::int32_t first, std::int32_t count) const;

  private:
    enum LineEnd : std::uint8_t {
        kLf,
        kCrLf,
        kCr,
        kRaw,  // the line holds a NUL byte; its terminator stays in the text as it was
    };
    static constexpr std::uint32_t kAnchorEvery = 32;

    // Checks and indexes the `size` bytes read into the buffer.
    bool load(std::size_t size, const std::string& path, std::string& error);
    void index();
    LineEnd endOf(std::int32_t index) const {
        const auto i = static_cast<std::uint32_t>(index);
        return static_cast<LineEnd>((ends_[i / 32] >> (2 * (i % 32))) & 3);
    }
    void setEnd(std::int32_t index, LineEnd end);
    std::size_t startOf(std::int32_t index) const;
    // startOf() of a line that is not the next one, or follows a line with a NUL byte.
    std::size_t seek(std::uint32_t line) const;
    // Where line `index`, which starts at `start`, ends (its terminator's first byte) and
    // where the next line starts.
    std::size_t endAt(std::int32_t index, std::size_t start) const;
    std::size_t nextStart(std::int32_t index, std::size_t start) const;
    std::string_view terminatorOf(std::int32_t index, std::size_t end) const;

    struct FreeText {
        void operator()(char* text) const;
    };
    // Room for `bytes` characters, not zeroed.
    static std::unique_ptr<char, FreeText> allocateText(std::size_t bytes);

    std::unique_ptr<char, FreeText> buffer_;  // the file, then 16 NUL bytes
    char* text_ = nullptr;                    // the text, after a byte-order mark
    std::size_t size_ = 0;                    // bytes of the text
    bool byteOrderMark_ = false;
    TextSample sample_;
    std::int32_t lines_ = 0;
    bool lastTerminated_ = false;         // the last line has a terminator
    std::vector<std::uint64_t> ends_;     // LineEnd of each line, 32 a word
    std::vector<std::uint32_t> anchors_;  // start of lines 0, 32, 64, ...
    std::int32_t rawLines_ = 0;           // lines that hold a NUL byte
    // The last line served: reading on from it is one step.
    mutable std::uint32_t cursorLine_ = 0;
    mutable std::size_t cursorStart_ = 0;
    // Lines lately reached by a jump, each in the place its number modulo 16 gives.
    struct Position {
        std::uint32_t line = 0;
        std::size_t start = 0;
    };
    mutable std::array<Position, 16> jumps_{};
};

}  // namespace morvane::cli
