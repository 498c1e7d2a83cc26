// The G-code reader: the word and number readers of each dialect, comments.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "parsers/iso/gcode_reader.h"

namespace morvane::iso {
namespace {

// The cursor and the comment a reader call leaves; `comment` null: no comment was read.
void expectReaderState(const GCodeReader& reader, std::size_t cursor, std::size_t cursorAfter,
                       const char* comment, const std::string& where) {
    EXPECT_EQ(cursor, cursorAfter) << where;
    EXPECT_EQ(reader.hasComment(), comment != nullptr) << where;
    EXPECT_EQ(reader.comment(), comment != nullptr ? comment : "") << where;
}

template <class Case>
std::string where(const Case& c) {
    return std::string(c.dialect->name) + " [" + c.line + "]";
}

// One number read from a given cursor.
struct NumberCase {
    const Dialect* dialect;
    const char* line;
    std::size_t start;
    double value;
    std::size_t cursorAfter;
    const char* comment;  // null: no comment was read
};

TEST(ReadNumber, ReadsTheNumberAndSkipsBlanksAndComments) {
    const NumberCase cases[] = {
        {&kFanuc, "10", 0, 10.0, 2, nullptr},
        {&kFanuc, "  -3.5 Y", 0, -3.5, 7, nullptr},  // trailing blanks belong to the number
        {&kFanuc, "1 0", 0, 10.0, 3, nullptr},
        {&kFanuc, "-(note)5", 0, -5.0, 8, "note"},
        {&kFanuc, "Y5", 0, 0.0, 0, nullptr},  // no number: nothing consumed
        {&kFanuc, "", 0, 0.0, 0, nullptr},
        {&kFanuc, "   ", 0, 0.0, 3, nullptr},
        {&kFanuc, ",5", 0, 0.0, 2, nullptr},  // collected, but no valid prefix
        {&kFanuc, "1,5", 0, 1.0, 3, nullptr},
        {&kFanuc, "5/7", 0, 5.0, 3, nullptr},  // block skip mark: rest ignored
        {&kFanuc, "5;7", 0, 5.0, 1, nullptr},  // the word reader deals with ";"
        {&kFanuc, "=5", 0, 0.0, 0, nullptr},
        {&kFanuc, "(5", 0, 0.0, 0, nullptr},
        {&kSinumerik, "=5", 0, 5.0, 2, nullptr},
        {&kSinumerik, "(3)", 0, 3.0, 2, nullptr},  // TC(3): the ")" is left
        {&kSinumerik, " =12.5", 0, 12.5, 6, nullptr},
        {&kSinumerik, "= 12.5", 0, 0.0, 1, nullptr},  // the number must follow the "=" at once
        {&kSinumerik, "==5", 0, 0.0, 1, nullptr},     // only one "=" is skipped
        {&kSinumerik, "5/ rest", 0, 5.0, 7, " rest"},
        {&kSinumerik, "5!x", 0, 5.0, 1, nullptr},
        {&kNumeripath, "5/ rest", 0, 5.0, 7, " rest"},
        {&kNumeripath, "=5", 0, 0.0, 0, nullptr},
        {&kNumeripath, "5!x", 0, 5.0, 1, nullptr},  // the word reader deals with "!"
        {&kFanuc, "X12.5", 1, 12.5, 5, nullptr},
        // A number followed (after blanks) by a letter ends there; anything else may continue it.
        {&kFanuc, "12.5Y3", 0, 12.5, 4, nullptr},
        {&kFanuc, "1.5 1Y", 0, 1.51, 5, nullptr},
        {&kFanuc, "7 (c) 5", 0, 75.0, 7, "c"},
        {&kFanuc, "12345678901234567890X", 0, 12345678901234567890.0, 20, nullptr},
    };
    for (const NumberCase& c : cases) {
        GCodeReader reader(*c.dialect);
        std::size_t cursor = c.start;
        EXPECT_EQ(reader.readNumber(c.line, cursor), c.value) << where(c);
        expectReaderState(reader, cursor, c.cursorAfter, c.comment, where(c));
    }
}

TEST(ReadNumber, ReadsNumbersOfAnyLength) {
    const std::string zeros(300, '0');
    const std::pair<std::string, double> cases[] = {
        {zeros + "15", 15.0},
        {"0." + zeros + "5", 5e-301},
        {std::string(300, '1'), 1.1111111111111111e299},
        {"-" + std::string(400, '9'), -std::numeric_limits<double>::max()},  // beyond a double
        {"0." + std::string(400, '0') + "1", 0.0},                             // below one
        {"1" + zeros + " (a comment inside) 5", 1e301},  // collected across the comment
    };
    for (const auto& [text, value] : cases) {
        GCodeReader reader(kFanuc);
        std::size_t cursor = 0;
        EXPECT_DOUBLE_EQ(reader.readNumber(text, cursor), value) << text.substr(0, 20);
        EXPECT_EQ(cursor, text.size()) << text.substr(0, 20);
    }
}

// One address read from the start of a line.
struct AddressCase {
    const Dialect* dialect;
    const char* line;
    std::int32_t index;
    std::size_t cursorAfter;
    const char* comment;
};

TEST(ReadAddress, MapsWordsToAddressIndicesPerDialect) {
    const AddressCase cases[] = {
        {&kFanuc, "G1", 6, 1, nullptr},
        {&kFanuc, "g1", 6, 1, nullptr},  // upper-cased
        {&kFanuc, "z-5", 25, 1, nullptr},
        {&kFanuc, "X Y10", -1, 3, nullptr},  // the word XY is not an address
        {&kFanuc, "  N10", 13, 3, nullptr},
        {&kFanuc, "(HEAD)X1", 23, 7, "HEAD"},
        {&kFanuc, "X(A)(B)1", 23, 7, "AB"},
        {&kFanuc, "10", -1, 0, nullptr},  // a digit cannot start a word
        {&kFanuc, "", -1, 0, nullptr},
        {&kFanuc, "#100=5", -1, 0, nullptr},
        {&kFanuc, "; RAPID", -1, 7, nullptr},  // rest of line ignored, no comment
        {&kFanuc, "/N20 G0", -1, 7, nullptr},  // block skip: the whole line
        {&kFanuc, "!X", -1, 0, nullptr},
        {&kFanuc, "%", -1, 0, nullptr},
        {&kFanuc, "$1", -1, 0, nullptr},
        {&kFanuc, "LF", -1, 2, nullptr},  // no keywords in the Fanuc table
        {&kFanuc, "TC(3)", -1, 5, "3"},
        {&kSiemens, "CR=5", -1, 2, nullptr},
        {&kSinumerik, "LF", 29, 2, nullptr},
        {&kSinumerik, "tc(3)", 30, 2, nullptr},  // the parenthesis stays for the number
        {&kSinumerik, "TC (3)", 30, 3, nullptr},
        {&kSinumerik, "TCX(3)", -1, 3, nullptr},  // letters beginning with TC stop too
        {&kSinumerik, "T(tool)5", 19, 7, "tool"},
        {&kSinumerik, "LIMS=3000", 31, 4, nullptr},
        {&kSinumerik, "CR=12.5", 32, 2, nullptr},
        {&kSinumerik, "; RAPID", -1, 7, " RAPID"},
        {&kSinumerik, "/N20 G0 X5", -1, 10, "N20 G0 X5"},
        {&kSinumerik, "X;c", 23, 3, "c"},  // the comment does not split the word
        {&kSinumerik, "!X", -1, 0, nullptr},
        {&kSinumerik, "MSG(DONE)", -1, 9, "DONE"},
        {&kSinumerik, "CYCLE81(1)", -1, 5, nullptr},
        {&kNumeripath, "LF", 29, 2, nullptr},
        {&kNumeripath, "TC", -1, 2, nullptr},
        {&kNumeripath, "LIMS", -1, 4, nullptr},
        {&kNumeripath, "! FAST", -1, 6, " FAST"},
        {&kNumeripath, "; FAST", -1, 0, nullptr},  // ";" only ends the word
        {&kNumeripath, "/N20", -1, 4, "N20"},
        {&kNumeripath, "TC(3)", -1, 5, "3"},
    };
    for (const AddressCase& c : cases) {
        GCodeReader reader(*c.dialect);
        std::size_t cursor = 0;
        EXPECT_EQ(reader.readAddress(c.line, cursor), c.index) << where(c);
        expectReaderState(reader, cursor, c.cursorAfter, c.comment, where(c));
    }
}

TEST(ReadAddress, CutsAWordAfter255LettersAndGoesOnWithTheRest) {
    GCodeReader reader(kFanuc);
    const std::string line = std::string(255, 'A') + "X5";
    std::size_t cursor = 0;
    EXPECT_EQ(reader.readAddress(line, cursor), -1);
    EXPECT_EQ(cursor, 255u);
    EXPECT_EQ(reader.readAddress(line, cursor), static_cast<std::int32_t>(addr::X));
    EXPECT_EQ(reader.readNumber(line, cursor), 5.0);
}

struct CommentCase {
    const char* line;
    const char* text;
    std::size_t cursorAfter;
};

TEST(ReadComment, KeepsNestedParenthesesAndRunsToTheEndWhenUnclosed) {
    const CommentCase cases[] = {
        {"(ABC)X", "ABC", 5}, {"(A(B)C)X", "A(B)C", 7}, {"(ABC", "ABC", 4},  {"()", "", 2},
        {"(", "", 1},         {"(A(B", "A(B", 4},       {"((A))", "(A)", 5}, {"(A))", "A", 3},
    };
    for (const CommentCase& c : cases) {
        GCodeReader reader(kFanuc);
        std::size_t cursor = 0;
        reader.readComment(c.line, cursor);
        EXPECT_TRUE(reader.hasComment()) << c.line;
        EXPECT_EQ(reader.comment(), c.text) << c.line;
        EXPECT_EQ(cursor, c.cursorAfter) << c.line;
    }
}

// Several comments of one line, and the rest of a line after ";", "!" or "/", as the block
// parser meets them: tests/parsers/iso/block_parser_test.cpp.

}  // namespace
}  // namespace morvane::iso
