// The Heidenhain conversational output family: NCI programs written by hand, the NC code worked
// out from the rules in docs/converters.md. CR arcs are also read back with Morvane's Heidenhain
// reader, which must find the centres of the NCI again.
#include <gtest/gtest.h>

#include <string>

#include "post_fixture.h"
#include "support/memory_program.h"
#include "tool_path.h"

namespace morvane::test {
namespace {

constexpr std::string_view kHeidenhain = "output = heidenhain\n";

TEST(HeidenhainOutput, StraightMovesFeedsAndCompensation) {
    const std::string nci = nciOf({
        {"1050", "0 0 0 0 0 0 0 0 PART1"},
        {"0", "40 10 5 0 -2 0"},
        {"1", "0 10 5 -2 200 0"},
        {"1", "0 20.5 -3.25 -2 -1 0"},
        {"1", "41 25 0 -2 200 0"},  // F in force: not written, but stated again after RL
        {"1", "0 30 0 -2 -1 0"},
        {"0", "0 30 0 50 -2 0"},
    });
    EXPECT_EQ(postWith(kHeidenhain, nci),
              "0 BEGIN PGM PART1 MM\n"
              "1 L X+10 Y+5 R0 FMAX\n"
              "2 L Z-2 F200\n"
              "3 L X+20.5 Y-3.25\n"
              "4 L X+25 Y+0 RL\n"
              "5 L X+30 F200\n"
              "6 L Z+50 FMAX\n"
              "7 L M30\n"
              "8 END PGM PART1 MM\n");
}

TEST(HeidenhainOutput, CirclesHelicesAndOtherPlanes) {
    const std::string nci = nciOf({
        {"0", "0 10 0 0 -2 0"},
        {"2", "0 0 0 10 0 0 0 100 0 0"},   // clockwise round 0 0
        {"3", "0 0 0 10 0 0 0 -1 0 1"},    // full circle
        {"3", "0 0 -10 0 0 0 -1 -1 0 0"},  // helix, a quarter turn down to Z-1
        {"3", "0 0 0 -10 0 0 -2 -1 0 0"},  // the next quarter, from where the turn ended
        {"1", "0 0 -10 -2 -1 0"},
        {"3", "2 0 7 5 0 5 10 -1 0 0"},  // XZ round X0 Z5 (Y stays -10)
    });
    EXPECT_EQ(postWith(kHeidenhain, nci),
              "0 BEGIN PGM NCI MM\n"
              "1 L X+10 FMAX\n"
              "2 CC X+0 Y+0\n"
              "3 C X+0 Y+10 DR- F100\n"
              "4 C X+0 Y+10 DR+\n"
              "5 CP IPA+90 Z-1 DR+\n"
              "6 CP IPA+90 Z-2 DR+\n"
              "7 L X+0 Y-10\n"
              "8 CC X+0 Z+5\n"
              "9 C X+7 Z+5 DR+\n"
              "10 L M30\n"
              "11 END PGM NCI MM\n");
}

TEST(HeidenhainOutput, RadiusCirclesAndTheCentreTheyLeave) {
    const std::string nci = nciOf({
        {"0", "0 10 0 0 -2 0"},
        {"3", "0 0 0 10 0 0 0 100 0 0"},  // 90 degrees
        {"2", "0 0 10 0 0 0 0 -1 0 0"},   // 90 degrees clockwise
        {"3", "0 0 10 0 0 0 0 -1 0 1"},   // full circle: CC again, a CR moved our reader's
    });
    EXPECT_EQ(postWith(std::string(kHeidenhain) + "[format]\narcs = r\n", nci),
              "0 BEGIN PGM NCI MM\n"
              "1 L X+10 FMAX\n"
              "2 CR X+0 Y+10 R+10 DR+ F100\n"
              "3 CR X+10 Y+0 R+10 DR-\n"
              "4 CC X+0 Y+0\n"
              "5 C X+10 Y+0 DR+\n"
              "6 L M30\n"
              "7 END PGM NCI MM\n");
}

TEST(HeidenhainOutput, RadiusAndPolarCirclesReadBackAboutTheirCentres) {
    const std::string nci = nciOf({
        {"0", "0 10 0 0 -2 0"},
        {"3", "0 0 0 10 0 0 0 100 0 0"},  // 90
        {"3", "0 0 -10 0 0 0 0 -1 0 0"},  // 90
        {"2", "0 0 0 -10 0 0 0 -1 0 0"},  // 270 clockwise
        {"3", "0 0 10 0 0 0 0 -1 0 0"},   // 90
        {"2", "0 0 0 -10 0 0 0 -1 0 0"},  // 90 clockwise
        {"3", "0 0 0 10 0 0 -3 -1 0 0"},  // helix, 180
        {"3", "0 0 0 10 0 0 -4 -1 0 1"},  // helix, a full turn
    });
    const std::string code = postWith(std::string(kHeidenhain) + "[format]\narcs = r\n", nci);
    const std::string back = convertToNci(1, code);
    const PathRules rules{true, false, true, false, false, true, 0.0001};
    EXPECT_EQ(comparePaths(nci, back, rules, 0.001), "") << code;
}

// Cycle 200: Q200=2 Q201=-10 Q206=150 Q202=5 Q210=0 Q203=+0 Q204=50 Q211=0.1.
constexpr std::string_view kCycle200 =
    "1 10 10 5 50 2 0 10 150 0 0.1 0 0 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1";

TEST(HeidenhainOutput, CycleDefinitionsAndCalls) {
    const std::string nci = nciOf({
        {"1050", "0 0 0 0 0 0 0 0 DRILL"},
        {"1001", "0 0 0 5 0 0 0 2000 -1 0 0 0 0 0 0 "},
        {"0", "40 0 0 5 -2 0"},
        {"91081", kCycle200},
        {"0", "0 10 10 50 -2 0"},  // the move of the calling block, at Q203 + Q204
        {"91083", "20 10 50 50"},
        {"0", "0 20 10 50 -2 0"},
        {"91083", "20 10 50 50"},   // CYCL CALL where the tool stands
        {"0", "0 20 10 100 -2 0"},  // a retract at the hole: a block of its own
    });
    EXPECT_EQ(postWith(kHeidenhain, nci),
              "0 BEGIN PGM DRILL MM\n"
              "1 TOOL CALL 5 Z S2000\n"
              "2 L M3\n"
              "3 L Z+5 R0 FMAX\n"
              "4 CYCL DEF 200 DRILLING ~\n"
              "  Q200=+2 ;SET-UP CLEARANCE ~\n"
              "  Q201=-10 ;DEPTH ~\n"
              "  Q206=+150 ;FEED RATE FOR PLNGNG ~\n"
              "  Q202=+5 ;PLUNGING DEPTH ~\n"
              "  Q210=+0 ;DWELL TIME AT TOP ~\n"
              "  Q203=+0 ;SURFACE COORDINATE ~\n"
              "  Q204=+50 ;2ND SET-UP CLEARANCE ~\n"
              "  Q211=+0.1 ;DWELL TIME AT DEPTH\n"
              "5 L X+10 Y+10 FMAX M99\n"
              "6 L X+20 FMAX M99\n"
              "7 CYCL CALL\n"
              "8 L Z+100 FMAX\n"
              "9 L M30\n"
              "10 END PGM DRILL MM\n");
}

TEST(HeidenhainOutput, UniversalDrillingKeepsEveryParameter) {
    const std::string nci = nciOf({
        {"0", "0 0 0 50 -2 0"},
        {"91081", "1 0 0 50 50 2 0 20 150 500 0.25 0.5 5 0 3 0.2 0 0.2 5 3 0 0 0 0 0 0 0 0 -1"},
    });
    EXPECT_EQ(postWith(kHeidenhain, nci),
              "0 BEGIN PGM NCI MM\n"
              "1 L Z+50 FMAX\n"
              "2 CYCL DEF 203 UNIVERSAL DRILLING ~\n"
              "  Q200=+2 ;SET-UP CLEARANCE ~\n"
              "  Q201=-20 ;DEPTH ~\n"
              "  Q206=+150 ;FEED RATE FOR PLNGNG ~\n"
              "  Q202=+5 ;PLUNGING DEPTH ~\n"
              "  Q210=+0.5 ;DWELL TIME AT TOP ~\n"
              "  Q203=+0 ;SURFACE COORDINATE ~\n"
              "  Q204=+50 ;2ND SET-UP CLEARANCE ~\n"
              "  Q212=+0.2 ;DECREMENT ~\n"
              "  Q213=+3 ;NR OF BREAKS ~\n"
              "  Q205=+3 ;MIN. PLUNGING DEPTH ~\n"
              "  Q211=+0.25 ;DWELL TIME AT DEPTH ~\n"
              "  Q208=+500 ;RETRACTION FEED RATE ~\n"
              "  Q256=+0.2 ;DIST. FOR CHIP BRKNG\n"
              "3 L X+0 Y+0 FMAX M99\n"
              "4 L M30\n"
              "5 END PGM NCI MM\n");
}

TEST(HeidenhainOutput, IsoCyclesBecomeCycle200) {
    // G81 X5 Y5 Z-10 R2 F100 from Z10: the R plane is the surface, no set-up clearance, the
    // second set-up clearance returns to Z10, one plunge to the full depth.
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 0 0 10 -2 0"},
        {"91081", "1 5 5 10 10 8 0 12 100 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1"},
        {"0", "0 5 5 8 -2 0"},
        {"91083", "15 5 8 8"},
        {"0", "0 15 5 8 -2 0"},
        {"91080", "0 0 0"},
        {"0", "0 15 5 20 -2 0"},
        {"91081", "3 1 2 50 50 47 0 15 125 0 200 0 0 0 0 0 0 0 0 0 8 0 0 0 0 0 0 0 -1"},
    });
    EXPECT_EQ(postWith(kHeidenhain, nci),
              "0 BEGIN PGM NCI MM\n"
              "1 L Z+10 FMAX\n"
              "2 CYCL DEF 200 DRILLING ~\n"
              "  Q200=+0 ;SET-UP CLEARANCE ~\n"
              "  Q201=-12 ;DEPTH ~\n"
              "  Q206=+100 ;FEED RATE FOR PLNGNG ~\n"
              "  Q202=+12 ;PLUNGING DEPTH ~\n"
              "  Q210=+0 ;DWELL TIME AT TOP ~\n"
              "  Q203=+2 ;SURFACE COORDINATE ~\n"
              "  Q204=+8 ;2ND SET-UP CLEARANCE ~\n"
              "  Q211=+0 ;DWELL TIME AT DEPTH\n"
              "3 L X+5 Y+5 FMAX M99\n"
              "4 L X+15 FMAX M99\n"
              "5 L Z+20 FMAX\n"
              "6 ; tapping cycle G74 has no Heidenhain cycle here, hole at X+1 Y+2\n"
              "7 L M30\n"
              "8 END PGM NCI MM\n");
}

