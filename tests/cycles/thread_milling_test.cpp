// Longhand thread milling: the inside thread with its pre-drill, side and front countersinks and
// helix, and the outside thread with its front countersink and helix round the stud.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cycles/nci_milling_cycles.h"
#include "support/nci_text.h"

namespace morvane {
namespace {

using test::nciLines;
using test::runCycle;

// As the cycle writers set them: surface 0, set-up clearance 2, second clearance 20, feed 100,
// flags 5 and 8 false. A thread of diameter 24 (radius 12) and pitch 1.5, 10 deep, with the tool
// of diameter 10 on the thread axis at (0, 0, 30).
template <class Cycle>
std::unique_ptr<Cycle> thread(CycleStart start = {10.0, 0.0, 0.0, 30.0, 0.0}) {
    auto c = std::make_unique<Cycle>(start);
    c->SetValue(1, 0.0);
    c->SetValue(3, 20.0);
    c->SetValue(4, 2.0);
    c->SetValue(7, 100.0);
    c->SetValue(13, 12.0);
    c->SetValue(17, 1.5);
    c->SetFlag(8, false);
    c->SetFlag(5, false);
    return c;
}

// The inside thread's helix for radius 12, tool radius 5 (path radius 7), bottom -10, pitch 1.5:
// plunge to -10 + 1.75 x 1.5, half circle out to -7.75, four clockwise half turns down by
// 0.75 each, half circle back to the axis.
const std::string kInsideHelix = nciLines({
    "1", "0 0 0 -7.375 100 0",               //
    "2", "0 0 -7 0 -3.5 0 -7.75 100 0 0 ",   //
    "2", "0 0 7 0 0 0 -8.875 100 0 0 ",      //
    "2", "0 0 -7 0 0 0 -9.625 100 0 0 ",     //
    "2", "0 0 7 0 0 0 -10.375 100 0 0 ",     //
    "2", "0 0 -7 0 0 0 -11.125 100 0 0 ",    //
    "2", "0 0 0 0 -3.5 0 -11.125 100 0 0 ",  //
});
const std::string kInsideRetract = nciLines({"1", "0 0 0 2 100 0", "0", "0 0 0 20 100 0"});

TEST(ThreadMilling, CycleWithoutCountersinkParameters) {
    // Cycle 262: no countersinking depth, clearance or front offset. The pre-drill feeds to the
    // surface and dwells 0; the side countersink runs at the surface on radius 12 - 5 = 7,
    // entered on an arc about (6.5, 0); the front countersink is skipped (0 is not above 0.5).
    auto c = thread<NCIThreadMilling>();
    c->SetValue(2, -0.0);
    c->SetValue(18, 10.0);
    EXPECT_EQ(runCycle(*c), nciLines({"0", "0 0 0 2 100 0", "1", "0 0 0 0 100 0", "4", "0 1 0",  //
                                      "1", "0 6.5 -0.5 0 100 0",                                 //
                                      "3", "0 0 7 0 6.5 0 0 100 0 0 ",                           //
                                      "3", "0 0 7 0 0 0 0 100 0 1",                              //
                                      "3", "0 0 6.5 0.5 6.5 0 0 100 0 0 ",                       //
                                      "1", "0 0 0 0 100 0"}) +
                                kInsideHelix + kInsideRetract);
}

TEST(ThreadMilling, CountersinksAtTheSideAndTheFront) {
    // Countersinking depth 3 (pre-drill), clearance to the side 1: path radius 12 - 5 - 1 = 6.
    // Front: 1 deep, offset 9 from the axis.
    auto c = thread<NCIThreadMilling>();
    c->SetValue(2, 3.0);
    c->SetValue(14, 1.0);
    c->SetValue(15, 9.0);
    c->SetValue(16, 1.0);
    c->SetValue(18, 10.0);
    EXPECT_EQ(runCycle(*c), nciLines({"0",
                                      "0 0 0 2 100 0",
                                      "1",
                                      "0 0 0 -3 100 0",
                                      "4",
                                      "0 1 0",  //
                                      "1",
                                      "0 5.5 -0.5 -3 100 0",
                                      "3",
                                      "0 0 6 0 5.5 0 -3 100 0 0 ",
                                      "3",
                                      "0 0 6 0 0 0 -3 100 0 1",
                                      "3",
                                      "0 0 5.5 0.5 5.5 0 -3 100 0 0 ",
                                      "1",
                                      "0 0 0 -3 100 0",  //
                                      "1",
                                      "0 0 0 -1 100 0",
                                      "1",
                                      "0 8.5 -0.5 -1 100 0",
                                      "3",
                                      "0 0 9 0 8.5 0 -1 100 0 0 ",
                                      "3",
                                      "0 0 9 0 0 0 -1 100 0 1",
                                      "3",
                                      "0 0 8.5 0.5 8.5 0 -1 100 0 0 ",
                                      "1",
                                      "0 0 0 -1 100 0"}) +
                                kInsideHelix + kInsideRetract);
}

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
        EXPECT_EQ(test::countRecords(nci, "2") + test::countRecords(nci, "3"), k.arcs) << k.what;
        EXPECT_TRUE(nci.ends_with(kInsideRetract)) << k.what;
    }
    auto raised = thread<NCIThreadMilling>();
    raised->SetValue(13, 3.0);
    runCycle(*raised);
    EXPECT_EQ(raised->value(13), 5.0);
}

