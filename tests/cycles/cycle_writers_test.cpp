// The longhand cycle writers at the writer level: blocks filled by hand, loaded and written by an
// NCI frame with no native cycles, and the exact NCI text of each cycle call.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "cycles/cycle_errors.h"
#include "nci/frame_harness.h"
#include "nci/nci_frame.h"
#include "nci/nci_frame_fanuc.h"

namespace morvane {
namespace {

using test::FrameHarness;

std::string lines(std::initializer_list<const char*> text) {
    std::string all;
    for (const char* line : text)
        (all += line) += '\n';
    return all;
}

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

TEST_F(LonghandCycles, DrillingFirstAndRepeatedCall) {
    EXPECT_EQ(h.write("G200"), "");
    EXPECT_EQ(h.write("M#99"), lines({"1005", "Drilling cycle", "1000",
                                      "0 0 0 3 8 0 0 2000 -1 0 10 20 100 0 0 ", "1",
                                      "0 10 20 100 -1 0",        //
                                      "0", "0 10 20 2 150 0",    // clearance
                                      "1", "0 10 20 -10 150 0",  // depth
                                      "4", "0 1 0",              // dwell
                                      "0", "0 10 20 50 150 0",   // surface + Q204
                                      "999", "0 0 0"}));
    // The next call starts where the first ended, 50 above the surface; the block's move is not
    // written, the cycle takes the tool to the new position.
    EXPECT_EQ(h.write("X30 Y-5 M#99"),
              lines({"1005", "Drilling cycle", "1000", "0 0 0 3 8 0 0 2000 -1 0 30 -5 50 0 0 ", "1",
                     "0 30 -5 50 -1 0", "0", "0 30 -5 2 150 0", "1", "0 30 -5 -10 150 0", "4",
                     "0 1 0", "0", "0 30 -5 50 150 0", "999", "0 0 0"}));
    // Afterwards an ordinary move starts from the end of the cycle.
    EXPECT_EQ(h.write("G1 X40 F500"), lines({"1", "0 40 -5 50 500 0"}));
}

TEST_F(LonghandCycles, HeadLinesCarryTheBlocksToolFeedPlaneAndCompensation) {
    h.write("G201");
    h.write("T#0 G18");
    EXPECT_EQ(h.write("G41 F320 M#99"),
              lines({"1005", "Cycle 201", "1000", "0 0 0 1 8 0 1 2000 320 0 10 20 100 0 0 ", "1",
                     "41 10 20 100 320 0",                              //
                     "0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0",  //
                     "4", "0 1 0", "1", "0 10 20 2 150 0",              // feed out
                     "0", "0 10 20 50 150 0", "999", "0 0 0"}));
}

TEST_F(LonghandCycles, LabelsAndPeckingOfTheDrillingFamily) {
    struct Case {
        const char* define;
        const char* label;
        std::string moves;  // between the head lines and the operation end
    };
    h.params[202] = 4.0;
    h.params[211] = 0.5;
    const Case cases[] = {
        {"G202", "Cycle 202",
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0.5 1 0", "1",
                "0 10 20 2 150 0", "0", "0 10 20 50 150 0"})},
        // 203: infeed Q203 - Q201 = 10, the whole depth; feed back out.
        {"G203", "Cycl 203",
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0.5 1 0", "1",
                "0 10 20 2 150 0", "0", "0 10 20 50 150 0"})},
        // 205: pecks of Q202 = 4 with full retract at feed, rapid back to 2 above the last depth.
        {"G205", "Cycl 205",
         lines({"0", "0 10 20 2 150 0",                                                     //
                "1", "0 10 20 -4 150 0",  "1", "0 10 20 2 150 0", "0", "0 10 20 -2 150 0",  //
                "1", "0 10 20 -8 150 0",  "1", "0 10 20 2 150 0", "0", "0 10 20 -6 150 0",  //
                "1", "0 10 20 -10 150 0", "4", "0.5 1 0",         "1", "0 10 20 2 150 0",
                "0", "0 10 20 50 150 0"})},
        {"G206", "Cycle 206",
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0.5 1 0", "0",
                "0 10 20 50 150 0"})},
        // 207 and 209 never dwell.
        {"G207", "Cycle 207",
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0",
                "0 10 20 50 150 0"})},
        {"G209", "Cycle 209",
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0",
                "0 10 20 50 150 0"})},
    };
    for (const Case& c : cases) {
        h.write(c.define);
        const std::string head = std::string("1005\n") + c.label +
                                 "\n1000\n0 0 0 3 8 0 0 2000 -1 0 10 20 100 0 0 \n1\n"
                                 "0 10 20 100 -1 0\n";
        EXPECT_EQ(h.write("G0 X10 Y20 Z100 M#99"), head + c.moves + "999\n0 0 0\n") << c.define;
    }
}

