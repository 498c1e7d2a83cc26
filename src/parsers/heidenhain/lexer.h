// Reading a Heidenhain conversational line: keywords and the values behind them.
//
// There is no token stream: the block parser walks a line with a cursor (a byte offset that the
// caller owns) and calls readKeyword and readValue alternately. None of the readers changes the
// line; all of them stop at its end.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "nci/block.h"
#include "parsers/nc_text.h"

namespace morvane::HHParser {

// Longest word or number text taken in one piece; the rest is read as the next word or ends
// the number.
inline constexpr std::uint32_t kMaxTokenLength = 255;

using nctext::isDigit;
using nctext::isLetter;
using nctext::isNumberChar;
using nctext::isSpace;
using nctext::toUpper;

// The keyword and value readers with the comment text they collect for the current line. Q
// references in values are read from the parameter table given at construction.
class Lexer {
  public:
    explicit Lexer(ParamMap& params) : params_(&params) {}

    // Starts a new line: no comment read yet.
    void beginLine() {
        commentText.clear();
        commentFlag = false;
    }

    // Reads a word of letters (upper-cased) and returns its keyword code, 0 for an empty word or
    // one that is not a keyword. A ";" ends the word and turns the rest of the line into comment
    // text, except that a commented-out TOOL word right behind the ";" is still read as TOOL.
    std::int32_t readKeyword(std::string_view line, std::uint32_t& cursor);

    // Reads a number (blanks inside it allowed, "," as decimal point, "Q" making it a parameter
    // reference), or a quoted name (the sum of its character codes). NaN when neither follows;
    // the cursor then stays on the character that is not a value.
    double readValue(std::string_view line, std::uint32_t& cursor);

    // Skips blanks; true when a number starts at the cursor (not consumed).
    static bool numberFollows(std::string_view line, std::uint32_t& cursor);
    static void skipSpaces(std::string_view line, std::uint32_t& cursor);
    // Skips the block number at the start of a line (digits, blanks, signs, decimal points).
    static void skipBlockNumber(std::string_view line, std::uint32_t& cursor);
    // On a ";", the rest of the line becomes the comment text; the cursor goes to the end of the
    // line in every case.
    void skipRestOfLine(std::string_view line, std::uint32_t& cursor);

    std::string commentText;   // text behind the ";" of the current line, or a program name
    bool commentFlag = false;  // a ";" comment was read on the current line

  private:
    double readNumber(std::string_view line, std::uint32_t& cursor);
    std::uint32_t collectLetters(std::string_view line, std::uint32_t& cursor,
                                 std::uint64_t& key) const;

    ParamMap* params_;
};

}  // namespace morvane::HHParser
