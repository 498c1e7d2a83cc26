// The post-processor's warnings: what it could not write as the NCI says, each with the NCI line
// of the record concerned. Every warning is also a comment in the output; the post library writes
// them into a side file beside the result (the result's path + ".warnings", one "LINE: text" a
// line), which Morvane's conversion reports to the user with the line of the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::post {

class PostWarnings {
  public:
    // Warnings kept for the side file; further ones are only counted.
    static constexpr std::size_t kMaxKept = 1000;

    // The record being written starts at NCI line `line`.
    void atRecord(std::uint64_t line) { line_ = line; }
    std::uint64_t line() const { return line_; }
    // A warning about the current record; control characters in `text` become blanks.
    void add(std::string_view text);
    bool empty() const { return count_ == 0; }
    // The side file's text: a line per warning kept, then, when some were only counted, a line
    // "0: N further warnings ...".
    std::string sideFileText() const;

  private:
    std::uint64_t line_ = 0;
    std::size_t count_ = 0;
    std::string kept_;
};

}  // namespace morvane::post
