// One conversational line at a time into the ISO-style block: the code list, exactly the words
// that are set (with their kind), the line flags and the Q parameters.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "parsers/heidenhain/block_parser.h"
#include "support/block_words.h"

namespace morvane::HHParser {
namespace {

// A line and the block it leaves, as test::blockWords writes it: "G0 G40 X10 Y5".
struct BlockCase {
    const char* line;
    const char* words;
};

// A parser in the middle of a program: at X10 Y20 Z30, Q1 = 4, circle centre X0 Y0.
void prepare(BlockParser& parser) {
    parser.position = {10.0, 20.0, 30.0, 0.0, 0.0, 0.0};
    parser.params[1] = 4.0;
}

void parse(BlockParser& parser, std::string_view line) {
    parser.beginLine();
    parser.parseLine(line);
}

class ParseLine : public testing::TestWithParam<BlockCase> {};

TEST_P(ParseLine, FillsTheBlock) {
    BlockParser parser;
    prepare(parser);
    parse(parser, GetParam().line);
    EXPECT_EQ(test::blockWords(parser.blk), GetParam().words);
}

std::string caseName(const testing::TestParamInfo<BlockCase>& param) {
    return "Case" + std::to_string(param.index);
}

INSTANTIATE_TEST_SUITE_P(
    StraightMoves, ParseLine,
    testing::Values(
        // FMAX turns the linear code into rapid; R0 cancels the radius compensation.
        BlockCase{"7 L X+10 Y+5 R0 FMAX", "G0 G40 X10 Y5"},
        BlockCase{"L X+10 Y+5 FMAX L", "G0 G1 X10 Y5"}, BlockCase{"L FMAX", "G0"},
        BlockCase{"L Z+100 F MAX", "G0 Z100"}, BlockCase{"8 LX+20", "G1 X20"},
        BlockCase{"LIX+5", "G1 X15"}, BlockCase{"L IX+5 IY-2 IZ+1", "G1 X15 Y18 Z31"},
        BlockCase{"L X+10,5 Y-3 FMAX", "G0 X10.5 Y-3"},
        BlockCase{"+12. L X + 1 0 F250", "G1 F250 X10"},
        // An axis letter with no number behind it sets nothing.
        BlockCase{"L X Y+5", "G1 Y5"}, BlockCase{"L X+Q1 Y-Q1 FQ1", "G1 F4 X4 Y-4"},
        BlockCase{"L A+90 B-45 C+10", "G1 A90 B-45 C10"}, BlockCase{"L B", "G1"},
        BlockCase{"L IA+10 IC+5", "G1 A10 C5"}, BlockCase{"L M3 M8", "G1 M#8"},
        BlockCase{"L Z+50 FMAX M91", "G0 M#91 Z50"}, BlockCase{"L M", "G1"},
        BlockCase{"L X+1 S2500.4 T3", "G1 S2500.4 T#3 X1"},
        // Radius compensation and the words without an action end the line.
        BlockCase{"L X+1 RL F100", "G1 X1"}, BlockCase{"L X+1 APPR F100", "G1 X1"},
        BlockCase{"L X+1 ; move", "G1 X1"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Circles, ParseLine,
    testing::Values(BlockCase{"9 CC X+0 Y+0", "I0 J0"}, BlockCase{"CC X+5 Y+6 Z-1", "I5 J6 K-1"},
                    BlockCase{"CCX+3 CCY+4", "I3 J4"}, BlockCase{"CC IX+5 IY+0", "I15 J20"},
                    BlockCase{"10 C X+10 Y+0 DR-", "G2 X10 Y0"},
                    BlockCase{"C X+10 Y+0 DR+ F200", "G3 F200 X10 Y0"},
                    BlockCase{"CX+5 DR-", "G2 X5"}, BlockCase{"C DR+", "G3"},
                    BlockCase{"CR X+10 Y+5 R+20 DR-", "G2 R20 X10 Y5"},
                    // DR without C, CR or CP: nothing, and its sign ends the line.
                    BlockCase{"L X+10 DR- Y+5", "G1 X10"},
                    // DR with anything but a sign behind it ends the line.
                    BlockCase{"C X+1 DR F5", "X1"}, BlockCase{"RND R2", "G25 R2"},
                    BlockCase{"CHF 3", "G24 R3"}, BlockCase{"L X+1 R+0.00000000001", "G1 G40 X1"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    ToolsAndCalls, ParseLine,
    testing::Values(
        // The Z (spindle axis) has a letter behind it: no Z.
        BlockCase{"11 TOOL CALL 3 Z S4000", "M#6 S4000 T#3"},
        BlockCase{"TOOL CALL 2.6 Z", "M#6 T#3"}, BlockCase{"TOOLCALL 7", "M#6 T#7"},
        BlockCase{"; TOOL CALL 3 Z S1000", "M#6 S1000 T#3"},
        BlockCase{"TOOL CALL Z S1000", "S1000"},
        // TOOL DEF n is skipped; what follows is read as usual.
        BlockCase{"TOOL DEF 5 L+0 R+3", "G1"},
        // A tool table line: tool data (99) once the D is reached.
        BlockCase{"TOOL 5 L+10 D 6", "G99 D6 M#6 T#5"},
        // Blanks inside a number are skipped, so no second value follows: no D.
        BlockCase{"TOOL D 5 8", "G99 M#6 T#58"}, BlockCase{"TOOL 5 L+10", ""},
        BlockCase{"12 CALL LBL 5 REP 2", "L5.002 M#98"}, BlockCase{"CALL LBL 5", "L5.001 M#98"},
        BlockCase{"CALL LBL 5 REP 25/25", "L5.025 M#98"},
        BlockCase{"CALL LBL \"A\"", "L65.001 M#98"},
        // Repeat counts stay within the thousandths: the label never changes.
        BlockCase{"CALL LBL 5 REP 2000", "L5.999 M#98"}, BlockCase{"CALL LBL 5 REP -3", "L5 M#98"},
        BlockCase{"REP 3", ""}, BlockCase{"CALL LBL 0", ""}, BlockCase{"CALL PGM TNC:\\Plan.h", ""},
        BlockCase{"CYCL CALL", "M#99"}, BlockCase{"L X+5 Y+5 FMAX M99", "G0 M#99 X5 Y5"},
        BlockCase{"LBL 5", ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    ProgramFrame, ParseLine,
    testing::Values(BlockCase{"0 BEGIN PGM PART1 MM", "G1050 G21"},
                    BlockCase{"BEGIN PGM X INCH", "G1050 G20"},
                    BlockCase{"BEGIN PGM SP1 1002 MM", "G1050"},
                    BlockCase{"1 BLK FORM 0.1 Z X+0 Y+0 Z-40", "G30 X0 Y0 Z-40"},
                    BlockCase{"2 BLK FORM 0.2 X+100 Y+100 Z+0", "G31 X100 Y100 Z0"},
                    BlockCase{"DWELL 2.5", "F2.5"}, BlockCase{"SCL 0.5", "F0.5"},
                    BlockCase{"ROT 45", "H45"}, BlockCase{"ANGLE 30", "A30"},
                    BlockCase{"FN 0: Q1 = 5", ""}, BlockCase{"Q339 = 1", "G247"},
                    BlockCase{"Q5 = SQRT Q4", ""}, BlockCase{"END PGM PART1 MM", ""},
                    BlockCase{"", ""}, BlockCase{"   ", ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    CycleDefinitions, ParseLine,
    testing::Values(
        BlockCase{"CYCL DEF 200 DRILLING", "G200"}, BlockCase{"CYCL DEF 1.0 PECKING", ""},
        BlockCase{"CYCL DEF 1.5 F100", "G1001"}, BlockCase{"CYCL DEF 3.6 F120", "G1003"},
        BlockCase{"CYCL DEF 4.6 F80", "G1004"}, BlockCase{"CYCL DEF 5.5 F100", "G1005"},
        BlockCase{"CYCL DEF 18.1 V.ZEIT 2", "G263"}, BlockCase{"CYCL DEF 7.0 DATUM SHIFT", ""},
        BlockCase{"CYCL DEF 7.1 X+10", "X10"}, BlockCase{"CYCL DEF 7.3 Z+0", "G54 Z0"},
        BlockCase{"CYCL DEF 7.6 C+30", "G5401 C30"}, BlockCase{"CYCL DEF 8.1 X", "G28"},
        BlockCase{"CYCL DEF9.1 DWELL 1.5", "G4 F1.5"}, BlockCase{"CYCL DEF9 .0 VARAKOZASI IDO", ""},
        BlockCase{"CYCL DEF 9.1 V.ZEIT 1.5", "G4"}, BlockCase{"CYCL DEF 10.1 ROT+45", "G73 H45"},
        BlockCase{"CYCL DEF 11.1 SCL 0.5", "G72 F0.5"}, BlockCase{"CYCL DEF 12.1", "G39"},
        BlockCase{"CYCL DEF 13.1", "G36"}, BlockCase{"CYCL DEF 14.1", "G37"},
        BlockCase{"CYCL DEF 19.1 A+90", "G80 A90"}, BlockCase{"CYCL DEF 21 PILOT DRILLING", "G121"},
        BlockCase{"CYCL DEF 25.3", "G125"}, BlockCase{"CYCL DEF 26.1", "G2600"},
        BlockCase{"CYCL DEF 26.0", ""}, BlockCase{"CYCL DEF 27 CYLINDER", "G27"},
        BlockCase{"CYCL DEF 32.0 TOLERANCE", ""}, BlockCase{"CYCL DEF 32.1 T0.05", "G62 T0.05"},
        BlockCase{"CYCL DEF 247 DATUM SETTING", ""}, BlockCase{"CYCL DEF 6.0 X", "G6"},
        BlockCase{"CYCL DEF 262 THREAD MILLING", "G262"}, BlockCase{"CYCL DEF", ""}),
    caseName);

// Lines that end where a word still expects something.
INSTANTIATE_TEST_SUITE_P(
    CutShort, ParseLine,
    testing::Values(BlockCase{"L X", "G1"}, BlockCase{"C", ""}, BlockCase{"CP", ""},
                    BlockCase{"CP IPA", ""}, BlockCase{"TOOL", ""}, BlockCase{"TOOL CALL", ""},
                    BlockCase{"CALL", ""}, BlockCase{"CALL LBL", ""}, BlockCase{"CYCL", ""},
                    BlockCase{"CYCL DEF 1.1", ""}, BlockCase{"CYCL DEF 32.1", "G62"},
                    BlockCase{"Q", ""}, BlockCase{"Q5 =", ""}, BlockCase{"BEGIN", "G1050"},
                    BlockCase{"BEGIN PGM", "G1050"}, BlockCase{"BLK FORM", ""}, BlockCase{"DR", ""},
                    BlockCase{"C DR", ""}, BlockCase{"LX", "G1"}, BlockCase{"LIX", "G1"},
                    BlockCase{"CCX", ""}, BlockCase{"REP", ""}),
    caseName);

struct ParamCase {
    const char* line;
    std::vector<std::pair<std::int32_t, double>> params;  // the table after the line
};

class ParameterEffects : public testing::TestWithParam<ParamCase> {};

TEST_P(ParameterEffects, StoreTheCycleParameters) {
    BlockParser parser;
    parse(parser, GetParam().line);
    const ParamMap expected(GetParam().params.begin(), GetParam().params.end());
    EXPECT_EQ(parser.params, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ParameterEffects,
    testing::Values(
        ParamCase{"13 Q1 = 25.5", {{1, 25.5}}},
        ParamCase{"Q200=+2 ;SET-UP CLEARANCE ~", {{200, 2}}},
        ParamCase{"Q206=Q2 ;FEED", {{2, 0}, {206, 0}}}, ParamCase{"Q1800 = - 200", {{1800, -200}}},
        ParamCase{"Q4 = (0 - Q32 ) / 2.5", {}}, ParamCase{"FN 0: Q2 = +500", {}},
        ParamCase{"DWELL 2.5", {{211, 2.5}}}, ParamCase{"DEPTH -5", {{201, -5}}},
        ParamCase{"UP 2", {{203, 2}}}, ParamCase{"PLNGN 3", {{202, 3}}},
        ParamCase{"RADIUS 4", {{220, 4}, {223, 8}}},
        ParamCase{"CYCL DEF 1.1 SET UP 2", {{200, 2}, {204, 0}}},
        ParamCase{"CYCL DEF 1.1 SET UP", {}}, ParamCase{"CYCL DEF 1.2 DEPTH -20", {{201, 20}}},
        ParamCase{"CYCL DEF 1.3 PECKG 5", {{202, -5}}},
        ParamCase{"CYCL DEF 1.4 DWELL 0.5", {{211, 0.5}}},
        ParamCase{"CYCL DEF 1.5 F100", {{206, 100}}},
        ParamCase{"CYCL DEF 2.2 DEPTH -8", {{201, 8}}},
        ParamCase{"CYCL DEF 2.3 DWELL 1", {{211, 1}}}, ParamCase{"CYCL DEF 2.4 X 1", {}},
        ParamCase{"CYCL DEF 3.4 X +40", {{219, 40}}}, ParamCase{"CYCL DEF 3.5 Y +12", {{218, 12}}},
        ParamCase{"CYCL DEF 3.6 F120 DR+", {{206, 120}, {367, 1}}},
        ParamCase{"CYCL DEF 4.6 F80", {{206, 80}, {367, 0}}},
        ParamCase{"CYCL DEF 5.4 RADIUS 10", {{220, 10}, {223, 20}}},
        ParamCase{"CYCL DEF 18.1 V.ZEIT 2", {{201, 2}, {239, 2}}},
        ParamCase{"CYCL DEF 18.2 PITCH. 1.5", {{239, 1.5}}}),
    [](const testing::TestParamInfo<ParamCase>& param) {
        return "Case" + std::to_string(param.index);
    });

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
