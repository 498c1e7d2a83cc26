// Longhand drilling: single plunge, pecking and helical bore milling, line by line. The plain
// cases of each cycle are golden programs (tests/golden/heidenhain/cycles_drilling); these are
// the flag and parameter variants the writers never set.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cycles/nci_drilling.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::countCode;
using test::nciLines;
using test::runCycle;

// Surface 0, set-up clearance 2, second clearance 50, feed 150, retract to surface + second
// clearance, as the cycle writers set it.
template <class Cycle>
std::unique_ptr<Cycle> hole(double depth, CycleStart start = {10.0, 10.0, 20.0, 100.0, 0.0}) {
    return test::makeCycle<Cycle>(start, {depth, 50.0, 150.0});
}

// Plunge to the depth, dwell, rapid to 50: what every drilling without pecks writes.
const std::string kPlunge = nciLines(
    {"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0", "0 10 20 50 150 0"});

TEST(SimpleDrilling, FeedRetractDwellAndStartHeightVariants) {
    struct Case {
        const char* what;
        bool rapidRetract, returnToStart;
        double dwell;
        std::string expected;
    };
    const Case cases[] = {
        {"plunge, dwell, rapid retract", true, false, 0.0, kPlunge},
        {"feed back to the clearance before the rapid", false, false, 0.0,
         nciLines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "1",
                   "0 10 20 2 150 0", "0", "0 10 20 50 150 0"})},
        {"retract to the start height", true, true, 0.0,
         nciLines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0",
                   "0 10 20 100 150 0"})},
        {"dwell time in the record", true, false, 1.5,
         nciLines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "1.5 1 0", "0",
                   "0 10 20 50 150 0"})},
    };
    for (const Case& k : cases) {
        auto c = hole<NCISimpleDrilling>(10.0);
        c->SetFlag(8, k.rapidRetract);
        c->SetFlag(5, k.returnToStart);
        c->SetValue(9, k.dwell);
        CyclePosition end;
        EXPECT_EQ(runCycle(*c, &end), k.expected) << k.what;
        EXPECT_EQ(end.x, 10.0);
        EXPECT_EQ(end.y, 20.0);
        EXPECT_EQ(end.toolDiameter, 10.0);
    }
}

TEST(DeepDrilling, PecksUpToButNotAtTheDepth) {
    // Full retract at feed and an infeed as deep as the hole are the golden pecking_longhand.
    struct Case {
        const char* what;
        double depth, infeed, chipBreak;
        bool fullRetract, rapidRetract;
        std::string expected;
    };
    const Case cases[] = {
        {"chip breaking at 3, 6, 9 then the depth; the break move stays at the depth", 10, 3, 0,
         false, true, nciLines({"0", "0 10 20 2 150 0",                             //
                                "1", "0 10 20 -3 150 0",  "0", "0 10 20 -3 150 0",  //
                                "1", "0 10 20 -6 150 0",  "0", "0 10 20 -6 150 0",  //
                                "1", "0 10 20 -9 150 0",  "0", "0 10 20 -9 150 0",  //
                                "1", "0 10 20 -10 150 0", "4", "0 1 0",
                                "0", "0 10 20 50 150 0"})},
        {"chip breaking back by 0.5 at feed", 7, 3, 0.5, false, false,
         nciLines({"0", "0 10 20 2 150 0",                              //
                   "1", "0 10 20 -3 150 0", "1", "0 10 20 -2.5 150 0",  //
                   "1", "0 10 20 -6 150 0", "1", "0 10 20 -5.5 150 0",  //
                   "1", "0 10 20 -7 150 0", "4", "0 1 0", "1", "0 10 20 2 150 0", "0",
                   "0 10 20 50 150 0"})},
        {"full retract to the clearance, rapid back to 2 above the last depth", 10, 3, 0, true,
         true,
         nciLines({"0", "0 10 20 2 150 0",                                                     //
                   "1", "0 10 20 -3 150 0",  "0", "0 10 20 2 150 0", "0", "0 10 20 -1 150 0",  //
                   "1", "0 10 20 -6 150 0",  "0", "0 10 20 2 150 0", "0", "0 10 20 -4 150 0",  //
                   "1", "0 10 20 -9 150 0",  "0", "0 10 20 2 150 0", "0", "0 10 20 -7 150 0",  //
                   "1", "0 10 20 -10 150 0", "4", "0 1 0",           "0", "0 10 20 50 150 0"})},
        {"no infeed, no pecks", 10, 0, 0, true, true, kPlunge},
        {"a negative infeed writes no pecks either", 10, -2, 0, false, true, kPlunge},
    };
    for (const Case& k : cases) {
        auto c = hole<NCIDeepDrilling>(k.depth);
        c->SetValue(10, k.infeed);
        c->SetValue(11, k.chipBreak);
        c->SetFlag(12, k.fullRetract);
        c->SetFlag(8, k.rapidRetract);
        EXPECT_EQ(runCycle(*c), k.expected) << k.what;
    }
}

