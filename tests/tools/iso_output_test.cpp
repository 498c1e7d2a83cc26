// The ISO (Fanuc) output family: NCI programs written by hand, the NC code worked out from the
// rules in docs/converters.md. The R-format arcs are also read back with Morvane's Fanuc reader,
// which must find the centres of the NCI again in every plane.
#include <gtest/gtest.h>

#include <string>

#include "post_fixture.h"
#include "post_session.h"
#include "support/memory_program.h"
#include "tool_path.h"

namespace morvane::test {
namespace {

// Program start and end reduced to one line each.
constexpr std::string_view kPlain = "[program-start]\nline = %\n[program-end]\nline = M30\n";

TEST(IsoOutput, WritesModalWordsOnlyWhenTheyChange) {
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 0 0 50 -2 0"},  // X and Y are still at the writer's start: no block gave them
        {"0", "0 10 0 50 -2 0"},
        {"1", "0 10 0 -2 200 0"},  // a feed move goes where the NCI says, Y0 included
        {"1", "0 20 5 -2 -1 0"},   // F -1: the feed in force
        {"1", "0 20 5 -2 200 0"},  // no axis changes: X is named all the same
        {"1", "0 30 5 -2 150 0"},
        {"0", "40 30 5 10 -2 0"},  // a rapid move never takes an F
        {"1003", "0 0 0"},
    });
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "G0 Z50.\n"
              "X10.\n"
              "G1 Y0. Z-2. F200.\n"
              "X20. Y5.\n"
              "X20.\n"
              "X30. F150.\n"
              "G0 G40 Z10.\n"
              "M30\n");
}

TEST(IsoOutput, RapidMovesLeaveAloneTheAxesNoBlockPlaced) {
    // The writers start at 0 0 0. Until a record moves an axis away from 0, its 0 was given by
    // no block: a rapid move leaves that axis where the machine has it (a G-code program
    // positions X Y first, then brings Z down with G43); a feed move goes to the NCI's 0.
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 12 7 0 -2 0"},
        {"0", "0 12 7 5 -2 0"},
        {"0", "0 0 7 5 -2 0"},  // X was placed: its 0 is a position
        {"1", "0 0 7 0 100 0"},
        {"1003", "0 0 0"},
    });
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "G0 X12. Y7.\n"
              "Z5.\n"
              "X0.\n"
              "G1 Z0. F100.\n"
              "M30\n");
}

TEST(IsoOutput, CompensationNamesTheToolsOffset) {
    const std::string nci = nciOf({
        {"1001", "0 0 0 3 0 0 0 1000 -1 0 0 0 0 0 0 "},
        {"1", "41 10 0 0 100 0"},
        {"1", "0 10 10 0 -1 0"},
        {"1", "40 0 10 0 -1 0"},
    });
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "T3 M6\n"
              "S1000 M3\n"
              "G1 G41 X10. Y0. Z0. D3 F100.\n"
              "Y10.\n"
              "G40 X0.\n"
              "M30\n");
}

TEST(IsoOutput, ArcsInTheThreePlanesWithCentreOffsets) {
    // Every arc has its start and end at the same distance from its centre.
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 10 0 0 -2 0"},
        {"2", "0 0 0 10 0 0 0 100 0 0"},  // XY, clockwise 270 degrees round 0 0
        {"3", "0 0 0 10 0 0 0 -1 0 1"},   // XY full circle: both axes named
        {"3", "2 0 5 5 0 5 -10 -1 0 0"},  // XZ: X Z, centre I K, depth -Y (Y 10)
        {"2", "1 0 15 0 10 0 5 -1 0 0"},  // YZ: Y Z, centre J K, depth X
        {"1003", "0 0 0"},
    });
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "G0 X10.\n"
              "G17 G2 X0. Y10. I-10. J0. F100.\n"
              "G3 X0. Y10. I0. J-10.\n"
              "G18 G3 X5. Z5. I0. K5.\n"
              "G19 G2 Y15. Z0. J0. K-5.\n"
              "M30\n");
}

