// Longhand pecking and helical bore milling, line by line. The plain cases of each cycle are
// golden programs (tests/golden/heidenhain/cycles_drilling); these are the pecks at and short of
// the depth and the infeeds that give no pecks or turns.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cycles/nci_drilling.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

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

}  // namespace
}  // namespace morvane
