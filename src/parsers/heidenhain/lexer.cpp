#include "parsers/heidenhain/lexer.h"

#include <cmath>
#include <limits>

#include "nci/int_conversion.h"
#include "parsers/heidenhain/keyword_table.h"

namespace morvane::HHParser {

namespace {

// Lines longer than the cursor can address are read up to that length.
std::uint32_t lineEnd(std::string_view line) {
    constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(line.size() < kMax ? line.size() : kMax);
}

// True for a character that ends the collection of a number's characters (see readNumber):
// anything but a number character, a blank, ";" and "Q".
bool endsNumber(char c) {
    return !isNumberChar(c) && !isSpace(c) && c != ';' && c != 'Q';
}

}  // namespace

void Lexer::skipSpaces(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    while (cursor < end && isSpace(line[cursor]))
        ++cursor;
}

void Lexer::skipBlockNumber(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    while (cursor < end && (isNumberChar(line[cursor]) || isSpace(line[cursor])))
        ++cursor;
}

bool Lexer::numberFollows(std::string_view line, std::uint32_t& cursor) {
    skipSpaces(line, cursor);
    return cursor < lineEnd(line) && isNumberChar(line[cursor]);
}

void Lexer::skipRestOfLine(std::string_view line, std::uint32_t& cursor) {
    const std::uint32_t end = lineEnd(line);
    if (cursor < end && line[cursor] == ';') {
        commentText.assign(line.substr(cursor + 1, end - cursor - 1));
        commentFlag = true;
    }
    cursor = end;
}

// Collects up to kMaxTokenLength letters, upper-cased, packed into `key` as keywordCode packs
// them (a longer word than a keyword packs to nothing that is looked up). A "Q" directly
// followed by a digit after at least one letter starts a parameter reference (FQ5 is F with the
// value of Q5), so it ends the word; Q inside a word (SQRT, EQU) or at its start (Q5 = 1) is a
// letter.
std::uint32_t Lexer::collectLetters(std::string_view line, std::uint32_t& cursor,
                                    std::uint64_t& key) const {
    const std::uint32_t end = lineEnd(line);
    std::uint32_t n = 0;
    key = 0;
    while (cursor < end && n < kMaxTokenLength) {
        const char c = line[cursor];
        if (!isLetter(c)) break;
        if (c == 'Q' && n > 0 && cursor + 1 < end && isDigit(line[cursor + 1])) break;
        key = (key << 8) | static_cast<unsigned char>(toUpper(c));
        ++n;
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
    for (bool nested = false;; nested = true) {
        std::uint64_t key = 0;
        const std::uint32_t n = collectLetters(line, cursor, key);
        const std::int32_t code = packedKeywordCode(key, n);
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
    // The usual number stands in one piece ("X+12.5 Y..."): when its valid prefix is followed,
    // after blanks, by a character that ends the collection, the collected text would be that
    // prefix, so it is read in place.
    {
        const char* const first = line.data() + cursor;
        const char* const last = line.data() + end;
        const nctext::DecimalPrefix prefix = nctext::readDecimalPrefix(first, last);
        const char* next = prefix.end;
        while (next != last && isSpace(*next))
            ++next;
        if (prefix.exact && prefix.end - first < static_cast<std::ptrdiff_t>(kMaxTokenLength) &&
            (next == last || endsNumber(*next))) {
            cursor = static_cast<std::uint32_t>(next - line.data());
            return prefix.value;
        }
    }
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
        } else if (isSpace(c)) {
            ++cursor;
        } else if (c == 'Q') {
            reference = true;
            ++cursor;
        } else {
            break;
        }
    }
    const std::string_view number(text, n);
    const double value = nctext::decimalPrefixValue(number);
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
    if (isNumberChar(c) || c == 'Q') return readNumber(line, cursor);
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