TEST_F(LonghandCycles, BackBoringMeasuresFromTheUnderside) {
    // Q249 = 5, Q203 = 0, Q204 = 50, Q252 = 40: depth 15 below the surface, infeed 10,
    // chip breaking at rapid (Q252 brings no chip-break distance: the break stays at the depth).
    h.params[249] = 5.0;
    h.params[252] = 40.0;
    h.params[255] = 1.0;
    h.write("G204");
    EXPECT_EQ(h.write("M#99"), lines({"1005",
                                      "Cycle 204",
                                      "1000",
                                      "0 0 0 3 8 0 0 2000 -1 0 10 20 100 0 0 ",
                                      "1",
                                      "0 10 20 100 -1 0",  //
                                      "0",
                                      "0 10 20 2 150 0",  //
                                      "1",
                                      "0 10 20 -10 150 0",
                                      "0",
                                      "0 10 20 -10 150 0",  //
                                      "1",
                                      "0 10 20 -15 150 0",
                                      "4",
                                      "1 1 0",
                                      "0",
                                      "0 10 20 50 150 0",  //
                                      "999",
                                      "0 0 0"}));
}

TEST_F(LonghandCycles, BoreMillingWithToolEqualToAndSmallerThanTheBore) {
    h.params[201] = -5.0;
    h.params[334] = 2.0;
    h.params[335] = 8.0;  // the tool's diameter
    h.write("G208");
    EXPECT_EQ(h.write("M#99"), lines({"1005",
                                      "Cycle 208",
                                      "1000",
                                      "0 0 0 3 8 0 0 2000 -1 0 10 20 100 0 0 ",
                                      "1",
                                      "0 10 20 100 -1 0",  //
                                      "0",
                                      "0 10 20 2 150 0",  //
                                      "3",
                                      "0 0 10 20 10 20 0 150 0 1",  //
                                      "3",
                                      "0 0 10 20 10 20 -2 150 0 1",  //
                                      "3",
                                      "0 0 10 20 10 20 -4 150 0 1",  //
                                      "3",
                                      "0 0 10 20 10 20 -5 150 0 1",  //
                                      "3",
                                      "0 0 10 20 10 20 -5 150 0 1",  //
                                      "0",
                                      "0 10 20 50 150 0",
                                      "999",
                                      "0 0 0"}));
    // Bore 12 with the tool of 8: the tool centre runs on diameter 4, out and back on half
    // circles of radius 1 round X11 and X9... of the bore axis X10.
    h.params[335] = 12.0;
    EXPECT_EQ(h.write("G0 X10 Y20 Z100 M#99"), lines({"1005",
                                                      "Cycle 208",
                                                      "1000",
                                                      "0 0 0 3 8 0 0 2000 -1 0 10 20 100 0 0 ",
                                                      "1",
                                                      "0 10 20 100 -1 0",  //
                                                      "0",
                                                      "0 10 20 2 150 0",  //
                                                      "3",
                                                      "0 0 12 20 11 20 2 150 0 0 ",  //
                                                      "3",
                                                      "0 0 12 20 10 20 0 150 0 1",  //
                                                      "3",
                                                      "0 0 12 20 10 20 -2 150 0 1",  //
                                                      "3",
                                                      "0 0 12 20 10 20 -4 150 0 1",  //
                                                      "3",
                                                      "0 0 12 20 10 20 -5 150 0 1",  //
                                                      "3",
                                                      "0 0 12 20 10 20 -5 150 0 1",  //
                                                      "3",
                                                      "0 0 10 20 11 20 -5 150 0 0 ",  //
                                                      "0",
                                                      "0 10 20 50 150 0",
                                                      "999",
                                                      "0 0 0"}));
}

