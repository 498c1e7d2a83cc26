#include "text/real_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace morvane {

namespace {

constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Below this many units of the last place, the double nearest to n / 10^places lies so close to
// that decimal that printing it to `places` decimals gives n's digits back: the whole-number
// digits below are the same text as the general conversion, several times faster.
constexpr double kExactUnits = 1e15;

// "-123.4500" for n = 1234500 and 4 places, as a fixed conversion writes it.
char* unitsAsFixed(char* first, bool negative, std::uint64_t n, int places) {
    char reversed[24];
    int count = 0;
    do {
        reversed[count++] = static_cast<char>('0' + n % 10);
        n /= 10;
    } while (n != 0);
    while (count <= places)
        reversed[count++] = '0';  // a whole part of at least one digit
    char* p = first;
    if (negative) *p++ = '-';
    for (int i = count - 1; i >= places; --i)
        *p++ = reversed[i];
    if (places > 0) {
        *p++ = '.';
        for (int i = places - 1; i >= 0; --i)
            *p++ = reversed[i];
    }
    return p;
}

// The digits of `value` in `format`'s notation and rounding, with the sign to-chars gives.
// `plain` tells whether they are plain digits (no exponent, no "nan" or "inf").
char* rawDigits(char* first, char* last, double value, const RealFormat& format, bool& plain) {
    plain = false;
    if (format.notation == RealNotation::Significant)
        return std::to_chars(first, last, value, std::chars_format::general, format.digits).ptr;
    if (!(std::fabs(value) < 1e15)) {
        char* const end = std::to_chars(first, last, value).ptr;
        plain = std::find_if(first, end, [](char c) { return c == 'e' || c == 'n'; }) == end;
        return end;
    }
    plain = true;
    const int places = std::clamp(format.digits, 0, 15);
    if (format.rounding == RealRounding::HalfAwayFromZero) {
        const double scale = kPowersOfTen[places];
        const double units = std::round(value * scale);
        if (std::fabs(units) < kExactUnits)
            return unitsAsFixed(first, std::signbit(units),
                                static_cast<std::uint64_t>(std::fabs(units)), places);
        value = units / scale;
    }
    return std::to_chars(first, last, value, std::chars_format::fixed, places).ptr;
}

bool allZeros(const char* first, const char* last) {
    for (; first != last; ++first)
        if (*first != '0' && *first != '.') return false;
    return true;
}

}  // namespace

char* formatReal(char* first, char* last, double value, const RealFormat& format) {
    char digits[kRealTextSize];
    bool plain = false;
    const char* end = rawDigits(digits, digits + sizeof digits, value, format, plain);
    const char* begin = digits;
    bool negative = *begin == '-';
    if (negative) ++begin;
    if (negative && !format.negativeZero && allZeros(begin, end)) negative = false;
    const bool fixed = format.notation == RealNotation::Fixed && plain;
    const bool point = fixed && std::find(begin, end, '.') != end;
    if (point && !format.trailingZeros) {
        while (end[-1] == '0')
            --end;
        if (end[-1] == '.') --end;
    }
    char* p = first;
    if (negative) {
        *p++ = '-';
    } else if (format.plusSign) {
        *p++ = '+';
    }
    const std::size_t length =
        std::min(static_cast<std::size_t>(end - begin), static_cast<std::size_t>(last - p));
    std::memcpy(p, begin, length);
    p += length;
    if (fixed && format.keepPoint && std::find(begin, end, '.') == end && p < last)
        *p++ = '.';
    return p;
}

void appendReal(std::string& out, double value, const RealFormat& format) {
    char text[kRealTextSize];
    out.append(text, formatReal(text, text + sizeof text, value, format));
}

}  // namespace morvane
