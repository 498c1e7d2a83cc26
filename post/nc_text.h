// Text of NC programs: numbers in the notation of a control (a fixed number of decimals, the C
// locale's point, no exponent) and the whole lines of the result, to its file or in memory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "nci/buffered_file.h"

namespace morvane::post {

// How a control wants its decimal numbers.
struct NumberStyle {
    int decimals = 3;
    bool keepPoint = true;       // Fanuc reads X10 as ten increments; X10. is ten millimetres
    bool plusSign = false;       // Heidenhain writes X+10
    bool trailingZeros = false;  // X10.000 rather than X10.
};

// Appends `value` rounded to `style.decimals` places. A value that rounds to zero is written
// without a sign ("0." or "+0"), never as "-0".
void appendNumber(std::string& out, double value, const NumberStyle& style);
void appendInteger(std::string& out, std::int64_t value);

// Whole lines written to a file, or collected in memory.
class OutputBuffer {
  public:
    // Writes to `file` (not owned; its owner closes it).
    explicit OutputBuffer(BufferedFile& file) : file_(&file) {}
    // Collects the text in memory (text()).
    OutputBuffer() = default;
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    // Appends `line` and a line feed.
    void line(std::string_view line);
    // The collected text of an in-memory buffer.
    const std::string& text() const { return collected_; }

  private:
    BufferedFile* file_ = nullptr;
    std::string collected_;
};

}  // namespace morvane::post
