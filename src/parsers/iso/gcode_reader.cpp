#include "parsers/iso/gcode_reader.h"

#include <array>
#include <charconv>

namespace morvane::iso {

namespace {

// Character classes of the "C" locale, independent of the locale of the process, one table
// look-up per character.
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
constexpr std::array<std::uint8_t, 256> kCharClasses = makeCharClasses();

constexpr bool is(char c, CharClass cls) {
    return (kCharClasses[static_cast<unsigned char>(c)] & cls) != 0;
}
constexpr bool isSpace(char c) {
    return is(c, kSpace);
}
constexpr bool isDigit(char c) {
    return is(c, kDigit);
}
// A character a number collects: a digit, ".", ",", "+" or "-".
constexpr bool isNumberChar(char c) {
    return is(c, kNumber);
}
constexpr char toUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
// Up to 15 digits form an integer below 2^53: an exact double.
constexpr std::size_t kExactDigits = 15;

// The longest valid decimal prefix of a number's text: an optional sign, digits, an optional
// point and digits.
struct DecimalPrefix {
    const char* end;  // where the prefix ends
    double value;     // its value, when exact
    bool exact;       // false: more than 15 digits, for the general conversion to read
};

// Reads the common NC number (a few digits, a point, a few decimals) without the general
// conversion: with at most 15 digits both the digits read as an integer and the power of ten
// are exact doubles, and one division rounds the quotient correctly, exactly as the general
// conversion would.
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

}  // namespace

double decimalPrefixValue(std::string_view text) {
    const char* first = text.data();
    const char* const last = first + text.size();
    const DecimalPrefix prefix = readDecimalPrefix(first, last);
    if (prefix.exact) return prefix.value;
    // Long texts: from_chars, which takes no "+". Fixed notation: the collected text never holds
    // an exponent letter. With at most 255 characters no value can leave the range of a double.
    if (*first == '+') ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    return result.ec == std::errc{} ? value : 0.0;
}

bool GCodeReader::applyMark(Mark mark, std::string_view line, std::size_t& cursor) {
    switch (mark) {
        case Mark::EndsWord:
            return true;
        case Mark::IgnoresRest:
            cursor = line.size();
            return false;
        case Mark::CommentsRest:
            readRestOfLine(line, cursor, line[cursor]);
            return false;
    }
    return true;
}

std::int32_t GCodeReader::lookUp(std::string_view word) const {
    if (word.size() == 1) return static_cast<std::int32_t>(addr::letter(word[0]));
    for (const Keyword& keyword : dialect_->keywords)
        if (keyword.text == word) return keyword.index;
    return -1;
}

std::int32_t GCodeReader::readAddress(std::string_view line, std::size_t& cursor) {
    // The usual word: one letter with its number right behind it ("X12.5").
    if (cursor + 1 < line.size() && is(line[cursor], kLetter) && isNumberChar(line[cursor + 1]))
        return static_cast<std::int32_t>(addr::letter(toUpper(line[cursor++])));

    const ReaderRules& rules = dialect_->reader;
    char word[kMaxTokenLength];
    std::size_t length = 0;
    while (cursor < line.size() && length < kMaxTokenLength) {
        const char c = toUpper(line[cursor]);
        if (is(c, kLetter)) {
            word[length++] = c;
            ++cursor;
            continue;
        }
        bool ends = false;
        switch (c) {
            case '(':
                // Sinumerik's TC(n): the parenthesis belongs to the tool call, not a comment.
                ends = rules.parenthesisAfterTC && length >= 2 && word[0] == 'T' && word[1] == 'C';
                if (!ends) readComment(line, cursor);
                break;
            case ';':
                ends = applyMark(rules.semicolon, line, cursor);
                break;
            case '/':
                ends = applyMark(rules.slash, line, cursor);
                break;
            case '!':
                ends = applyMark(rules.bang, line, cursor);
                break;
            default:
                ends = !isSpace(c);
                if (!ends) ++cursor;
                break;
        }
        if (ends) break;
    }
    return length == 0 ? -1 : lookUp(std::string_view(word, length));
}

double GCodeReader::readNumber(std::string_view line, std::size_t& cursor) {
    const ReaderRules& rules = dialect_->reader;
    while (cursor < line.size() && isSpace(line[cursor]))
        ++cursor;
    if (rules.numberAfterAssign && cursor < line.size() &&
        (line[cursor] == '=' || line[cursor] == '('))
        ++cursor;
    if (cursor >= line.size() || !isNumberChar(line[cursor])) return 0.0;

    // The usual number stands in one piece, followed by blanks and a letter: read it in place,
    // converting while it is scanned.
    const char* const lineEnd = line.data() + line.size();
    const char* const begin = line.data() + cursor;
    const DecimalPrefix prefix = readDecimalPrefix(begin, lineEnd);
    const char* end = prefix.end;
    while (end != lineEnd && isNumberChar(*end))
        ++end;  // what follows the prefix ("1,5")
    const char* next = end;
    while (next != lineEnd && isSpace(*next))
        ++next;
    const bool continues = next != lineEnd && (isNumberChar(*next) || *next == '(' || *next == '/');
    if (static_cast<std::size_t>(end - begin) < kMaxTokenLength && !continues) {
        cursor = static_cast<std::size_t>(next - line.data());
        return prefix.exact ? prefix.value
                            : decimalPrefixValue({begin, static_cast<std::size_t>(end - begin)});
    }

    // Blanks, comments or a block-skip mark inside the number: collect its characters.
    char text[kMaxTokenLength];
    std::size_t length = 0;
    while (cursor < line.size() && length < kMaxTokenLength) {
        const char c = line[cursor];
        if (isNumberChar(c)) {
            text[length++] = c;
            ++cursor;
        } else if (c == '(') {
            readComment(line, cursor);
        } else if (c == '/') {
            if (applyMark(rules.slashInNumber, line, cursor)) break;
        } else if (isSpace(c)) {
            ++cursor;
        } else {
            break;
        }
    }
    return decimalPrefixValue(std::string_view(text, length));
}

void GCodeReader::readComment(std::string_view line, std::size_t& cursor) {
    const std::size_t textStart = cursor + 1;
    std::size_t depth = 1;
    std::size_t end = textStart;
    for (; end < line.size() && depth != 0; ++end) {
        if (line[end] == ')') {
            --depth;
        } else if (line[end] == '(') {
            ++depth;
        }
    }
    // The closing parenthesis is not part of the text; an unclosed comment keeps everything.
    const std::size_t textEnd = depth == 0 ? end - 1 : end;
    comment_.append(line.substr(textStart, textEnd - textStart));
    hasComment_ = true;
    cursor = end;
}

void GCodeReader::readRestOfLine(std::string_view line, std::size_t& cursor, char marker) {
    if (cursor >= line.size() || line[cursor] != marker) return;
    comment_.append(line.substr(cursor + 1));
    hasComment_ = true;
    cursor = line.size();
}

}  // namespace morvane::iso
