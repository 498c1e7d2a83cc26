// Special records: tool change, program end, subprograms, stock blank, message, comment,
// transformations, datum; their order within a block; record codes that stay in force in the
// ISO frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_harness.h"
#include "writer/nci_frame.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane {
namespace {

using test::BlockCase;
using test::expectBlocks;
using test::FrameHarness;

const std::string kTailA = " 0 0 0 0 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0";
const std::string kTailB = " 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0";

TEST(ToolChange, ToolLineThenTheMove) {
    FrameHarness<NCIFrame> h;
    h.expectBlocks({
        {"G0 X1 Y2 Z3", "0\n0 1 2 3 -2 0\n"},
        {"T5 M6 S1200 F300", "1001\n0 0 0 5 0 0 0 1200 300 0 1 2 3 0 0 \n"},
        // T0 is written as tool 1; S stays from the block before; the move comes after.
        {"T0 M6 X4 G18", "1001\n0 0 0 1 0 0 1 1200 -1 0 4 2 3 0 0 \n0\n0 4 2 3 -2 0\n"},
    });
}

TEST(ToolChange, IsoSpindleDirectionSignsTheSpeed) {
    FrameHarness<NCIFrameFanuc> h;
    h.expectBlocks({
        {"M#4", ""},
        {"M6 T1 S1000", "1001\n0 0 0 1 0 0 0 -1000 -1 0 0 0 0 0 0 \n"},
        {"M#3", ""},
        {"M6 T2 S800 G19", "1001\n0 0 0 2 0 0 1 800 -1 0 0 0 0 0 0 \n"},
        {"M6 T3 S0", "1001\n0 0 0 3 0 0 1 0 -1 0 0 0 0 0 0 \n"},
    });
}

TEST(ConversationalRecords, EveryLayout) {
    FrameHarness<NCIFrame> h;
    h.params[339] = 3;
    h.axes = {1, 2, 3, 10, -20.5, 30};
    h.expectBlocks({
        {"M#30", "1003\n0 0 0\n"},
        {"G1019", "1019\n0 0 0\n"},
        {"G1018 L#7", "1018\n7" + kTailA + "\n"},
        {"G62 T=0.05", "1011\n0 0 0 0 0 0 0.05 0 0 0\n"},
        {"G72 X2 Z0.5", "91011\n2 1 0.5\n"},
        {"G28 X0 Z0", "91012\n1 0 1 0 0 0 0 0 0\n"},
        {"G73 C30", "91014\n0 0 30\n"},
        {"G80 A10 B-5", "91014\n10 -5 30\n"},
        {"G24 R2", "91024\n2\n"},
        {"G25 R0.5", "91025\n0.5\n"},
        {"G247", "91054\n3\n"},
        {"G5401", "9101301\n10 -20.5 30\n"},
    });
}

TEST(ConversationalRecords, SubprogramCallCarriesTheRepeatsInTheThousandths) {
    const BlockCase cases[] = {
        {"M#98 L7", "10181\n7 0 0 0 0 1"},
        {"M#98 L5.003", "10181\n5 0 0 0 0 3"},
        {"M#98 L5.25", "10181\n5 0 0 0 0 250"},
        // (5.002 - 5) x 1000 is just below 2 in binary arithmetic; (5.001 - 5) x 1000 below 1.
        {"M#98 L5.002", "10181\n5 0 0 0 0 1"},
        {"M#98 L5.001", "10181\n5 0 0 0 0 1"},
        {"M#98 L-3", "10181\n-3 0 0 0 0 1"},
    };
    for (const BlockCase& c : cases) {
        FrameHarness<NCIFrame> h;
        EXPECT_EQ(h.write(c.words), c.nci + kTailB + "\n") << c.words;
    }
}

TEST(ConversationalRecords, ToolDataSetsTheRadiusForTheSameBlock) {
    FrameHarness<NCIFrame> h;
    // G99 D12 makes R half the diameter before G25 reads it.
    EXPECT_EQ(h.write("G99 L50 D12 G25"), "91025\n6\n");
    EXPECT_EQ(h.write("G25"), "91025\n0\n");
}

TEST(StockBlank, ExtentsThenMinimumPoint) {
    FrameHarness<NCIFrame> h;
    h.expectBlocks({
        {"G30 X-10 Y-20 Z-30", ""},
        {"G31 X100 Y50 Z0", "1020\n110 70 30 -10 -20 -30 8 0 0 0 0 0 0 0 \n"},
    });
    // The blank blocks leave the position at zero; with a motion mode they also move there.
    FrameHarness<NCIFrame> moving;
    moving.expectBlocks({
        {"G1 X5 Y5 Z5", "1\n0 5 5 5 -1 0\n"},
        {"G30 X1 Y2 Z3", "1\n0 0 0 0 -1 0\n"},
        {"G31 X4 Y6 Z8.5", "1020\n3 4 5.5 1 2 3 8 0 0 0 0 0 0 0 \n1\n0 0 0 0 -1 0\n"},
    });
}

TEST(MessageAndComment, StoredTextAndRecordOrder) {
    FrameHarness<NCIFrame> h;
    h.frame.SetMessageText("PART1");
    EXPECT_EQ(h.write("G1050"), "1050\n0 0 0 0 0 0 0 0 PART1\n");
    EXPECT_EQ(h.write("", "ROUGHING"), "1005\nROUGHING\n");
    // Comment first, then the special record, then the move.
    EXPECT_EQ(h.write("G0 X1 T2 M6", "NEXT TOOL"),
              "1005\nNEXT TOOL\n1001\n0 0 0 2 0 0 0 0 -1 0 1 0 0 0 0 \n0\n0 1 0 0 -2 0\n");
    // A message text is never written as a comment, and a comment only once.
    h.frame.SetMessageText("NOT A COMMENT");
    EXPECT_EQ(h.write("X2"), "0\n0 2 0 0 -2 0\n");
    EXPECT_EQ(h.write("G1050"), "1050\n0 0 0 0 0 0 0 0 NOT A COMMENT\n");
}

TEST(IsoRecords, EveryLayout) {
    FrameHarness<NCIFrameFanuc> h;
    h.expectBlocks({
        {"G28", "91003\n0 0 0\n"},
        {"G54", "91054\n1\n"},
        {"G59", "91054\n6\n"},
        {"G24 R1.5", "91024\n1.5\n"},
        {"G25 R2", "91025\n2\n"},
        {"G92 S3000", "92\n3000\n"},
        {"G96 S200", "96\n200\n"},
        {"M#4", ""},
        {"G92 S3000", "92\n-3000\n"},
        {"G96 S200", "96\n-200\n"},
        {"M#98 P#100", "10181\n100 0 0 0 0 1" + kTailB + "\n"},
        // A P word read as a double is no integer: the label number is 0.
        {"M#98 P100", "10181\n0 0 0 0 0 1" + kTailB + "\n"},
        {"G1 X1", "1\n0 1 0 0 -1 0\n"},  // none of those stays in force
    });
    EXPECT_EQ(h.params[339], 6.0);
}

TEST(IsoRecords, RecordsThatStayInForceRepeatUntilAnotherCodeReplacesThem) {
    const std::vector<std::vector<BlockCase>> runs = {
        {{"M#30", "1003\n0 0 0\n"}, {"G1 X1", "1003\n0 0 0\n1\n0 1 0 0 -1 0\n"}},
        {{"M#99", "1019\n0 0 0\n"}, {"", "1019\n0 0 0\n"}},
        {{"G1018 P#5", "1018\n5" + kTailA + "\n"}, {"X1", "1018\n5" + kTailA + "\n"}},
        {{"G30 X-1 Y-1 Z-1", ""},
         {"G31 X1 Y1 Z0", "1020\n2 2 1 -1 -1 -1 8 0 0 0 0 0 0 0 \n"},
         {"", "1020\n2 2 1 -1 -1 -1 8 0 0 0 0 0 0 0 \n"},
         {"G28", "91003\n0 0 0\n"},
         {"", ""}},
        {{"M#30", "1003\n0 0 0\n"}, {"M6 T4", "1001\n0 0 0 4 0 0 0 0 -1 0 0 0 0 0 0 \n"}, {"", ""}},
    };
    for (const auto& run : runs) {
        FrameHarness<NCIFrameFanuc> h;
        h.expectBlocks(run);
    }
}

TEST(IsoRecords, TheProgramEndStaysInForceForTheRunLoop) {
    FrameHarness<NCIFrameFanuc> h;
    h.write("M#30");
    EXPECT_EQ(h.frame.GetBlockCode(), 1003);
    FrameHarness<NCIFrame> conversational;
    conversational.write("M#30");
    EXPECT_EQ(conversational.frame.GetBlockCode(), 1003);
    conversational.write("");
    EXPECT_EQ(conversational.frame.GetBlockCode(), -1);
}

}  // namespace
}  // namespace morvane
