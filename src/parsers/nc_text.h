// Character classes and decimal numbers as NC text is read by every dialect: "C" locale rules,
// independent of the locale of the process, one table look-up per character.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace morvane::nctext {

enum CharClass : std::uint8_t { kSpace = 1, kDigit = 2, kNumber = 4, kLetter = 8 };

constexpr std::array<std::uint8_t, 256> makeCharClasses() {
    std::array<std::uint8_t, 256> classes{};
    for (const char c : {' ', '\t', '\n', '\v', '\f', '\r'})
        classes[static_cast<unsigned char>(c)] = kSpace;
    for (char c = '0'; c <= '9'; ++c)
        classes[static_cast<unsigned char>(c)] = kDigit | kNumber;
    for (const char c : {'.', ',', '+', '-'})
        classes[static_cast<unsigned char>(c)] = kNumber;
    for (char c = 'A'; c <= 'Z'; ++c) {
        classes[static_cast<unsigned char>(c)] = kLetter;
        classes[static_cast<unsigned char>(c - 'A' + 'a')] = kLetter;
    }
    return classes;
}
inline constexpr std::array<std::uint8_t, 256> kCharClasses = makeCharClasses();

constexpr bool is(char c, CharClass cls) {
    return (kCharClasses[static_cast<unsigned char>(c)] & cls) != 0;
}
constexpr bool isSpace(char c) {
    return is(c, kSpace);
}
constexpr bool isDigit(char c) {
    return is(c, kDigit);
}
constexpr bool isLetter(char c) {
    return is(c, kLetter);
}
// A character a number collects: a digit, ".", ",", "+" or "-" (a "," counts as the point
// where a dialect says so).
constexpr bool isNumberChar(char c) {
    return is(c, kNumber);
}
constexpr char toUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// The longest valid decimal prefix of a number's text: an optional sign, digits, an optional
// point and digits.
struct DecimalPrefix {
    const char* end;  // where the prefix ends
    double value;     // its value, when exact
    bool exact;       // false: more than 15 digits, for the general conversion to read
};

// Powers of ten that a double holds exactly.
inline constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
// Up to 15 digits form an integer below 2^53: an exact double.
inline constexpr std::size_t kExactDigits = 15;

// Reads the common NC number (a few digits, a point, a few decimals) without the general
// conversion: with at most 15 digits both the digits read as an integer and the power of ten are
// exact doubles, and one division rounds the quotient correctly, exactly as the general
// conversion would. Inline: every word of every block comes through here.
inline DecimalPrefix readDecimalPrefix(const char* first, const char* last) {
    const char* p = first;
    const bool negative = p != last && *p == '-';
    if (p != last && (*p == '-' || *p == '+')) ++p;
    std::uint64_t digits = 0;  // may wrap on long texts; they go to the general conversion
    const char* const integerStart = p;
    for (unsigned d; p != last && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) < 10; ++p)
        digits = digits * 10 + d;
    const auto integerDigits = static_cast<std::size_t>(p - integerStart);
    std::size_t decimals = 0;
    if (p != last && *p == '.') {
        const char* const fraction = ++p;
        for (unsigned d; p != last && (d = static_cast<unsigned char>(*p) - unsigned{'0'}) < 10;
             ++p)
            digits = digits * 10 + d;
        decimals = static_cast<std::size_t>(p - fraction);
    }
    // No digit ("-", ".", "+-5", "--5"): no valid prefix, the value is 0.
    if (integerDigits + decimals == 0) return {p, 0.0, true};
    if (integerDigits + decimals > kExactDigits) return {p, 0.0, false};
    const double magnitude = static_cast<double>(digits) / kExactPowersOfTen[decimals];
    return {p, negative ? -magnitude : magnitude, true};
}

// The general conversion of a valid prefix longer than 15 digits.
double longDecimalPrefixValue(std::string_view text);

// The C-locale decimal reading of `text`: the longest valid prefix of an optionally signed
// decimal number counts ("1,5" and "1-2" give 1, ".5" gives 0.5, "5." gives 5); no valid prefix
// ("--5", ",5", "") gives 0.
inline double decimalPrefixValue(std::string_view text) {
    const DecimalPrefix prefix = readDecimalPrefix(text.data(), text.data() + text.size());
    return prefix.exact ? prefix.value : longDecimalPrefixValue(text);
}

}  // namespace morvane::nctext
