// The conversational keyword and value readers at their bounds, and what they leave in the
// parameter table; the words, numbers, references and names they read are rows of
// parsers/words.txt.
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

// What the readers make of a word, a number, a reference or a name: parsers/words.txt.

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