TEST(IsoOutput, RadiusArcsSignTheLongWay) {
    const std::string nci = nciOf({
        {"0", "0 10 0 0 -2 0"},
        {"3", "0 0 0 10 0 0 0 100 0 0"},  // 90 degrees counter-clockwise
        {"2", "0 0 10 0 0 0 0 -1 0 0"},   // 90 degrees clockwise
        {"2", "0 0 -10 0 0 0 0 -1 0 0"},  // a half circle keeps a positive R
        {"3", "0 0 0 -10 0 0 0 -1 0 0"},  // 90 degrees
        {"3", "0 0 -10 0 0 0 0 -1 0 0"},  // 270 degrees: R negative
        {"3", "0 0 -10 0 0 0 0 -1 0 1"},  // a full circle cannot be said with R
    });
    EXPECT_EQ(postWith(std::string(kPlain) + "[format]\narcs = r\n", nci),
              "%\n"
              "G0 X10.\n"
              "G17 G3 X0. Y10. R10. F100.\n"
              "G2 X10. Y0. R10.\n"
              "G2 X-10. Y0. R10.\n"
              "G3 X0. Y-10. R10.\n"
              "G3 X-10. Y0. R-10.\n"
              "G3 X-10. Y0. I10. J0.\n"
              "M30\n");
}

TEST(IsoOutput, RadiusArcsReadBackAboutTheirCentresInEveryPlane) {
    // Short and long arcs both ways in XY, XZ and YZ, written with R and read back by the
    // Fanuc reader: each centre must come back.
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 10 0 0 -2 0"},
        {"3", "0 0 0 10 0 0 0 100 0 0"},  // XY 90 degrees counter-clockwise
        {"3", "0 0 -10 0 0 0 0 -1 0 0"},  // 90 more
        {"2", "0 0 0 -10 0 0 0 -1 0 0"},  // 270 degrees clockwise from -10 0
        {"0", "0 0 0 0 -2 0"},
        {"3", "2 0 10 10 0 10 0 -1 0 0"},   // XZ from X0 Z0 to X10 Z10 round X0 Z10: 90
        {"2", "2 0 0 20 0 10 0 -1 0 0"},    // on to X0 Z20 clockwise: 270
        {"3", "2 0 -10 10 0 10 0 -1 0 0"},  // to X-10 Z10: 90
        {"0", "0 0 0 0 -2 0"},
        {"2", "1 0 10 10 0 10 0 -1 0 0"},   // YZ from Y0 Z0 to Y10 Z10 round Y0 Z10: 270
        {"3", "1 0 0 20 0 10 0 -1 0 0"},    // to Y0 Z20: 90
        {"2", "1 0 -10 10 0 10 0 -1 0 0"},  // to Y-10 Z10 clockwise: 270
        {"1003", "0 0 0"},
    });
    const std::string code = postWith(std::string(kPlain) + "[format]\narcs = r\n", nci);
    EXPECT_EQ(code.find(" I"), std::string::npos) << code;
    const std::string back = convertToNci(0, code);
    const PathRules rules;
    EXPECT_EQ(comparePaths(nci, back, rules, 0.001), "") << code;
}

TEST(IsoOutput, ArcsBeforeOurReaderSettlesItsCentreModeGoWithR) {
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 10 0 0 -2 0"},
        {"3", "0 0 0 10 0 0 -1 100 0 0"},      // a helix cannot settle the centre mode
        {"3", "0 0 -10.002 0 0 0 -1 -1 0 0"},  // radii 10 and 10.002: neither can this one
        {"1", "0 -10 0 -1 -1 0"},
        {"3", "0 0 0 -10 0 0 -1 -1 0 0"},  // planar, radii agree: settles, I J from now
        {"3", "0 0 10 0 0 0 -2 -1 0 0"},   // a helix after it
        {"3", "0 0 10 0 0 0 -3 -1 0 0"},   // a full helical turn
        {"1003", "0 0 0"},
    });
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "G0 X10.\n"
              "G17 G3 X0. Y10. Z-1. R10. F100.\n"
              "G3 X-10.002 Y0. R10.\n"
              "G1 X-10.\n"
              "G3 X0. Y-10. I10. J0.\n"
              "G3 X10. Y0. Z-2. I0. J10.\n"
              "G3 X10. Y0. Z-3. I-10. J0.\n"
              "M30\n");
}

TEST(IsoOutput, ArcsNoControlCanCutBecomeStraightMoves) {
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 10 0 0 -2 0"},
        {"2", "0 0 0 10 10 0 0 100 0 0"},  // centre on the start point: no radius
        {"2", "0 0 10 0 0 5 0 -1 0 0"},    // radii 5 and 11.18: ends off its circle
        {"1003", "0 0 0"},
    });
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "G0 X10.\n"
              "(NCI line 5: ArcMove 2 0 0 0 ... has no radius, written as a straight move)\n"
              "G1 X0. Y10. Z0. F100.\n"
              "(NCI line 7: ArcMove 2 0 0 10 ... ends off its circle, written as a straight "
              "move)\n"
              "X10. Y0.\n"
              "M30\n");
}

