// Reading a Heidenhain conversational line: keywords and the values behind them.
//
// There is no token stream: the block parser walks a line with a cursor (a byte offset that the
// caller owns) and calls readKeyword and readValue alternately. None of the readers changes the
// line; all of them stop at its end.
//
// Every word and value of every line comes through here, so the usual cases (a word of letters
// followed by a blank, a number in one piece) are read inline with a local pointer; the cursor is
// stored once at the end (a store through the reference in every step would have to be reloaded
// after each character read, as a char may alias it). Comment chains, Q references, names and
// numbers broken by blanks are read out of line.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "nci/block.h"
#include "parsers/heidenhain/keyword_table.h"
#include "parsers/nc_text.h"

namespace morvane::HHParser {

// Longest word taken in one piece; the rest is read as the next word (no keyword is that
// long). Numbers are read whole, however long.
inline constexpr std::uint32_t kMaxTokenLength = 255;

using nctext::isDigit;
using nctext::isLetter;
using nctext::isNumberChar;
using nctext::isSpace;

// Where the readers stop: the end of the line, or as far as the cursor can address.
inline const char* lineEnd(std::string_view line) {
    constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
    return line.data() + (line.size() < kMax ? line.size() : kMax);
}

// The keyword and value readers with the comment text they collect for the current line. Q
// references in values are read from the parameter table given at construction.
class Lexer {
  public:
    explicit Lexer(ParamMap& params) : params_(&params) {}

    // Starts a new line: no comment read yet.
    void beginLine() {
        commentText.clear();
        commentFlag = false;
        toolInComment = false;
    }
    // With the corrected semantics a ";" behind a word always starts the comment: the word TOOL
    // in it is not read (docs/corrections.md, comment-tool).
    void readCommentsAsComments(bool on) { commentsAsComments_ = on; }

    // Reads a word of letters (upper-cased) and returns its keyword code, 0 for an empty word or
    // one that is not a keyword. A ";" ends the word and turns the rest of the line into comment
    // text, except that (exact semantics) a commented-out TOOL word right behind the ";" is still
    // read as TOOL.
    std::int32_t readKeyword(std::string_view line, std::uint32_t& cursor) {
        const char* const word = line.data() + cursor;
        const char* const end = lineEnd(line);
        if (word < end && isLetter(word[0]) &&
            (end - word == 1 || (!isLetter(word[1]) && word[1] != ';'))) {
            ++cursor;
            return kLetterCodes[static_cast<unsigned char>(word[0])];
        }
        std::uint64_t key = 0;
        const char* const after = collectLetters(word, end, key);
        const auto n = static_cast<std::uint32_t>(after - word);
        const std::int32_t code = packedKeywordCode(key, n);
        cursor += n;
        if (n < kMaxTokenLength && after < end && *after == ';')
            return commentsAsComments_ ? readComment(line, cursor, code)
                                       : readCommentChain(line, cursor, code);
        return code;
    }

    // Reads a number (blanks inside it allowed, "," as decimal point, "Q" making it a parameter
    // reference), or a quoted name (the sum of its character codes). NaN when neither follows;
    // the cursor then stays on the character that is not a value.
    double readValue(std::string_view line, std::uint32_t& cursor) {
        const char* const text = line.data();
        const char* const end = lineEnd(line);
        const char* const first = skipSpaces(text + cursor, end);
        cursor = static_cast<std::uint32_t>(first - text);
        // The usual number stands in one piece ("X+12.5 Y..."): when its valid prefix is
        // followed, after blanks, by a character that ends the collection, the collected text
        // would be that prefix, so it is read in place.
        if (first < end && isNumberChar(*first)) {
            const nctext::DecimalPrefix prefix = nctext::readDecimalPrefix(first, end);
            if (prefix.exact && endsInPlace(line, prefix.end, cursor))
                return prefix.value;
        }
        return readOtherValue(line, cursor);
    }

