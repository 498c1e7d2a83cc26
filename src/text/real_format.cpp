#include "text/real_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

namespace morvane {

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The digits of `value` in `format`'s notation and rounding, with the sign to-chars gives.
char* rawDigits(char* first, char* last, double value, const RealFormat& format) {
    if (format.notation == RealNotation::Significant)
        return std::to_chars(first, last, value, std::chars_format::general, format.digits).ptr;
    if (!(std::fabs(value) < 1e15)) return std::to_chars(first, last, value).ptr;
    const int places = std::clamp(format.digits, 0, 15);
    if (format.rounding == RealRounding::HalfAwayFromZero) {
        const double scale = kPowersOfTen[places];
        value = std::round(value * scale) / scale;
    }
    return std::to_chars(first, last, value, std::chars_format::fixed, places).ptr;
}

}  // namespace

char* formatReal(char* first, char* last, double value, const RealFormat& format) {
    char digits[kRealTextSize];
    std::string_view text(digits,
                          static_cast<std::size_t>(rawDigits(digits, digits + sizeof digits,
                                                             value, format) -
                                                   digits));
    bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (!format.negativeZero && text.find_first_not_of("0.") == std::string_view::npos)
        negative = false;
    const bool fixed = format.notation == RealNotation::Fixed &&
                       text.find_first_of("en") == std::string_view::npos;
    if (fixed && !format.trailingZeros && text.find('.') != std::string_view::npos) {
        while (text.back() == '0')
            text.remove_suffix(1);
        if (text.back() == '.') text.remove_suffix(1);
    }
    char* p = first;
    if (negative) {
        *p++ = '-';
    } else if (format.plusSign) {
        *p++ = '+';
    }
    const std::size_t room = static_cast<std::size_t>(last - p);
    const std::size_t length = std::min(text.size(), room);
    std::memcpy(p, text.data(), length);
    p += length;
    if (fixed && format.keepPoint && text.find('.') == std::string_view::npos && p < last)
        *p++ = '.';
    return p;
}

void appendReal(std::string& out, double value, const RealFormat& format) {
    char text[kRealTextSize];
    out.append(text, formatReal(text, text + sizeof text, value, format));
}

}  // namespace morvane
