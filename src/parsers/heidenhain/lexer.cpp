#include "parsers/heidenhain/lexer.h"

#include <cmath>
#include <limits>

#include "nci/int_conversion.h"

namespace morvane::HHParser {

void Lexer::skipRestOfLine(std::string_view line, std::uint32_t& cursor) {
    const auto end = static_cast<std::uint32_t>(lineEnd(line) - line.data());
    if (cursor < end && line[cursor] == ';') {
        commentText.assign(line.substr(cursor + 1, end - cursor - 1));
        commentFlag = true;
    }
    cursor = end;
}

// A ";" right behind a word opens a nested read of the word after it (blanks skipped). Only a
// TOOL found there counts: a commented-out "; TOOL CALL ..." is still a tool call. Otherwise the
// text behind the first ";" becomes the comment. Written as a loop over the chain of words (a
// line of many ";" must not nest calls without bound), with the outcome of the nested reads:
// - the last word of the chain is TOOL: TOOL, the cursor stays behind it;
// - an earlier nested word followed by ";" is TOOL: TOOL, the comment is the text behind the ";"
//   of the last such word;
// - otherwise: the code of the first word, the comment is the text behind the first ";".
std::int32_t Lexer::readCommentChain(std::string_view line, std::uint32_t& cursor,
                                     std::int32_t firstCode) {
    const char* const text = line.data();
    const char* const end = lineEnd(line);
    const std::uint32_t firstSemicolon = cursor;
    bool toolBeforeSemicolon = false;
    std::uint32_t toolSemicolon = 0;
    for (;;) {
        const char* const word = skipSpaces(text + cursor + 1, end);
        std::uint64_t key = 0;
        const char* const after = collectLetters(word, end, key);
        const auto n = static_cast<std::uint32_t>(after - word);
        const std::int32_t code = packedKeywordCode(key, n);
        cursor = static_cast<std::uint32_t>(after - text);
        if (n == kMaxTokenLength || after == end || *after != ';') {
            toolInComment = code == kw::TOOL || toolBeforeSemicolon;
            if (code == kw::TOOL) return kw::TOOL;
            cursor = toolBeforeSemicolon ? toolSemicolon : firstSemicolon;
            skipRestOfLine(line, cursor);
            return toolBeforeSemicolon ? kw::TOOL : firstCode;
        }
        if (code == kw::TOOL) {
            toolBeforeSemicolon = true;
            toolSemicolon = cursor;
        }
    }
}

std::int32_t Lexer::readComment(std::string_view line, std::uint32_t& cursor,
                                std::int32_t firstCode) {
    std::uint32_t chain = cursor;
    readCommentChain(line, chain, firstCode);
    skipRestOfLine(line, cursor);
    return firstCode;
}

double Lexer::readOtherValue(std::string_view line, std::uint32_t& cursor) {
    const char* const text = line.data();
    const char* const end = lineEnd(line);
    const char* const first = text + cursor;
    if (first >= end) return std::numeric_limits<double>::quiet_NaN();
    if (*first == '"') {
        // A quoted label name stands for the sum of its character codes (signed bytes).
        std::int64_t sum = 0;
        const char* p = first + 1;
        for (; p < end && *p != '"'; ++p)
            sum += static_cast<signed char>(*p);
        cursor = static_cast<std::uint32_t>((p < end ? p + 1 : p) - text);
        return static_cast<double>(sum);
    }
    if (!isNumberChar(*first) && *first != 'Q') return std::numeric_limits<double>::quiet_NaN();

    // The usual reference stands in one piece ("X-Q5 Y...", "FQ1"): an optional sign, Q and a
    // number starting with a digit, at whose end the collection below would stop too. The
    // collected text would be the sign and that number, so it is read in place.
    const char* const q = first + (*first == '+' || *first == '-' ? 1 : 0);
    if (end - q > 1 && *q == 'Q' && isDigit(q[1])) {
        const nctext::DecimalPrefix number = nctext::readDecimalPrefix(q + 1, end);
        if (number.exact && endsInPlace(line, number.end, cursor))
            return parameter(number.value, *first == '-');
    }
    return collectNumber(line, cursor);
}

double Lexer::collectNumber(std::string_view line, std::uint32_t& cursor) {
    const auto end = static_cast<std::uint32_t>(lineEnd(line) - line.data());
    numberText_.clear();
    bool reference = false;
    while (cursor < end) {
        const char c = line[cursor];
        if (isDigit(c) || c == '+' || c == '-' || c == '.' || c == ',') {
            numberText_ += c == ',' ? '.' : c;
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
    const std::string_view number = numberText_;
    const double value = nctext::decimalPrefixValue(number);
    if (!reference) return value;
    // X-Q5 reads the negated Q5: the minus belongs to the value, not to the parameter number.
    return parameter(value, !number.empty() && number.front() == '-');
}

double Lexer::parameter(double number, bool negated) {
    const double value = (*params_)[wordToInt32(std::fabs(number))];
    return negated ? -value : value;
}

}  // namespace morvane::HHParser
