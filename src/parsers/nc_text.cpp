#include "parsers/nc_text.h"

#include <charconv>

namespace morvane::nctext {

namespace {

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
// Up to 15 digits form an integer below 2^53: an exact double.
constexpr std::size_t kExactDigits = 15;

}  // namespace

DecimalPrefix readDecimalPrefix(const char* first, const char* last) {
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (p != last && (*p == '-' || *p == '+')) ++p;
    std::uint64_t digits = 0;  // may wrap on long texts; they go to the general conversion
    const char* const integerStart = p;
    for (; p != last && isDigit(*p); ++p)
        digits = digits * 10 + static_cast<unsigned>(*p - '0');
    const auto integerDigits = static_cast<std::size_t>(p - integerStart);
    std::size_t decimals = 0;
    if (p != last && *p == '.') {
        const char* const fraction = p + 1;
        for (p = fraction; p != last && isDigit(*p); ++p)
            digits = digits * 10 + static_cast<unsigned>(*p - '0');
        decimals = static_cast<std::size_t>(p - fraction);
    }
    // No digit ("-", ".", "+-5", "--5"): no valid prefix, the value is 0.
    if (integerDigits + decimals == 0) return {p, 0.0, true};
    if (integerDigits + decimals > kExactDigits) return {p, 0.0, false};
    const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
    return {p, negative ? -magnitude : magnitude, true};
}

double decimalPrefixValue(std::string_view text) {
    const char* first = text.data();
    const char* const last = first + text.size();
    const DecimalPrefix prefix = readDecimalPrefix(first, last);
    if (prefix.exact) return prefix.value;
    // Long texts: from_chars, which takes no "+". Fixed notation: number texts never hold an
    // exponent letter. With at most 255 characters no value can leave the range of a double.
    if (*first == '+') ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    return result.ec == std::errc{} ? value : 0.0;
}

}  // namespace morvane::nctext