TEST(IsoOutput, NativeCyclesOfTheIsoWriter) {
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 0 0 10 -2 0"},
        // G81 X5 Y5 Z-10 R2 F100 from Z10, and the move the writer adds at Z0 - R
        {"91081", "1 5 5 10 10 8 0 12 100 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1"},
        {"0", "0 5 5 8 -2 0"},
        {"1005", "between holes"},
        {"91083", "15 5 8 8"},
        {"0", "0 15 5 8 -2 0"},
        {"91080", "0 0 0"},
        {"0", "0 15 5 20 -2 0"},
        // G83 X15 Y5 Z-20 R1 Q3 F50 from Z20; a repeat without a move of its own
        {"91081", "1 15 5 20 20 19 0 21 50 0 0 0 0 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1"},
        {"0", "0 15 5 19 -2 0"},
        {"91083", "25 5 19 19"},
        {"91080", "0 0 0"},
        {"1", "0 25 5 30 -1 0"},  // F50 of the cycle is in force
        {"1003", "0 0 0"},
    });
    const std::string expected =
        "%\n"
        "G0 Z10.\n"
        "G98 G81 X5. Y5. Z-10. R2. F100.\n"
        "X15. Y5. (between holes)\n"
        "G80\n"
        "G0 Z20.\n"
        "G98 G83 X15. Y5. Z-20. R1. Q3. F50.\n"
        "X25. Y5.\n"
        "G80\n"
        "G1 Z30.\n"
        "M30\n";
    EXPECT_EQ(postWith(kPlain, nci), expected);
    std::string chipBreaking = expected;
    chipBreaking.replace(chipBreaking.find("G83"), 3, "G73");
    EXPECT_EQ(postWith(std::string(kPlain) + "[format]\npeck-cycle = G73\n", nci), chipBreaking);
}

TEST(IsoOutput, DwellTappingAndBoringCycles) {
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 50 20 50 -2 0"},
        {"91081", "1 50 20 50 50 49 0 6 60 0 500 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1"},
        {"91081", "3 1 2 50 50 47 0 15 125 0 200 0 0 0 0 0 0 0 0 0 8 0 0 0 0 0 0 0 -1"},
        {"91081", "2 1 2 50 50 47 0 15 40 0 100 0 0 0 0 0 0 0 0 0 0 0.5 0 0 0 0 0 0 -1"},
        {"91080", "0 0 0"},
    });
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "G0 X50. Y20. Z50.\n"
              "G98 G82 X50. Y20. Z-5. R1. P500 F60.\n"
              "G98 G74 X1. Y2. Z-12. R3. P200 F125.\n"
              "G98 G76 X1. Y2. Z-12. R3. Q0.5 P100 F40.\n"
              "G80\n"
              "M30\n");
}

TEST(IsoOutput, HeidenhainCyclesRiseToTheirClearanceAndCloseBeforeAMove) {
    // Cycle 200 (Q200=2 Q201=-10 Q206=150 Q202=5 Q203=0 Q204=50 Q211=0.1) called at X10 Y10
    // with the tool at Z5, again at X20; then a retract at the last hole.
    const std::string nci = nciOf({
        {"1050", "0 0 0 0 0 0 0 0 DRILL"},
        {"0", "40 0 0 5 -2 0"},
        {"91081", "1 10 10 5 50 2 0 10 150 0 0.1 0 0 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1"},
        {"0", "0 10 10 50 -2 0"},
        {"91083", "20 10 50 50"},
        {"0", "0 20 10 50 -2 0"},
        {"0", "0 20 10 100 -2 0"},
    });
    EXPECT_EQ(postWith("[program-start]\nline = O1 ({name})\n[program-end]\nline = M30\n", nci),
              "O1 (DRILL)\n"
              "G0 G40 Z5.\n"
              "Z50.\n"
              "G98 G83 X10. Y10. Z-10. R2. Q5. F150.\n"
              "X20. Y10.\n"
              "G80\n"
              "G0 Z100.\n"
              "M30\n");
}

