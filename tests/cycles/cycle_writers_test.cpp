// The longhand cycle writers at the writer level: blocks filled by hand, loaded and written by an
// NCI frame with no native cycles, and the exact NCI text of each cycle call. First and repeated
// calls of every drilling cycle, in both dialects, are golden programs
// (tests/golden/*/cycles_drilling).
#include <gtest/gtest.h>

#include <string>

#include "nci/frame_harness.h"
#include "writer/nci_frame.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::FrameHarness;

using test::nciLines;

// Drilling parameters of the cases below: clearance 2, depth -10, surface 0, second clearance
// 50, feed 150, no dwell.
void drillingParameters(ParamMap& q) {
    q[200] = 2.0;
    q[201] = -10.0;
    q[203] = 0.0;
    q[204] = 50.0;
    q[206] = 150.0;
    q[211] = 0.0;
}

// A conversational frame with tool 3 of diameter 8 at X10 Y20 Z100, spindle 2000.
class LonghandCycles : public testing::Test {
  protected:
    void SetUp() override {
        h.frame.SetSupportedCycles({});
        drillingParameters(h.params);
        h.writeAll({"G99 D8", "M#6 T#3 S2000", "G0 X10 Y20 Z100"});
    }
    FrameHarness<NCIFrame> h;
};

TEST_F(LonghandCycles, HeadLinesCarryTheBlocksToolFeedPlaneAndCompensation) {
    h.write("G201");
    h.write("T#0 G18");
    EXPECT_EQ(h.write("G41 F320 M#99"),
              nciLines({"1005", "Cycle 201", "1000", "0 0 0 1 8 0 1 2000 320 0 10 20 100 0 0 ", "1",
                        "41 10 20 100 320 0",                              //
                        "0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0",  //
                        "4", "0 1 0", "1", "0 10 20 2 150 0",              // feed out
                        "0", "0 10 20 50 150 0", "999", "0 0 0"}));
}

TEST_F(LonghandCycles, OldPeckingWithoutZWordMeasuresTheSurfaceFromTheCurrentZ) {
    // CYCL DEF 1: set-up clearance 2 (Q204 = 0), depth 10, pecking 4, feed 150. Called without
    // a Z word at Z12: the surface is 12 - 2 = 10; the set-up clearance is also the second
    // clearance, so the tool ends at 12, where it was called.
    h.params.clear();
    h.params[200] = 2.0;
    h.params[201] = 10.0;
    h.params[202] = 4.0;
    h.params[206] = 150.0;
    h.write("G1001");
    h.write("G0 Z12");
    const std::string expected =
        "1005\nCYCL 1.0\n1000\n0 0 0 3 8 0 0 2000 -1 0 10 20 12 0 0 \n1\n0 10 20 12 -1 0\n"
        "0\n0 10 20 12 150 0\n"
        "1\n0 10 20 6 150 0\n0\n0 10 20 12 150 0\n0\n0 10 20 8 150 0\n"
        "1\n0 10 20 2 150 0\n0\n0 10 20 12 150 0\n0\n0 10 20 4 150 0\n"
        "1\n0 10 20 0 150 0\n4\n0 1 0\n0\n0 10 20 12 150 0\n999\n0 0 0\n";
    EXPECT_EQ(h.write("M#99"), expected);
}

TEST_F(LonghandCycles, CyclesWithoutDrillingHeadAndCycle221) {
    // The pocket writer has no "1" head line; its cycle is built and handed its parameters.
    h.write("G251");
    const std::string pocket = h.write("M#99");
    const std::string head = "1005\nCYCLE DEF 251\n1000\n0 0 0 3 8 0 0 2000 -1 0 10 20 100 0 0 \n";
    EXPECT_EQ(pocket.substr(0, head.size()), head);
    EXPECT_EQ(pocket.substr(pocket.size() - 10), "999\n0 0 0\n");
    EXPECT_EQ(pocket.find("\n1\n0 10 20 100"), std::string::npos);
    // Cycle 262 is written by the thread milling writer of 263.
    h.write("G262");
    EXPECT_EQ(h.write("M#99").substr(0, 19), "1005\nCYCLE DEF 263\n");
    // Cycle 221 writes nothing at all.
    h.write("G221");
    EXPECT_EQ(h.write("M#99"), "");
}

}  // namespace
}  // namespace morvane
