// Special records beyond one block's words (nci/records.txt has those): the message and the
// comment with their order in a block, and the program end that stays in force for the run loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_harness.h"
#include "writer/nci_frame.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane {
namespace {

using test::FrameHarness;

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
