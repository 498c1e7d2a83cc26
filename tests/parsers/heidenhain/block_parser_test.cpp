// The Heidenhain block parser beyond one line's words (parsers/blocks.txt has those): the line
// flags, polar moves, the datum shift, what a line leaves for the next, repeat counts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "parsers/heidenhain/block_parser.h"

namespace morvane::HHParser {
namespace {

void parse(BlockParser& parser, std::string_view line) {
    parser.beginLine();
    parser.parseLine(line);
}

TEST(LineFlags, TellWhatTheLineWas) {
    BlockParser parser;
    parse(parser, "CC X+0 Y+0");
    EXPECT_TRUE(parser.flags.centreBlock);
    parse(parser, "L X+1");
    EXPECT_FALSE(parser.flags.centreBlock);
    EXPECT_FALSE(parser.flags.arc);
    parse(parser, "C X+1 DR+");
    EXPECT_TRUE(parser.flags.arc);
    parse(parser, "CR X+1 R5 DR+");
    EXPECT_TRUE(parser.flags.arc);
    parse(parser, "CALL LBL 0");
    EXPECT_TRUE(parser.flags.stop);
    parse(parser, "CYCL DEF 7.2 Y+5");
    EXPECT_TRUE(parser.flags.datum);
    parse(parser, "Q5 = 1 ; depth");
    EXPECT_TRUE(parser.flags.parameterComment);
    EXPECT_TRUE(parser.lexer.commentFlag);
    EXPECT_EQ(parser.lexer.commentText, " depth");
    parse(parser, "BEGIN PGM PART1 MM");
    EXPECT_TRUE(parser.flags.message);
    EXPECT_FALSE(parser.lexer.commentFlag);
    EXPECT_EQ(parser.lexer.commentText, "PART1");
    parse(parser, "L X+1");
    EXPECT_EQ(parser.flags.message || parser.flags.parameterComment || parser.flags.stop ||
                  parser.flags.datum,
              false);
}

TEST(PolarMove, TurnsTheLastPositionAboutTheCircleCentre) {
    struct Case {
        double angle;
        double x, y;
    };
    const Case cases[] = {{90, 5, 6}, {-90, 5, -4}, {180, 0, 1}, {360, 10, 1}};
    for (const Case& c : cases) {
        BlockParser parser;
        parser.position = {10.0, 1.0, 0.0, 0.0, 0.0, 0.0};
        parser.centre = {5.0, 1.0, 0.0};
        parse(parser, "CP IPA" + std::to_string(c.angle) + " DR+");
        EXPECT_EQ(parser.blk.gcodes, std::vector<std::int32_t>{3});
        EXPECT_NEAR(parser.blk.getDouble(addr::X), c.x, 1e-9) << c.angle;
        EXPECT_NEAR(parser.blk.getDouble(addr::Y), c.y, 1e-9) << c.angle;
        EXPECT_TRUE(parser.flags.arc);
    }
}

TEST(PolarMove, WithoutAnAngleMovesNowhere) {
    BlockParser parser;
    parse(parser, "CP PA+90 DR+");
    EXPECT_TRUE(parser.flags.arc);
    EXPECT_FALSE(parser.blk.has(addr::X));
    EXPECT_TRUE(parser.blk.gcodes.empty());
    parse(parser, "CP IPA IZ-5 DR+");
    EXPECT_FALSE(parser.blk.has(addr::X));
    EXPECT_EQ(parser.blk.getDouble(addr::Z), -5.0);
}

TEST(DatumShift, IncrementalWordsAddToTheShiftInForce) {
    BlockParser parser;
    parser.position = {1.0, 2.0, 3.0, 0.0, 0.0, 0.0};
    parser.axes.values = {10.0, 20.0, 30.0, 40.0, 50.0, 60.0};
    parse(parser, "CYCL DEF 7.1 IX+5 IY+1 IZ+2 IA+1 IB+2 IC+3");
    const double expected[] = {15, 21, 32, 41, 52, 63};
    for (std::uint32_t k = 0; k < kAxisCount; ++k)
        EXPECT_EQ(parser.blk.getDouble(kAxisSlot[k]), expected[k]) << k;
}

TEST(RememberLine, CarriesCentrePositionAndDatumShift) {
    BlockParser parser;
    parse(parser, "CC X+5 Y+6");
    parser.rememberLine();
    EXPECT_EQ(parser.centre[0], 5.0);
    EXPECT_EQ(parser.centre[1], 6.0);
    EXPECT_TRUE(parser.centreGiven[0] && parser.centreGiven[1]);
    EXPECT_FALSE(parser.centreGiven[2]);
    EXPECT_EQ(parser.position[AxisX], 0.0);

    parse(parser, "L X+7 Z-2 B+30");
    parser.rememberLine();
    EXPECT_EQ(parser.position[AxisX], 7.0);
    EXPECT_EQ(parser.position[AxisY], 0.0);
    EXPECT_EQ(parser.position[AxisZ], -2.0);
    EXPECT_EQ(parser.position[AxisB], 30.0);
    EXPECT_FALSE(parser.axes.given[AxisX]);

    parse(parser, "CYCL DEF 7.1 X+12");
    parser.rememberLine();
    EXPECT_EQ(parser.axes.values[AxisX], 12.0);
    EXPECT_TRUE(parser.axes.given[AxisX]);
    EXPECT_FALSE(parser.axes.given[AxisY]);
    // Later lines use the remembered centre and position.
    parse(parser, "L IX+1");
    EXPECT_EQ(parser.blk.getDouble(addr::X), 13.0);
}

TEST(RepeatCount, EveryCountSurvivesTheThousandthsOfTheLabel) {
    // The run decodes the count as ((L - label) * 10000 + 0.5 truncated) / 10000 * 1000.
    for (const char* label : {"1", "5", "999", "123456", "2000000000"}) {
        for (int count = 0; count <= kMaxRepeatCount; ++count) {
            BlockParser parser;
            parse(parser, std::string("CALL LBL ") + label + " REP " + std::to_string(count));
            const double l = parser.blk.getDouble(addr::L);
            const auto n = static_cast<std::int32_t>(l);
            ASSERT_EQ(std::to_string(n), label);
            const auto tenThousandths = static_cast<std::int32_t>((l - n) * 10000 + 0.5);
            ASSERT_EQ(static_cast<std::int32_t>(tenThousandths / 10000.0 * 1000), count) << label;
        }
    }
}

TEST(ParseLineLimits, AVeryLongWordIsReadInPiecesOf255Letters) {
    BlockParser parser;
    parse(parser, std::string(100000, 'L'));
    EXPECT_TRUE(parser.blk.gcodes.empty());
}

}  // namespace
}  // namespace morvane::HHParser
