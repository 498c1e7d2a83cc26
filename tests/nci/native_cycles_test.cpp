// The post-processor's cycle patterns matched against the record masks, and cycles called by
// number. The native records of calls, repeats and G80, and the routing of the cycles written
// longhand, are rows of nci/records.txt.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cycle_probe.h"
#include "frame_harness.h"
#include "nci/native_cycle_tables.h"
#include "writer/nci_frame.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane {
namespace {

using test::CycleProbe;

SupportedCycle filled(std::int32_t v) {
    SupportedCycle pattern;
    pattern.fill(v);
    return pattern;
}

template <std::size_t N>
SupportedCycle maskOf(const CycleMask (&masks)[N], std::int32_t cycle) {
    for (const CycleMask& m : masks) {
        if (m.cycle == cycle) return m.mask;
    }
    ADD_FAILURE() << "no mask for cycle " << cycle;
    return filled(0);
}

struct MatchCase {
    std::int32_t patternValue;
    std::int32_t maskValue;
    bool matches;
};

// 2 in a pattern accepts anything; every other value only itself (so a 7 only 2 or 7).
TEST(CyclePatterns, FieldByFieldMatching) {
    const MatchCase cases[] = {
        {0, 0, true}, {1, 1, true}, {0, 1, false}, {1, 0, false}, {2, 0, true},  {2, 1, true},
        {2, 7, true}, {7, 7, true}, {1, 7, false}, {0, 7, false}, {7, 1, false}, {7, 0, false},
    };
    for (const MatchCase& c : cases) {
        for (const std::size_t position : {std::size_t{0}, std::size_t{6}, std::size_t{28}}) {
            test::Writer<NCIFrame> frame;
            SupportedCycle pattern = filled(1);
            SupportedCycle mask = filled(1);
            pattern[position] = c.patternValue;
            mask[position] = c.maskValue;
            frame.SetSupportedCycles({pattern});
            EXPECT_EQ(frame.IsCycleSupported(mask), c.matches)
                << "pattern " << c.patternValue << " mask " << c.maskValue << " at " << position;
        }
    }
}

TEST(CyclePatterns, AnyOfSeveralPatternsAndNoneWithoutPatterns) {
    test::Writer<NCIFrame> frame;
    EXPECT_FALSE(frame.IsCycleSupported(filled(1)));
    frame.SetSupportedCycles({filled(0), filled(1)});
    EXPECT_TRUE(frame.IsCycleSupported(filled(1)));
    EXPECT_TRUE(frame.IsCycleSupported(filled(0)));
    EXPECT_FALSE(frame.IsCycleSupported(filled(7)));
}

// A mask marks exactly the fields of the native record that carry a value. The old pecking
// cycle 1001 is supported through 205's mask, so it is left out here.
template <std::size_t NM, std::size_t NL>
void expectMasksMatchLines(const CycleMask (&masks)[NM], const NativeCycleLine (&lines)[NL]) {
    for (const NativeCycleLine& line : lines) {
        if (line.cycle == 1001) continue;
        const SupportedCycle mask = maskOf(masks, line.cycle);
        for (std::size_t i = 0; i < kCycleFieldCount; ++i) {
            if (mask[i] != 0 && mask[i] != 1) continue;  // G82's 7
            EXPECT_EQ(mask[i] == 1, !line.fields[i].isZero())
                << "cycle " << line.cycle << " field " << i;
        }
    }
}

TEST(NativeCycleLines, MasksMarkTheFieldsThatCarryValues) {
    expectMasksMatchLines(kFrameCycleMasks, kFrameCycleLines);
    expectMasksMatchLines(kFanucCycleMasks, kFanucCycleLines);
}

TEST(CycleRouting, WriteCycleByNumberKnowsOnlyTheAlwaysExpandedCycles) {
    CycleProbe<NCIFrame> frame;
    NciStream out;
    for (const int cycle : {200, 205, 1001, 216, 0, -5})
        frame.WriteCycleByNumber(cycle, out);
    EXPECT_EQ(out.view(), "");
    frame.WriteCycleByNumber(262, out);
    frame.WriteCycleByNumber(1005, out);
    EXPECT_EQ(out.view(), "<263>\n<1005>\n");
}

}  // namespace
}  // namespace morvane