TEST(IsoOutput, EveryOtherRecord) {
    std::string nci = nciOf({
        kIsoHeader,             // line 1
        {"91003", "0 0 0"},     // 3: no move before it yet
        {"0", "0 0 0 0 -2 0"},  // 5: to where no block put the tool: X alone
        {"1001", "0 0 0 5 0 0 0 -2000 -1 0 0 0 0 0 0 "},  // 7: S -2000 after M4
        {"4", "1.5 1 0"},                                 // 9
        {"4", ""},                                        // 11
        {"1", "0 0 0 -1 100 0"},                          // 13
        {"1005", "a (note) %50"},                         // 15
        {"91054", "2"},                                   // 17
        {"91054", "9"},                                   // 19
        {"92", "3000"},                                   // 21
        {"96", "-200"},                                   // 23
        {"91003", "0 0 0"},                               // 25
        {"0", "0 0 0 0 -2 0"},                            // 27: the return's own move
        {"1", "0 5 5 -1 -1 0"},                           // 29
        {"1018", "100 0 0 0 0 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0"},     // 31
        {"1019", "0 0 0"},                                                           // 33
        {"10181", "7 0 0 0 0 3 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0"},  // 35
        {"1005", "Enrolled subprogram end"},                                         // 37
        {"10181", "0 0 0 0 0 1 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0"},  // 39
        {"10181", "0 0 0 0 0 1 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0"},  // 41
        {"91024", "2"},                                                              // 43
        {"91025", "1.5"},                                                            // 45
        {"1011", "0 0 0 0 0 0 0.05 0 0 0"},                                          // 47
        {"91012", "1 0 1 0 0 0 0 0 0"},                                              // 49
        {"91011", "1 0.5 1"},                                                        // 51
        {"1020", "100 50 20 0 0 -20 8 0 0 0 0 0 0 0 "},                              // 53
        {"77", "1 2 3"},                                                             // 55
        {"1", "0 a 0 0 0 0"},                                                        // 57
        {"1003", "0 0 0"},                                                           // 59
    });
    nci += "garbage\n";  // 61
    EXPECT_EQ(postWith(kPlain, nci),
              "%\n"
              "G91 G28 Z0.\n"
              "G90\n"
              "G0 X0.\n"
              "T5 M6\n"
              "S2000 M4\n"
              "G4 P1500\n"
              "(dwell without a time)\n"
              "G1 Y0. Z-1. F100.\n"
              "(a [note]  50)\n"
              "G55\n"
              "(work offset 9 has no G54 to G59 word)\n"
              "G92 S3000\n"
              "G96 S200\n"
              "G91 G28 Z0.\n"
              "G90\n"
              "G1 X5. Y5. Z-1.\n"
              "O100\n"
              "M99\n"
              "M98 P7 L3\n"
              "(Enrolled subprogram end)\n"
              "(NCI line 41: SubprogramCall 10181 0 0 0 ... skipped, it calls no subprogram "
              "number)\n"
              "(chamfer 2. not written)\n"
              "(corner radius 1.5 not written)\n"
              "(tolerance 0.05 not written)\n"
              "(mirror X Z not written)\n"
              "(NCI line 51: Scaling 91011 1 0.5 1 not written)\n"
              "(stock X0. Y0. Z-20. to X100. Y50. Z0.)\n"
              "(NCI line 55: record 77 skipped, unknown record code)\n"
              "(NCI line 57: record 1 skipped, a field is not a number [field 2])\n"
              "(NCI line 61: skipped, the record code is not a number)\n"
              "M30\n");
}

TEST(IsoOutput, LineNumbersAndNumberFormat) {
    const std::string nci = nciOf({
        {"0", "0 1 2.5 -0.0004 -2 0"},  // rounds to -0: written as 0
        {"1", "0 0.125 2.5 -0 100.5 0"},
        {"1", "0 -0.125 2.5 -0 -1 0"},
        {"1", "0 3 2.5 -0 -1 0"},
    });
    EXPECT_EQ(
        postWith(std::string(kPlain) + "[format]\nline-numbers = yes\nline-number-start = 10\n"
                                       "line-number-step = 10\nline-number-max = 30\ndecimals = 2\n"
                                       "trailing-zeros = yes\n",
                 nci),
        "%\n"
        "N10 G0 X1.00 Y2.50 Z0.00\n"
        "N20 G1 X0.13 F100.500\n"
        "N30 X-0.13\n"
        "N10 X3.00\n"
        "M30\n");
    EXPECT_EQ(postWith(std::string(kPlain) + "[format]\ndecimals = 0\nfeed-decimals = 0\n",
                       nciOf({{"1", "0 10.4 -0.4 2.5 99.5 0"}})),
              "%\nG1 X10. Y0. Z3. F100.\nM30\n");
}

TEST(IsoOutput, AnEmptyProgramIsStillAProgram) {
    EXPECT_EQ(postWith("[program-start]\nline = %\nline = O5 ({name})\n[format]\n"
                       "program-name = PART-7\n",
                       ""),
              "%\nO5 (PART-7)\nM30\n%\n");
}

}  // namespace
}  // namespace morvane::test
