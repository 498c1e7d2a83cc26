// Longhand thread milling: the inside thread with its pre-drill, side and front countersinks and
// helix, and the outside thread with its front countersink and helix round the stud.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cycles/nci_milling_cycles.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::countCode;
using test::nciLines;
using test::readMoves;
using test::runCycle;

// As the cycle writers set them: surface 0, set-up clearance 2, second clearance 20, feed 100,
// flags 5 and 8 false. A thread of diameter 24 (radius 12) and pitch 1.5, 10 deep, with the tool
// of diameter 10 on the thread axis at (0, 0, 30).
template <class Cycle>
std::unique_ptr<Cycle> thread(CycleStart start = {10.0, 0.0, 0.0, 30.0, 0.0}) {
    return test::makeCycle<Cycle>(start, {0.0, 20.0, 100.0}, {{13, 12.0}, {17, 1.5}}, {{8, false}});
}

const std::string kInsideRetract = nciLines({"1", "0 0 0 2 100 0", "0", "0 0 0 20 100 0"});

TEST(ThreadMilling, WhatIsSkippedAndWhen) {
    struct Case {
        const char* what;
        double radius, sideClearance, frontOffset;
        int arcs;  // records 2 and 3
    };
    const Case cases[] = {
        // A countersink is 3 arcs (lead-in, circle, lead-out), the helix 6.
        {"side countersink and helix", 12.0, 0.0, 0.0, 3 + 6},
        {"side countersink skipped: clearance + 5 + 0.5 not below 12", 12.0, 6.5, 0.0, 6},
        {"side countersink just written: 6.4 + 5 + 0.5 below 12", 12.0, 6.4, 0.0, 3 + 6},
        {"front offset equal to D/20 is skipped", 12.0, 6.5, 0.5, 6},
        {"front offset above D/20 is written", 12.0, 6.5, 0.6, 3 + 6},
        {"thread radius equal to the tool radius: no thread, no countersink", 5.0, 0.0, 0.0, 0},
        {"thread radius below the tool radius: raised to it, no thread", 3.0, 0.0, 0.0, 0},
    };
    for (const Case& k : cases) {
        auto c = thread<NCIThreadMilling>();
        c->SetValue(13, k.radius);
        c->SetValue(15, k.frontOffset);
        c->SetValue(16, k.sideClearance);
        c->SetValue(18, 10.0);
        const std::string nci = runCycle(*c);
        EXPECT_EQ(countCode(readMoves(nci), 2) + countCode(readMoves(nci), 3), k.arcs) << k.what;
        EXPECT_TRUE(nci.ends_with(kInsideRetract)) << k.what;
    }
    auto raised = thread<NCIThreadMilling>();
    raised->SetValue(13, 3.0);
    runCycle(*raised);
    EXPECT_EQ(raised->value(13), 5.0);
}

TEST(OutsideThread, SmallThreadRadiusIsRaisedAndFlagsAreIgnored) {
    // Radius 3 below the tool radius 5 becomes 5: the tool centre turns at 10. The retract goes
    // to surface + second clearance whatever flags 5 and 8 say.
    auto c = thread<NCIOutsideThread>({10.0, 0.0, 0.0, 77.0, 0.0});
    c->SetValue(2, 10.0);
    c->SetValue(13, 3.0);
    c->SetFlag(5, true);
    c->SetFlag(8, true);
    const std::string nci = runCycle(*c);
    EXPECT_EQ(c->value(13), 5.0);
    EXPECT_NE(nci.find("3\n0 0 10 0 0 0 -8.875 100 0 0 \n"), std::string::npos) << nci;
    EXPECT_NE(nci.find("1\n0 -12 0 0 100 0\n"), std::string::npos) << nci;
    EXPECT_TRUE(nci.ends_with(nciLines({"1", "0 0 0 0 100 0", "0", "0 0 0 20 100 0"}))) << nci;
}

}  // namespace
}  // namespace morvane
