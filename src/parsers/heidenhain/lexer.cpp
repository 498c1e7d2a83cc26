#include "parsers/heidenhain/lexer.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "nci/int_conversion.h"
#include "parsers/heidenhain/keyword_table.h"

namespace morvane::HHParser {

namespace {

constexpr char toUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c;
}
constexpr bool isLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Lines longer than the cursor can address are read up to that length.
std::uint32_t lineEnd(std::string_view line) {
    constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(line.size() < kMax ? line.size() : kMax);
}

}  // namespace

double parseDecimal(std::string_view text) {
    const char* first = text.data();
    const char* last = first + text.size();
    bool negative = false;
    if (first != last && (*first == '+' || *first == '-')) {
        negative = *first == '-';
        ++first;
    }
    // Common case: up to 15 digits. The digits form an exact integer and 10^fraction is exact,
    // so one division gives the correctly rounded value, as from_chars would.
    constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    std::uint64_t mantissa = 0;
    int digits = 0;
    int fraction = 0;
    const char* p = first;
    for (; p != last && isDigit(*p) && digits <= 15; ++p, ++digits)
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
    if (p != last && *p == '.' && digits <= 15) {
        for (++p; p != last && isDigit(*p) && digits <= 15; ++p, ++digits, ++fraction)
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
    }
    if (digits == 0) return 0.0;  // no digits: "", "+", ".", "-+1" ...
    if (digits <= 15 && (p == last || !isDigit(*p))) {
        const double value = static_cast<double>(mantissa) / kPowersOfTen[fraction];
        return negative ? -value : value;
    }
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc()) return 0.0;
    return negative ? -value : value;
}

void Lexer::skipSpaces(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    while (cursor < end && isBlank(line[cursor]))
        ++cursor;
}

void Lexer::skipBlockNumber(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    while (cursor < end && (startsNumber(line[cursor]) || isBlank(line[cursor])))
        ++cursor;
}

bool Lexer::numberFollows(std::string_view line, std::uint32_t& cursor) {
    skipSpaces(line, cursor);
    return cursor < lineEnd(line) && startsNumber(line[cursor]);
}

void Lexer::skipRestOfLine(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    if (cursor < end && line[cursor] == ';') {
        commentText.assign(line.substr(cursor + 1, end - cursor - 1));
        commentFlag = true;
    }
    cursor = end;
}

// Collects up to kMaxTokenLength letters, upper-cased, into `word`. A "Q" directly followed by a
// digit after at least one letter starts a parameter reference (FQ5 is F with the value of Q5),
// so it ends the word; Q inside a word (SQRT, EQU) or at its start (Q5 = 1) is a letter.
std::uint32_t Lexer::collectLetters(std::string_view line, std::uint32_t& cursor,
                                    char* word) const {
    const std::uint32_t end = lineEnd(line);
    std::uint32_t n = 0;
    while (cursor < end && n < kMaxTokenLength) {
        const char c = line[cursor];
        if (!isLetter(c)) break;
        if (c == 'Q' && n > 0 && cursor + 1 < end && isDigit(line[cursor + 1])) break;
        word[n++] = toUpper(c);
        ++cursor;
    }
    return n;
}

// A ";" right behind a word opens a nested read of the word after it (blanks skipped). Only a
// TOOL found there counts: a commented-out "; TOOL CALL ..." is still a tool call. Otherwise the
// text behind the first ";" becomes the comment. Written as a loop over the chain of words (a
// line of many ";" must not nest calls without bound), with the outcome of the nested reads:
// - the last word of the chain is TOOL: TOOL, the cursor stays behind it;
// - an earlier nested word followed by ";" is TOOL: TOOL, the comment is the text behind the ";"
//   of the last such word;
// - otherwise: the code of the first word, the comment is the text behind the first ";".
std::int32_t Lexer::readKeyword(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    std::int32_t firstCode = kw::None;
    std::uint32_t firstSemicolon = 0;
    bool toolBeforeSemicolon = false;
    std::uint32_t toolSemicolon = 0;
    char word[kMaxTokenLength];
    for (bool nested = false;; nested = true) {
        const std::uint32_t n = collectLetters(line, cursor, word);
        const std::int32_t code = keywordCode(std::string_view(word, n));
        const bool semicolon = n < kMaxTokenLength && cursor < end && line[cursor] == ';';
        if (!semicolon) {
            if (!nested) return code;
            if (code == kw::TOOL) return kw::TOOL;
            cursor = toolBeforeSemicolon ? toolSemicolon : firstSemicolon;
            skipRestOfLine(line, cursor);
            return toolBeforeSemicolon ? kw::TOOL : firstCode;
        }
        if (!nested) {
            firstCode = code;
            firstSemicolon = cursor;
        } else if (code == kw::TOOL) {
            toolBeforeSemicolon = true;
            toolSemicolon = cursor;
        }
        ++cursor;
        skipSpaces(line, cursor);
    }
}

double Lexer::readNumber(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    char text[kMaxTokenLength];
    std::uint32_t n = 0;
    bool reference = false;
    while (cursor < end && n < kMaxTokenLength) {
        const char c = line[cursor];
        if (isDigit(c) || c == '+' || c == '-' || c == '.' || c == ',') {
            text[n++] = c == ',' ? '.' : c;
            ++cursor;
        } else if (c == ';') {
            skipRestOfLine(line, cursor);
        } else if (isBlank(c)) {
            ++cursor;
        } else if (c == 'Q') {
            reference = true;
            ++cursor;
        } else {
            break;
        }
    }
    const std::string_view number(text, n);
    const double value = parseDecimal(number);
    if (!reference) return value;
    // X-Q5 reads the negated Q5: the minus belongs to the value, not to the parameter number.
    const bool negated = !number.empty() && number.front() == '-';
    const double parameter = (*params_)[wordToInt32(std::fabs(value))];
    return negated ? -parameter : parameter;
}

double Lexer::readValue(std::string_view line, std::uint32_t& cursor) {
    skipSpaces(line, cursor);
    const std::uint32_t end = lineEnd(line);
    if (cursor >= end) return std::numeric_limits<double>::quiet_NaN();
    const char c = line[cursor];
    if (startsNumber(c) || c == 'Q') return readNumber(line, cursor);
    if (c == '"') {
        // A quoted label name stands for the sum of its character codes (signed bytes).
        std::int64_t sum = 0;
        for (++cursor; cursor < end && line[cursor] != '"'; ++cursor)
            sum += static_cast<signed char>(line[cursor]);
        if (cursor < end) ++cursor;
        return static_cast<double>(sum);
    }
    return std::numeric_limits<double>::quiet_NaN();
}

}  // namespace morvane::HHParser