    // Skips blanks; true when a number starts at the cursor (not consumed).
    static bool numberFollows(std::string_view line, std::uint32_t& cursor) {
        skipSpaces(line, cursor);
        const char* const p = line.data() + cursor;
        return p < lineEnd(line) && isNumberChar(*p);
    }
    static void skipSpaces(std::string_view line, std::uint32_t& cursor) {
        const char* const from = line.data() + cursor;
        cursor += static_cast<std::uint32_t>(skipSpaces(from, lineEnd(line)) - from);
    }
    // Skips the block number at the start of a line (digits, blanks, signs, decimal points).
    static void skipBlockNumber(std::string_view line, std::uint32_t& cursor) {
        const char* const end = lineEnd(line);
        const char* p = line.data() + cursor;
        while (p < end && nctext::is(*p, nctext::CharClass(nctext::kNumber | nctext::kSpace)))
            ++p;
        cursor = static_cast<std::uint32_t>(p - line.data());
    }
    // On a ";", the rest of the line becomes the comment text; the cursor goes to the end of the
    // line in every case.
    void skipRestOfLine(std::string_view line, std::uint32_t& cursor);

    std::string commentText;   // text behind the ";" of the current line, or a program name
    bool commentFlag = false;  // a ";" comment was read on the current line
    // The comment of the current line holds a TOOL word right behind a ";", which the exact
    // semantics reads as TOOL.
    bool toolInComment = false;

  private:
    static const char* skipSpaces(const char* p, const char* end) {
        while (p < end && isSpace(*p))
            ++p;
        return p;
    }

    // True for a character that ends the collection of a number's characters (see
    // readOtherValue): anything but a number character, a blank, ";" and "Q".
    static bool endsNumber(char c) {
        return !nctext::is(c, nctext::CharClass(nctext::kNumber | nctext::kSpace)) && c != ';' &&
               c != 'Q';
    }

    // Collects up to kMaxTokenLength letters from `word`, upper-cased, packed into `key` as
    // packWord packs them (a word longer than a keyword packs to nothing that is looked up), and
    // returns where the word ends. A "Q" directly followed by a digit after at least one letter
    // starts a parameter reference (FQ5 is F with the value of Q5), so it ends the word; Q inside
    // a word (SQRT, EQU) or at its start (Q5 = 1) is a letter.
    static const char* collectLetters(const char* word, const char* end, std::uint64_t& key) {
        const char* const stop = end - word > kMaxTokenLength ? word + kMaxTokenLength : end;
        const char* p = word;
        std::uint64_t packed = 0;
        for (; p < stop && isLetter(*p); ++p) {
            if (*p == 'Q' && p != word && p + 1 < end && isDigit(p[1])) break;
            // A letter is upper-cased by clearing its 0x20 bit.
            packed = (packed << 8) | (static_cast<unsigned char>(*p) & 0xDFu);
        }
        key = packed;
        return p;
    }

    // True when the collection of a number's characters would stop where the text read in place
    // stops (`stop`, before blanks): at the end of the line, at a character that ends it, or at a
    // ";" whose comment it takes (taken here). The cursor then goes behind the number.
    bool endsInPlace(std::string_view line, const char* stop, std::uint32_t& cursor) {
        const char* const end = lineEnd(line);
        const char* const next = skipSpaces(stop, end);
        if (next < end && !endsNumber(*next)) {
            if (*next != ';') return false;
            cursor = static_cast<std::uint32_t>(next - line.data());
            skipRestOfLine(line, cursor);
            return true;
        }
        cursor = static_cast<std::uint32_t>(next - line.data());
        return true;
    }

    // The word with code `firstCode` ended on the ";" at the cursor.
    std::int32_t readCommentChain(std::string_view line, std::uint32_t& cursor,
                                  std::int32_t firstCode);
    // The same with the corrected semantics: the rest of the line is the comment; `firstCode`.
    std::int32_t readComment(std::string_view line, std::uint32_t& cursor, std::int32_t firstCode);
    // A value that is not a number in one piece: a number collected over blanks and ";", a Q
    // reference, a quoted name, or nothing. The cursor is on the first character after blanks.
    double readOtherValue(std::string_view line, std::uint32_t& cursor);
    // Collects the number's characters, blanks skipped, "," read as ".", a ";" ending the line
    // as comment, a "Q" making it a reference, and reads the text collected.
    double collectNumber(std::string_view line, std::uint32_t& cursor);
    std::string numberText_;  // the number collectNumber gathers, reused
    // The value of Q parameter |number| (entered with 0 when missing), negated when asked.
    double parameter(double number, bool negated);

    ParamMap* params_;
    bool commentsAsComments_ = false;
};

}  // namespace morvane::HHParser
