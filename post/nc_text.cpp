#include "nc_text.h"

#include <charconv>
#include <cmath>

#include "text/real_format.h"

namespace morvane::post {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

}  // namespace

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

OutputBuffer::OutputBuffer(std::FILE* file) : file_(file) {
    pending_.reserve(kFlushSize + 256);
}

OutputBuffer::~OutputBuffer() {
    flush();
}

void OutputBuffer::line(std::string_view line) {
    pending_ += line;
    pending_ += '\n';
    if (file_ != nullptr && pending_.size() >= kFlushSize) flush();
}

void OutputBuffer::flush() {
    if (file_ == nullptr || pending_.empty()) return;
    if (!failed_ && std::fwrite(pending_.data(), 1, pending_.size(), file_) != pending_.size())
        failed_ = true;
    pending_.clear();
}

}  // namespace morvane::post