TEST(DeepDrilling, PeckingStopsAfterAThousandPecks) {
    auto c = hole<NCIDeepDrilling>(1e9);
    c->SetValue(10, 1.0);
    const std::string text = runCycle(*c);
    // 1000 pecks and the final feed; each peck adds a chip-break rapid.
    EXPECT_EQ(countCode(text, 1), 1001);
    EXPECT_EQ(countCode(text, 0), 1000 + 2);
    EXPECT_NE(text.find("0 10 20 -1000 150 0\n"), std::string::npos);
    EXPECT_EQ(text.find("0 10 20 -1001 150 0\n"), std::string::npos);
}

TEST(BoreDrilling, SmallerToolRunsOutToTheWallOnHalfCircles) {
    auto c = hole<NCIBoreDrilling>(5.0, {6.0, 10.0, 20.0, 100.0, 0.0});
    c->SetValue(10, 10.0);  // w = 4: the tool centre runs on radius 2 round the axis
    c->SetValue(11, 2.5);
    c->SetFlag(8, false);
    CyclePosition end;
    EXPECT_EQ(runCycle(*c, &end), nciLines({"0", "0 10 20 2 150 0",               //
                                            "3", "0 0 12 20 11 20 2 150 0 0 ",    // half out
                                            "3", "0 0 12 20 10 20 0 150 0 1",     //
                                            "3", "0 0 12 20 10 20 -2.5 150 0 1",  //
                                            "3", "0 0 12 20 10 20 -5 150 0 1",    //
                                            "3", "0 0 12 20 10 20 -5 150 0 1",    //
                                            "3", "0 0 10 20 11 20 -5 150 0 0 ",   // half back
                                            "1", "0 10 20 2 150 0",               // feed retract
                                            "0", "0 10 20 50 150 0"}));
    EXPECT_EQ(end.x, 10.0);
    EXPECT_EQ(end.y, 20.0);
    EXPECT_EQ(end.z, 50.0);
    EXPECT_EQ(end.toolDiameter, 6.0);
}

TEST(BoreDrilling, VariantsOfInfeedAndDepth) {
    // Tool as wide as the bore: full turns on the axis, the first ending at the surface.
    const std::string twoTurns = nciLines({"0", "0 10 20 2 150 0", "3", "0 0 10 20 10 20 0 150 0 1",
                                           "3", "0 0 10 20 10 20 -5 150 0 1", "3",
                                           "0 0 10 20 10 20 -5 150 0 1", "0", "0 10 20 50 150 0"});
    struct Case {
        const char* what;
        double depth, infeed;
        std::string expected;
    };
    const Case cases[] = {
        {"no infeed per turn: one turn to the surface, then the bottom circles", 5, 0, twoTurns},
        {"a negative infeed per turn behaves as none", 5, -1, twoTurns},
        {"no depth: no turn down, the two circles at the surface", 0, 2,
         nciLines({"0", "0 10 20 2 150 0", "3", "0 0 10 20 10 20 0 150 0 1", "3",
                   "0 0 10 20 10 20 0 150 0 1", "0", "0 10 20 50 150 0"})},
    };
    for (const Case& k : cases) {
        auto c = hole<NCIBoreDrilling>(k.depth);
        c->SetValue(10, 10.0);
        c->SetValue(11, k.infeed);
        EXPECT_EQ(runCycle(*c), k.expected) << k.what;
    }
}

TEST(BoreDrilling, HelixStopsAfterAThousandTurns) {
    auto c = hole<NCIBoreDrilling>(1e9);
    c->SetValue(10, 10.0);
    c->SetValue(11, 0.001);
    EXPECT_EQ(countCode(runCycle(*c), 3), 1000 + 2);
}

}  // namespace
}  // namespace morvane
