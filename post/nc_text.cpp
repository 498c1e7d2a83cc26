#include "nc_text.h"

#include <charconv>
#include <cmath>

namespace morvane::post {

namespace {

constexpr std::size_t kFlushSize = 1 << 16;

}  // namespace

void appendNumber(std::string& out, double value, const NumberStyle& style) {
    // Values are bounded by the reader (far below 1e15), so 32 characters always suffice.
    char text[32];
    if (!std::isfinite(value) || std::fabs(value) >= 1e15) value = 0.0;
    // Halves round away from zero, as NC programmers round (0.125 to two places is 0.13).
    const double scale = std::pow(10.0, style.decimals);
    value = std::round(value * scale) / scale;
    auto [end, ec] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, style.decimals);
    if (ec != std::errc()) end = text;
    std::string_view digits(text, static_cast<std::size_t>(end - text));
    bool negative = !digits.empty() && digits.front() == '-';
    if (negative) digits.remove_prefix(1);
    if (digits.find_first_not_of("0.") == std::string_view::npos) negative = false;

    const std::size_t point = digits.find('.');
    std::string_view whole = digits.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? "" : digits.substr(point + 1);
    if (!style.trailingZeros) {
        while (!fraction.empty() && fraction.back() == '0')
            fraction.remove_suffix(1);
    }
    if (negative) {
        out += '-';
    } else if (style.plusSign) {
        out += '+';
    }
    out += whole;
    if (!fraction.empty() || style.keepPoint) out += '.';
    out += fraction;
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