TEST(HeidenhainOutput, EveryOtherRecord) {
    const std::string nci = nciOf({
        {"1050", "0 0 0 0 0 0 0 0 OTHER"},
        {"91003", "0 0 0"},
        {"0", "0 0 0 0 -2 0"},  // not the return's own move: where no block put the tool, X alone
        {"4", "1.5 1 0"},
        {"4", ""},
        {"1005", "TOOL 5 D10 DRILL"},  // read back it would be a tool call
        {"1005", "  plain comment"},
        {"91054", "2"},
        {"92", "3000"},
        {"96", "-200"},
        {"1018", "100 0 0 0 0 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0"},
        {"1019", "0 0 0"},
        {"10181", "7 0 0 0 0 3 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0"},
        {"91024", "2"},
        {"91025", "1.5"},
        {"1011", "0 0 0 0 0 0 0.05 0 0 0"},
        {"91012", "1 0 1 0 0 0 0 0 0"},
        {"1020", "100 50 20 0 0 -20 8 0 0 0 0 0 0 0 "},
        {"1", "0 5 5 -1 100 0"},
    });
    EXPECT_EQ(postWith(kHeidenhain, nci),
              "0 BEGIN PGM OTHER MM\n"
              "1 L Z+0 R0 FMAX M91\n"
              "2 L X+0 FMAX\n"
              "3 CYCL DEF 9.0 DWELL TIME\n"
              "4 CYCL DEF 9.1 DWELL 1.5\n"
              "5 ; dwell without a time\n"
              "6 ; * TOOL 5 D10 DRILL\n"
              "7 ; plain comment\n"
              "8 CYCL DEF 247 DATUM SETTING ~\n"
              "  Q339=+2 ;DATUM NUMBER\n"
              "9 ; spindle speed limit S3000 not written\n"
              "10 ; constant surface speed S200 not written\n"
              "11 LBL 100\n"
              "12 LBL 0\n"
              "13 CALL LBL 7 REP 3\n"
              "14 CHF 2\n"
              "15 RND R1.5\n"
              "16 CYCL DEF 32.0 TOLERANCE\n"
              "17 CYCL DEF 32.1 T0.05\n"
              "18 CYCL DEF 8.0 MIRROR IMAGE\n"
              "19 CYCL DEF 8.1 X Z\n"
              "20 BLK FORM 0.1 Z X+0 Y+0 Z-20\n"
              "21 BLK FORM 0.2 X+100 Y+50 Z+0\n"
              "22 L X+5 Y+5 Z-1 F100\n"
              "23 L M30\n"
              "24 END PGM OTHER MM\n");
}

TEST(HeidenhainOutput, ProgramNameUnitsAndASpindleAtRest) {
    const std::string nci = nciOf({
        {"1050", "0 0 0 0 0 0 0 0 SP1 1002"},
        {"1001", "0 0 0 1 0 0 0 0 -1 0 0 0 0 0 0 "},
    });
    EXPECT_EQ(postWith(std::string(kHeidenhain) + "[format]\nunits = inch\n[program-start]\n"
                                                  "line = ; {name} begins\n",
                       nci),
              "0 BEGIN PGM SP1 INCH\n"
              "1 ; SP1 begins\n"
              "2 TOOL CALL 1 Z S0\n"
              "3 L M30\n"
              "4 END PGM SP1 INCH\n");
}

}  // namespace
}  // namespace morvane::test
