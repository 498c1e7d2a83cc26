// The G-code reader: consumes one line left to right with two readers called in turn, one for
// the address word (letters, mapped to an address index) and one for the number behind it.
// Comments met anywhere on the way are collected into the comment text.
//
// Both readers skip white space and comments, also in the middle of a word or a number: "X Y10"
// is the word XY, "X1 0" is X 10 and "X-(note)5" is X -5 with the comment "note". Nothing here
// allocates once the comment text has grown to the longest comment of the program.
//
// The readers also keep what the block parser needs to say what a line loses (where the text
// left unread begins, the numbers read not in full); they keep it only where reading leaves its
// usual path, so the usual word costs next to nothing more.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "parsers/iso/dialect.h"
#include "parsers/nc_text.h"

namespace morvane::iso {

// A word is cut after this many letters; the rest starts the next word (no address is that
// long). Numbers are read whole, however long.
inline constexpr std::size_t kMaxTokenLength = 255;

using nctext::decimalPrefixValue;

class GCodeReader {
  public:
    explicit GCodeReader(const Dialect& dialect) : dialect_(&dialect) {}

    // Reads an address word at `cursor` and returns its index, or -1 when the word is empty
    // (a digit or another character that cannot start a word, or the end of the line) or not in
    // the dialect's address table. The cursor ends on the character that stopped the word.
    std::int32_t readAddress(std::string_view line, std::size_t& cursor);

    // Reads the number at `cursor`; 0.0 when no number follows (nothing is consumed then).
    double readNumber(std::string_view line, std::size_t& cursor);

    // After readAddress returned -1: where the text it leaves unread begins (the character that
    // cannot start a word, or the first letter of a word the dialect does not know); the line's
    // length when nothing is left.
    std::size_t unreadFrom() const { return unreadFrom_; }
    // The letters of the word readAddress did not know, until the next readAddress.
    std::string_view unknownWord() const { return {word_, unknownLength_}; }
    // Where a mark that drops the rest of the line (Fanuc's ";" and "/") was met since
    // startLine(); npos when none was.
    std::size_t droppedFrom() const { return droppedFrom_; }
    void startLine() { droppedFrom_ = std::string_view::npos; }
    // Numbers so far whose value does not stand for their whole text: missing (read as 0), a
    // sign or point without digits ("X- Y5"), characters after the valid number ("1,5"). The
    // text of the last one (blanks and comments left out; empty when the number was missing)
    // is kept until the next readNumber.
    std::uint32_t lostNumbers() const { return lostNumbers_; }
    std::string_view lastLostNumber() const { return lost_; }

    // Reads a parenthesised comment; `cursor` is on the "(". Nested parentheses stay in the
    // text; an unclosed comment runs to the end of the line.
    void readComment(std::string_view line, std::size_t& cursor);
    // readNumber for a number with blanks, comments or a block-skip mark inside it, from its
    // first character at `cursor`: collects its characters and converts them.
    double readSplitNumber(std::string_view line, std::size_t& cursor);

    // When the character at `cursor` is `marker`, everything after it is comment text and the
    // cursor moves to the end of the line; otherwise nothing happens.
    void readRestOfLine(std::string_view line, std::size_t& cursor, char marker);

    // The comments of the current line, appended to each other without a separator.
    const std::string& comment() const { return comment_; }
    // True once any comment (an empty one too) was read on the current line.
    bool hasComment() const { return hasComment_; }
    void clearComment() {
        comment_.clear();
        hasComment_ = false;
    }

    const Dialect& dialect() const { return *dialect_; }

  private:
    // Applies what `mark` says about the character at `cursor`; true when the token ends here.
    bool applyMark(Mark mark, std::string_view line, std::size_t& cursor);
    std::int32_t lookUp(std::string_view word) const;
    // Counts a number read not in full, and keeps its text.
    void noteLost(std::string_view text);

    const Dialect* dialect_;
    std::string comment_;
    std::string numberText_;  // a number collected across blanks or comments, reused
    bool hasComment_ = false;
    char word_[kMaxTokenLength];  // the letters of the word being read
    std::size_t unknownLength_ = 0;
    std::size_t unreadFrom_ = 0;
    std::size_t droppedFrom_ = std::string_view::npos;
    std::uint32_t lostNumbers_ = 0;
    std::string_view lost_;
};

}  // namespace morvane::iso
