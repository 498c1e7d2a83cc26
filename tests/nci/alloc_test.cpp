// Per-block work allocates nothing once the writer is warmed up: the variables, the G-code list,
// the axis values and the record lines reuse their storage. Counts every allocation through a
// replaced global operator new (alloc_counter.cpp), which is why this test has an executable of
// its own.
#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "frame_harness.h"
#include "writer/nci_frame.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane::test {
extern std::atomic<long> allocationCount;
}  // namespace morvane::test

namespace morvane {
namespace {

template <class Frame>
long allocationsPerProgram() {
    const char* const program[] = {
        "G0 X0 Y0 Z50",        "G1 Z-1 F200 G41", "G1 X10 Y0",  "G2 X20 Y0 R5",
        "G3 X20 Y10 I20 J5",   "G1 X0 Y10 M#8",   "G40 G0 Z50", "T2 M6 S1200",
        "G17 G2 X0 Y10 I0 J5", "G24 R1",          "X5",
    };
    block b;
    ParamMap params;
    b.params = &params;
    const std::vector<double> axes(6, 0.0);
    NciStream out;
    test::WriterOf<Frame> frame;
    frame.SetSupportedCycles({});
    // First pass: capacities grow to what the program needs.
    for (const char* words : program) {
        test::fillBlock(b, words);
        frame.LoadBlock(b, axes);
        frame.WriteBlock(out);
    }
    out.clear();
    const long before = test::allocationCount.load();
    for (int pass = 0; pass < 10; ++pass) {
        for (const char* words : program) {
            test::fillBlock(b, words);
            frame.LoadBlock(b, axes);
            frame.WriteBlock(out);
        }
        out.clear();
    }
    return test::allocationCount.load() - before;
}

TEST(PerBlockCost, TheCounterSeesAllocations) {
    const long before = test::allocationCount.load();
    {
        std::vector<double> values(100);
        values.push_back(1.0);  // grows: a second allocation
    }
    EXPECT_EQ(test::allocationCount.load() - before, 2);
}

TEST(PerBlockCost, ConversationalFrameAllocatesNothingPerBlock) {
    EXPECT_EQ(allocationsPerProgram<NCIFrame>(), 0);
}

TEST(PerBlockCost, IsoFrameAllocatesNothingPerBlock) {
    EXPECT_EQ(allocationsPerProgram<NCIFrameFanuc>(), 0);
}

}  // namespace
}  // namespace morvane
