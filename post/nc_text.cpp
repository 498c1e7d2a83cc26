#include "nc_text.h"

#include <charconv>
#include <cmath>

#include "text/real_format.h"

namespace morvane::post {

void appendNumber(std::string& out, double value, const NumberStyle& style) {
    // Values are bounded by the reader, far below 1e15.
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) value = 0.0;
    // Halves round away from zero, as NC programmers round (0.125 to two places is 0.13).
    appendReal(out, value,
               {.digits = style.decimals,
                .rounding = RealRounding::HalfAwayFromZero,
                .trailingZeros = style.trailingZeros,
                .keepPoint = style.keepPoint,
                .plusSign = style.plusSign});
}

void appendInteger(std::string& out, std::int64_t value) {
    char text[24];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    out.append(text, ec == std::errc() ? static_cast<std::size_t>(end - text) : 0);
}

void OutputBuffer::line(std::string_view line) {
    if (file_ == nullptr) {
        collected_ += line;
        collected_ += '\n';
        return;
    }
    file_->write(line);
    file_->write("\n");
}

}  // namespace morvane::post