TEST_F(LonghandCycles, OldPeckingMeasuresTheSurfaceFromTheCall) {
    // CYCL DEF 1: set-up clearance 2 (Q204 = 0), depth 10, pecking 4, dwell 0, feed 150.
    h.params.clear();
    h.params[200] = 2.0;
    h.params[204] = 0.0;
    h.params[201] = 10.0;
    h.params[202] = 4.0;
    h.params[211] = 0.0;
    h.params[206] = 150.0;
    h.write("G1001");
    h.write("G0 Z12");
    // Without a Z word in the call the surface is the current Z 12 - 2 = 10; the set-up
    // clearance is also the second clearance, so the tool ends at 12, where it was called.
    EXPECT_EQ(h.write("M#99"), lines({"1005",
                                      "CYCL 1.0",
                                      "1000",
                                      "0 0 0 3 8 0 0 2000 -1 0 10 20 12 0 0 ",
                                      "1",
                                      "0 10 20 12 -1 0",  //
                                      "0",
                                      "0 10 20 12 150 0",  //
                                      "1",
                                      "0 10 20 6 150 0",
                                      "0",
                                      "0 10 20 12 150 0",
                                      "0",
                                      "0 10 20 8 150 0",  //
                                      "1",
                                      "0 10 20 2 150 0",
                                      "0",
                                      "0 10 20 12 150 0",
                                      "0",
                                      "0 10 20 4 150 0",  //
                                      "1",
                                      "0 10 20 0 150 0",
                                      "4",
                                      "0 1 0",
                                      "0",
                                      "0 10 20 12 150 0",  //
                                      "999",
                                      "0 0 0"}));
    // With a Z word the surface is that Z less the clearance: 7 - 2 = 5.
    EXPECT_EQ(h.write("Z7 M#99"), lines({"1005",
                                         "CYCL 1.0",
                                         "1000",
                                         "0 0 0 3 8 0 0 2000 -1 0 10 20 7 0 0 ",
                                         "1",
                                         "0 10 20 7 -1 0",  //
                                         "0",
                                         "0 10 20 7 150 0",  //
                                         "1",
                                         "0 10 20 1 150 0",
                                         "0",
                                         "0 10 20 7 150 0",
                                         "0",
                                         "0 10 20 3 150 0",  //
                                         "1",
                                         "0 10 20 -3 150 0",
                                         "0",
                                         "0 10 20 7 150 0",
                                         "0",
                                         "0 10 20 -1 150 0",  //
                                         "1",
                                         "0 10 20 -5 150 0",
                                         "4",
                                         "0 1 0",
                                         "0",
                                         "0 10 20 7 150 0",  //
                                         "999",
                                         "0 0 0"}));
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

TEST_F(LonghandCycles, ARejectedDwellEndsTheBlockAfterTheHeadLines) {
    h.params[211] = -1.0;
    h.write("G200");
    block& b = h.currentBlock();
    test::fillBlock(b, "M#99");
    h.frame.LoadBlock(b, h.axes);
    NciStream out;
    EXPECT_THROW(h.frame.WriteBlock(out), CycleWrongValue);
    EXPECT_EQ(out.view(),
              lines({"1005", "Drilling cycle", "1000", "0 0 0 3 8 0 0 2000 -1 0 10 20 100 0 0 ",
                     "1", "0 10 20 100 -1 0"}));
}

TEST(LonghandIsoCycles, UnsupportedDrillCyclesGoToTheDrillingWriter) {
    // An ISO program sets no Q parameters: the hole is drilled with every height 0; the head
    // lines carry the block's position at the initial level, its feed and speed.
    FrameHarness<NCIFrameFanuc> h;
    h.frame.SetSupportedCycles({});
    h.writeAll({"M#6 T#2 S1200", "G0 X0 Y0 Z50"});
    EXPECT_EQ(h.write("G81 X10 Y20 Z-10 R2 F100"),
              lines({"1005", "Drilling cycle", "1000", "0 0 0 2 10 0 0 1200 100 0 10 20 50 0 0 ",
                     "1", "0 10 20 50 100 0", "0", "0 10 20 0 0 0", "1", "0 10 20 0 0 0", "4",
                     "0 1 0", "0", "0 10 20 0 0 0", "999", "0 0 0"}));
    // A further position repeats the hole there, from where the last one ended.
    EXPECT_EQ(h.write("X30"),
              lines({"1005", "Drilling cycle", "1000", "0 0 0 2 10 0 0 1200 -1 0 30 20 0 0 0 ", "1",
                     "0 30 20 0 -1 0", "0", "0 30 20 0 0 0", "1", "0 30 20 0 0 0", "4", "0 1 0",
                     "0", "0 30 20 0 0 0", "999", "0 0 0"}));
    // Pecking G83 goes the same way, whatever its number.
    const std::string pecking = h.write("G83 X40 Z-5 R1 Q2 F80");
    const std::string head =
        "1005\nDrilling cycle\n1000\n0 0 0 2 10 0 0 1200 80 0 40 20 0 0 0 \n1\n0 40 20 0 80 0\n";
    EXPECT_EQ(pecking.substr(0, head.size()), head);
    EXPECT_EQ(h.write("G80"), lines({"91080", "0 0 0"}));
}

TEST(LonghandIsoCycles, QParametersOfTheProgramDriveTheHole) {
    FrameHarness<NCIFrameFanuc> h;
    h.frame.SetSupportedCycles({});
    drillingParameters(h.params);
    h.write("G0 X5 Y5 Z20");
    EXPECT_EQ(h.write("G82 X5 Y5 Z-3 R1 P500 F60"),
              lines({"1005", "Drilling cycle", "1000", "0 0 0 1 10 0 0 0 60 0 5 5 20 0 0 ", "1",
                     "0 5 5 20 60 0", "0", "0 5 5 2 150 0", "1", "0 5 5 -10 150 0", "4", "0 1 0",
                     "0", "0 5 5 50 150 0", "999", "0 0 0"}));
}

}  // namespace
}  // namespace morvane