TEST(ThreadMilling, PreDrillPecksWhenAnInfeedIsGiven) {
    // The writers give no infeed, but the pre-drill is the pecking of deep drilling: with an
    // infeed of 2 down to 5 it breaks the chip at 2 and 4 (at feed, flag 8 being false).
    auto c = thread<NCIThreadMilling>();
    c->SetValue(2, 5.0);
    c->SetValue(10, 2.0);
    c->SetValue(13, 5.0);  // no thread, no countersink: only the drilling
    EXPECT_EQ(runCycle(*c), nciLines({"0", "0 0 0 2 100 0", "1", "0 0 0 -2 100 0", "1",
                                      "0 0 0 -2 100 0", "1", "0 0 0 -4 100 0", "1",
                                      "0 0 0 -4 100 0", "1", "0 0 0 -5 100 0", "4", "0 1 0"}) +
                                kInsideRetract);
}

TEST(ThreadMilling, RetractToTheStartHeightWithRapidRetract) {
    auto c = thread<NCIThreadMilling>({10.0, 20.0, 30.0, 40.0, 0.0});
    c->SetValue(13, 5.0);
    c->SetFlag(8, true);
    c->SetFlag(5, true);
    EXPECT_EQ(runCycle(*c), nciLines({"0", "0 20 30 2 100 0", "1", "0 20 30 0 100 0", "4", "0 1 0",
                                      "0", "0 20 30 40 100 0"}));
}

TEST(OutsideThread, FrontCountersinkThenHelixRoundTheStud) {
    // Front countersink 1 deep at offset 13: beside the stud at 13 + 4 x 0.5 = 15, lead arcs
    // clockwise about (13.5, 0), the circle counter-clockwise so that it runs on tangentially.
    // Thread 10 deep: the tool centre turns at 5 + 12 = 17, entering and leaving on half circles
    // of radius 1 from 19 out.
    auto c = thread<NCIOutsideThread>();
    c->SetValue(2, 10.0);
    c->SetValue(14, 1.0);
    c->SetValue(15, 13.0);
    NciStream out;
    const CyclePosition end = c->Run(out);
    EXPECT_EQ(out.view(), nciLines({"0", "0 0 0 2 100 0",
                                    "1", "0 0 0 0 100 0",  //
                                    "1", "0 15 0 0 100 0",
                                    "1", "0 15 0 -1 100 0",
                                    "1", "0 13.5 -0.5 -1 100 0",             //
                                    "2", "0 0 13 0 13.5 0 -1 100 0 0 ",      //
                                    "3", "0 0 13 0 0 0 -1 100 0 1",          //
                                    "2", "0 0 13.5 0.5 13.5 0 -1 100 0 0 ",  //
                                    "1", "0 15 0 -1 100 0",
                                    "1", "0 15 0 0 100 0",  //
                                    "1", "0 -19 0 0 100 0",
                                    "1", "0 -19 0 -7.375 100 0",
                                    "2", "0 0 -17 0 -18 0 -7.75 100 0 0 ",    //
                                    "3", "0 0 17 0 0 0 -8.875 100 0 0 ",      //
                                    "3", "0 0 -17 0 0 0 -9.625 100 0 0 ",     //
                                    "3", "0 0 17 0 0 0 -10.375 100 0 0 ",     //
                                    "3", "0 0 -17 0 0 0 -11.125 100 0 0 ",    //
                                    "2", "0 0 -19 0 -18 0 -11.125 100 0 0 ",  //
                                    "1", "0 -19 0 0 100 0",
                                    "1", "0 0 0 0 100 0",  //
                                    "0", "0 0 0 20 100 0"}));
    EXPECT_EQ(end.z, 20.0);
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
