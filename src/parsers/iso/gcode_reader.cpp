#include "parsers/iso/gcode_reader.h"

#include <charconv>

namespace morvane::iso {

namespace {

// Character classes of the "C" locale, independent of the locale of the process.
constexpr bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr char toUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr bool isUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}
constexpr bool isNumberChar(char c) {
    return isDigit(c) || c == '.' || c == ',' || c == '+' || c == '-';
}

}  // namespace

double decimalPrefixValue(std::string_view text) {
    const char* first = text.data();
    const char* last = first + text.size();
    // from_chars takes no "+"; a second sign after it has no valid prefix ("+-5" reads 0).
    if (first != last && *first == '+') {
        ++first;
        if (first != last && (*first == '+' || *first == '-')) return 0.0;
    }
    double value = 0.0;
    // Fixed notation: the collected text never holds an exponent letter. With at most 255
    // characters no value can leave the range of a double.
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
    const ReaderRules& rules = dialect_->reader;
    char word[kMaxTokenLength];
    std::size_t length = 0;
    while (cursor < line.size() && length < kMaxTokenLength) {
        const char c = toUpper(line[cursor]);
        if (isUpperLetter(c)) {
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
