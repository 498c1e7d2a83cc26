#include "parsers/iso/gcode_reader.h"

#include <algorithm>

namespace morvane::iso {

using namespace nctext;

namespace {

// True when `value`, read from the valid prefix [first, prefixEnd) of a number text that runs to
// `last`, stands for the whole text: nothing follows the prefix, and the prefix holds a digit.
bool readInFull(const char* first, const char* prefixEnd, const char* last, double value) {
    return prefixEnd == last && (value != 0.0 || std::any_of(first, prefixEnd, isDigit));
}

}  // namespace

bool GCodeReader::applyMark(Mark mark, std::string_view line, std::size_t& cursor) {
    switch (mark) {
        case Mark::EndsWord:
            return true;
        case Mark::IgnoresRest:
            droppedFrom_ = cursor;
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
    std::size_t length = 0;
    std::size_t first = cursor;  // where the first letter stands
    while (cursor < line.size() && length < kMaxTokenLength) {
        const char c = toUpper(line[cursor]);
        if (is(c, kLetter)) {
            if (length == 0) first = cursor;
            word_[length++] = c;
            ++cursor;
            continue;
        }
        bool ends = false;
        switch (c) {
            case '(':
                // Sinumerik's TC(n): the parenthesis belongs to the tool call, not a comment.
                ends =
                    rules.parenthesisAfterTC && length >= 2 && word_[0] == 'T' && word_[1] == 'C';
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
    if (length == 0) {
        unreadFrom_ = cursor;
        return -1;
    }
    const std::int32_t index = lookUp(std::string_view(word_, length));
    if (index < 0) {
        unreadFrom_ = first;
        unknownLength_ = length;
    }
    return index;
}

void GCodeReader::noteLost(std::string_view text) {
    ++lostNumbers_;
    lost_ = text;
}

double GCodeReader::readNumber(std::string_view line, std::size_t& cursor) {
    const ReaderRules& rules = dialect_->reader;
    while (cursor < line.size() && isSpace(line[cursor]))
        ++cursor;
    if (rules.numberAfterAssign && cursor < line.size() &&
        (line[cursor] == '=' || line[cursor] == '('))
        ++cursor;
    if (cursor >= line.size() || !isNumberChar(line[cursor])) {
        noteLost({});
        return 0.0;
    }

    // The usual number stands in one piece, followed by blanks and a letter: read it in place,
    // converting while it is scanned.
    const char* const lineEnd = line.data() + line.size();
    const char* const begin = line.data() + cursor;
    const DecimalPrefix prefix = readDecimalPrefix(begin, lineEnd);
    // Most often the next word's letter follows, right behind or after blanks.
    const char* after = prefix.end;
    while (after != lineEnd && isSpace(*after))
        ++after;
    // A sign or a point without digits ("X- Y5") reads 0 too, but not in full: not here.
    if (prefix.exact && (after == lineEnd || is(*after, kLetter)) &&
        (prefix.value != 0.0 || (prefix.end != begin && isDigit(prefix.end[-1])))) {
        cursor = static_cast<std::size_t>(after - line.data());
        return prefix.value;
    }
    const char* end = prefix.end;
    while (end != lineEnd && isNumberChar(*end))
        ++end;  // what follows the prefix ("1,5")
    const char* next = end;
    while (next != lineEnd && isSpace(*next))
        ++next;
    const bool continues = next != lineEnd && (isNumberChar(*next) || *next == '(' || *next == '/');
    if (!continues) {
        cursor = static_cast<std::size_t>(next - line.data());
        const std::string_view text(begin, static_cast<std::size_t>(end - begin));
        const double value = prefix.exact ? prefix.value : decimalPrefixValue(text);
        if (!readInFull(begin, prefix.end, end, value)) noteLost(text);
        return value;
    }
    return readSplitNumber(line, cursor);
}

double GCodeReader::readSplitNumber(std::string_view line, std::size_t& cursor) {
    const ReaderRules& rules = dialect_->reader;
    // Blanks, comments or a block-skip mark inside the number: collect its characters.
    numberText_.clear();
    while (cursor < line.size()) {
        const char c = line[cursor];
        if (isNumberChar(c)) {
            numberText_ += c;
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
    const char* const first = numberText_.data();
    const char* const last = first + numberText_.size();
    const DecimalPrefix collected = readDecimalPrefix(first, last);
    const double value = collected.exact ? collected.value : longDecimalPrefixValue(numberText_);
    if (!readInFull(first, collected.end, last, value)) noteLost(numberText_);
    return value;
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
