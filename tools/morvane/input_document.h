// The NC program being converted, read once into one buffer. Each line terminator is replaced
// in place by NUL bytes, so every line is a NUL-terminated text inside the buffer and is served
// to the plug-in without a copy; the terminators are remembered, so untouched lines are written
// back byte for byte.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::cli {

// Lines [first, first + count) of a document, zero-based.
struct LineRange {
    std::int32_t first = 0;
    std::int32_t count = 0;
};

class InputDocument {
  public:
    // Reads the regular file at `path`; false with the reason in `error` when it cannot be read,
    // is not a regular file, is larger than 4 GiB, or has more lines than the plug-in can count.
    bool read(const std::string& path, std::string& error);
    // The text of a program held in memory (tests); same rules as a file.
    void assign(std::string_view text);

    std::int32_t lineCount() const { return static_cast<std::int32_t>(starts_.size()) - 1; }
    // NUL-terminated text of line `index`, without its terminator; null outside the document.
    const char* lineText(std::int32_t index) const;
    std::string_view line(std::int32_t index) const;
    // True when the first line ends with CR LF: the document's own line terminator.
    bool usesCrLf() const { return !crlf_.empty() && crlf_.front(); }
    // The first lines, for recognising the program's format.
    std::vector<std::string_view> head(std::size_t maxLines) const;

    // Writes lines [first, first + count) as they were in the file, terminators included.
    // False when the stream fails.
    bool writeLines(std::FILE* out, std::int32_t first, std::int32_t count) const;

  private:
    void index();

    struct FreeText {
        void operator()(char* text) const;
    };
    // Room for `bytes` characters, not zeroed.
    static std::unique_ptr<char, FreeText> allocateText(std::size_t bytes);

    std::unique_ptr<char, FreeText> text_;  // the file, plus one NUL after its last byte
    std::size_t size_ = 0;                  // bytes of the file
    // Where each line starts, and one more entry: size_ + 1. Four bytes a line keep the index
    // small beside the text; a program is refused beyond 4 GiB.
    std::vector<std::uint32_t> starts_{0};
    std::vector<bool> crlf_;       // a line's terminator is CR LF (else LF or none)
    bool lastTerminated_ = false;  // the last line ends with a line feed
};

}  // namespace morvane::cli
