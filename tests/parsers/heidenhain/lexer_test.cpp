// The conversational keyword and value readers: keyword table, word boundaries, comments behind
// ";", numbers with blanks, commas and Q references, quoted label names.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <string>

#include "parsers/heidenhain/keyword_table.h"
#include "parsers/heidenhain/lexer.h"

namespace morvane::HHParser {
namespace {

TEST(KeywordTable, MatchesWholeWordsOnly) {
    for (std::string_view word :
         {"", "FM", "FMA", "TOOLCAL", "DEPT", "ANGL", "XY", "FQ", "l", "fmax"})
        EXPECT_EQ(keywordCode(word), kw::None) << word;
}

template <typename T>
std::string caseName(const testing::TestParamInfo<T>& param) {
    return "Case" + std::to_string(param.index);
}

struct KeywordCase {
    const char* line;
    std::int32_t code;
    std::uint32_t cursorAfter;
    const char* comment;  // nullptr: no comment read
};

class ReadKeyword : public testing::TestWithParam<KeywordCase> {};

TEST_P(ReadKeyword, ReturnsTheCodeAndLeavesTheCursorBehindTheWord) {
    const KeywordCase& c = GetParam();
    ParamMap params;
    Lexer lexer(params);
    std::uint32_t cursor = 0;
    EXPECT_EQ(lexer.readKeyword(c.line, cursor), c.code);
    EXPECT_EQ(cursor, c.cursorAfter);
    EXPECT_EQ(lexer.commentFlag, c.comment != nullptr);
    EXPECT_EQ(lexer.commentText, c.comment != nullptr ? c.comment : "");
}

INSTANTIATE_TEST_SUITE_P(
    Words, ReadKeyword,
    testing::Values(
        KeywordCase{"L X+10,5", kw::L, 1, nullptr}, KeywordCase{"FMAX", kw::FMAX, 4, nullptr},
        KeywordCase{"fmax M3", kw::FMAX, 4, nullptr}, KeywordCase{"DEPTH-5", kw::DEPTH, 5, nullptr},
        KeywordCase{"TOOLCALL 5", kw::TOOLCALL, 8, nullptr},
        KeywordCase{"TOOL CALL 5", kw::TOOL, 4, nullptr},
        // FQ5 is F followed by the value of Q5.
        KeywordCase{"FQ5", kw::F, 1, nullptr}, KeywordCase{"RQ1832", kw::R, 1, nullptr},
        KeywordCase{"Q5 = 1", kw::Q, 1, nullptr},
        // Q inside a word is a letter.
        KeywordCase{"SQRT Q4", kw::SQRT, 4, nullptr}, KeywordCase{"EQU", kw::EQU, 3, nullptr},
        // Letters only: a blank or digit ends the word; an unknown word gives 0.
        KeywordCase{"XY10", kw::None, 2, nullptr}, KeywordCase{"5 L", kw::None, 0, nullptr},
        KeywordCase{" L", kw::None, 0, nullptr}, KeywordCase{"", kw::None, 0, nullptr}),
    caseName<KeywordCase>);

// One-letter words, in either case, at the end of the line or before a number, a blank, a sign,
// a semicolon; letters that are no word alone.
INSTANTIATE_TEST_SUITE_P(
    OneLetter, ReadKeyword,
    testing::Values(KeywordCase{"x+5", kw::X, 1, nullptr}, KeywordCase{"l", kw::L, 1, nullptr},
                    KeywordCase{"Z", kw::Z, 1, nullptr}, KeywordCase{"F 100", kw::F, 1, nullptr},
                    KeywordCase{"q5", kw::Q, 1, nullptr}, KeywordCase{"m;x", kw::M, 3, "x"},
                    KeywordCase{"G1", kw::None, 1, nullptr}, KeywordCase{"k", kw::None, 1, nullptr},
                    KeywordCase{"@X", kw::None, 0, nullptr},
                    KeywordCase{"\xC9X", kw::None, 0, nullptr}),
    caseName<KeywordCase>);

INSTANTIATE_TEST_SUITE_P(
    Semicolons, ReadKeyword,
    testing::Values(KeywordCase{"X;abc", kw::X, 5, "abc"},
                    KeywordCase{";hello world", kw::None, 12, "hello world"},
                    KeywordCase{"; hello", kw::None, 7, " hello"},
                    // A commented-out tool call is still read: TOOL, the cursor behind it.
                    KeywordCase{"; TOOL CALL 3 Z S1000", kw::TOOL, 6, nullptr},
                    KeywordCase{"L;TOOL", kw::TOOL, 6, nullptr},
                    KeywordCase{";TOOLS", kw::None, 6, "TOOLS"},
                    // TOOL inside a chain of comments: the comment starts behind its ";".
                    KeywordCase{";TOOL;x", kw::TOOL, 7, "x"}, KeywordCase{"M;A;B", kw::M, 5, "A;B"},
                    KeywordCase{";;;;", kw::None, 4, ";;;"}),
    caseName<KeywordCase>);

TEST(ReadKeywordLimits, CutsWordsAfter255Letters) {
    ParamMap params;
    Lexer lexer(params);
    const std::string line = std::string(255, 'A') + "L";
    std::uint32_t cursor = 0;
    EXPECT_EQ(lexer.readKeyword(line, cursor), kw::None);
    EXPECT_EQ(cursor, 255u);
    EXPECT_EQ(lexer.readKeyword(line, cursor), kw::L);
    EXPECT_EQ(cursor, 256u);
}

TEST(ReadKeywordLimits, ReadsALongChainOfSemicolonsWithoutNesting) {
    ParamMap params;
    Lexer lexer(params);
    const std::string line = std::string(1'000'000, ';') + "TOOL";
    std::uint32_t cursor = 0;
    EXPECT_EQ(lexer.readKeyword(line, cursor), kw::TOOL);
    EXPECT_EQ(cursor, line.size());
}

struct ValueCase {
    const char* line;
    double value;  // NaN: no value
    std::uint32_t cursorAfter;
    const char* comment;
};

class ReadValue : public testing::TestWithParam<ValueCase> {};

TEST_P(ReadValue, ReadsNumbersReferencesAndNames) {
    const ValueCase& c = GetParam();
    ParamMap params{{1, 4.0}, {5, 25.5}, {339, 2.0}};
    Lexer lexer(params);
    std::uint32_t cursor = 0;
    const double v = lexer.readValue(c.line, cursor);
    if (std::isnan(c.value)) {
        EXPECT_TRUE(std::isnan(v)) << v;
    } else {
        EXPECT_EQ(v, c.value);
        EXPECT_EQ(std::signbit(v), std::signbit(c.value));
    }
    EXPECT_EQ(cursor, c.cursorAfter);
    EXPECT_EQ(lexer.commentText, c.comment != nullptr ? c.comment : "");
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Numbers, ReadValue,
    testing::Values(ValueCase{"+10,5 Y-3", 10.5, 6, nullptr}, ValueCase{" + 10", 10.0, 5, nullptr},
                    ValueCase{"1 0", 10.0, 3, nullptr}, ValueCase{"-3", -3.0, 2, nullptr},
                    ValueCase{".5", 0.5, 2, nullptr}, ValueCase{"-94.", -94.0, 4, nullptr},
                    ValueCase{"-0", -0.0, 2, nullptr},
                    // The longest valid prefix counts; a text without one is 0.
                    ValueCase{"1-2", 1.0, 3, nullptr}, ValueCase{"--5", 0.0, 3, nullptr},
                    ValueCase{"+-5", 0.0, 3, nullptr}, ValueCase{"-", 0.0, 1, nullptr},
                    ValueCase{",", 0.0, 1, nullptr}, ValueCase{"25/25", 25.0, 2, nullptr},
                    ValueCase{"5q", 5.0, 1, nullptr}, ValueCase{"30 ; end", 30.0, 8, " end"},
                    ValueCase{"-2.5;x;y", -2.5, 8, "x;y"}, ValueCase{"2,5;x", 2.5, 5, "x"},
                    // In one piece up to a letter, after blanks or not; a Q after blanks
                    // still joins the number (3 Q1 is Q31, never set).
                    ValueCase{"12.5 Y3", 12.5, 5, nullptr}, ValueCase{"-7.25X", -7.25, 5, nullptr},
                    ValueCase{"12.5   ", 12.5, 7, nullptr}, ValueCase{"3 Q1", 0.0, 4, nullptr}),
    caseName<ValueCase>);

INSTANTIATE_TEST_SUITE_P(
    References, ReadValue,
    testing::Values(ValueCase{"Q5", 25.5, 2, nullptr}, ValueCase{"+Q5", 25.5, 3, nullptr},
                    // A minus before Q negates the parameter.
                    ValueCase{"-Q5", -25.5, 3, nullptr}, ValueCase{"- Q5 F", -25.5, 5, nullptr},
                    ValueCase{"Q4.6", 25.5, 4, nullptr}, ValueCase{"Q339", 2.0, 4, nullptr},
                    ValueCase{"Q7", 0.0, 2, nullptr}, ValueCase{"Q1;x", 4.0, 4, "x"},
                    // Blanks after the number are passed; what follows a reference decides
                    // whether it is complete or collects more characters.
                    ValueCase{"-Q4.6 Y", -25.5, 6, nullptr}, ValueCase{"Q1  X", 4.0, 4, nullptr},
                    ValueCase{"Q0001", 4.0, 5, nullptr}, ValueCase{"+Q1 ;c", 4.0, 6, "c"},
                    // A sign behind Q still negates; digits after blanks join the number.
                    ValueCase{"Q-5", -25.5, 3, nullptr}, ValueCase{"Q 5", 25.5, 3, nullptr},
                    ValueCase{"Q5 3", 0.0, 4, nullptr}, ValueCase{"-Q1,", -4.0, 4, nullptr},
                    ValueCase{"Q5Q1", 0.0, 4, nullptr}),
    caseName<ValueCase>);

INSTANTIATE_TEST_SUITE_P(
    NamesAndNothing, ReadValue,
    testing::Values(ValueCase{"\"A\"", 65.0, 3, nullptr},
                    ValueCase{"\"AB\" REP", 131.0, 4, nullptr},
                    ValueCase{"\"AB", 131.0, 3, nullptr}, ValueCase{"\"\xE9\"", -23.0, 3, nullptr},
                    ValueCase{"\"\"", 0.0, 2, nullptr},
                    // No value: NaN, the cursor stays on the letter (blanks before it skipped).
                    ValueCase{"Y", kNaN, 0, nullptr}, ValueCase{"  Y+5", kNaN, 2, nullptr},
                    ValueCase{"q5", kNaN, 0, nullptr}, ValueCase{"=5", kNaN, 0, nullptr},
                    ValueCase{"", kNaN, 0, nullptr}, ValueCase{"   ", kNaN, 3, nullptr}),
    caseName<ValueCase>);

TEST(ReadValueDetails, EntersAMissingParameterWithZero) {
    ParamMap params;
    Lexer lexer(params);
    std::uint32_t cursor = 0;
    EXPECT_EQ(lexer.readValue("Q12", cursor), 0.0);
    ASSERT_EQ(params.count(12), 1u);
    EXPECT_EQ(params[12], 0.0);
}

TEST(ReadValueDetails, ReadsANumberWholeHoweverLong) {
    ParamMap params;
    Lexer lexer(params);
    const std::string line = "1" + std::string(299, '0') + " 5";
    std::uint32_t cursor = 0;
    EXPECT_DOUBLE_EQ(lexer.readValue(line, cursor), 1e300);
    EXPECT_EQ(cursor, line.size());
}

TEST(ReadValueDetails, HugeReferenceNumbersSaturateTheIndex) {
    ParamMap params;
    Lexer lexer(params);
    std::uint32_t cursor = 0;
    EXPECT_EQ(lexer.readValue("Q99999999999999999999", cursor), 0.0);
    EXPECT_EQ(params.count(INT32_MAX), 1u);
}

// Whether a number follows a word, and the comment behind ";" at the end of a line, as the block
// parser meets them: tests/parsers/blocks.txt.

}  // namespace
}  // namespace morvane::HHParser
