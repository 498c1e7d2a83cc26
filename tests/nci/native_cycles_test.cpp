// Drill cycles written natively: matching the post-processor's patterns against the record
// masks, the native record lines of both frames, repeated calls and G80; and the routing of every
// other cycle call to its longhand writer.
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
using test::expandZeros;
using test::FrameHarness;

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

struct ListCase {
    const char* what;
    SupportedCycleList patterns;
    std::vector<std::int32_t> list;
};

TEST(CyclePatterns, ConversationalSupportedCycleList) {
    const ListCase cases[] = {
        {"no patterns", {}, {}},
        {"anything goes", {filled(2)}, {200, 201, 202, 203, 204, 205, 1001, 206, 207, 209}},
        {"pecking 205 brings the old pecking cycle", {maskOf(kFrameCycleMasks, 205)}, {205, 1001}},
        {"exactly 200", {maskOf(kFrameCycleMasks, 200)}, {200}},
        {"two patterns",
         {maskOf(kFrameCycleMasks, 209), maskOf(kFrameCycleMasks, 201)},
         {201, 209}},
        {"every field supported", {filled(1)}, {}},
    };
    for (const ListCase& c : cases) {
        CycleProbe<NCIFrame> frame;
        frame.SetSupportedCycles(c.patterns);
        EXPECT_EQ(frame.supportedList(), c.list) << c.what;
    }
}

TEST(CyclePatterns, IsoSupportedCycleList) {
    SupportedCycle g82WithPlainDwell = maskOf(kFanucCycleMasks, 82);
    g82WithPlainDwell[6] = 1;
    SupportedCycle g82WithEither = g82WithPlainDwell;
    g82WithEither[6] = 2;
    const ListCase cases[] = {
        {"anything goes", {filled(2)}, {73, 74, 76, 81, 82, 83, 206, 207, 209}},
        {"G73 and G83 have the same fields", {maskOf(kFanucCycleMasks, 73)}, {73, 83}},
        {"G81", {maskOf(kFanucCycleMasks, 81)}, {81}},
        {"G82 field 6 needs 7", {maskOf(kFanucCycleMasks, 82)}, {82}},
        {"G82 with 1 in field 6", {g82WithPlainDwell}, {}},
        {"G82 with 2 in field 6", {g82WithEither}, {82}},
        {"G74 and 206", {maskOf(kFanucCycleMasks, 206), maskOf(kFanucCycleMasks, 74)}, {74, 206}},
    };
    for (const ListCase& c : cases) {
        CycleProbe<NCIFrameFanuc> frame;
        frame.SetSupportedCycles(c.patterns);
        EXPECT_EQ(frame.supportedList(), c.list) << c.what;
    }
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

struct NativeCase {
    const char* define;
    const char* line;  // "0*n" stands for n zero fields
};

// The native lines of every conversational drill cycle, and of G73, G81, G82 and G83, are golden
// programs (tests/golden/*/cycles_drilling, heidenhain/cycles).
TEST(NativeCycleLines, ConversationalCallThenRepeats) {
    FrameHarness<NCIFrame> h;
    h.params = {{200, 2}, {201, -20}, {202, 5}, {203, 0}, {204, 50}, {206, 150}, {211, 0.5}};
    h.frame.SetSupportedCycles({maskOf(kFrameCycleMasks, 200)});
    EXPECT_EQ(h.writeAll({"G0 X10 Y20 Z100", "G200"}), "0\n0 10 20 100 -2 0\n");
    EXPECT_EQ(h.write("M#99"),
              "91081\n" + expandZeros("1 10 20 100 50 2 0 20 150 0 0.5 0 0 5 0*14 -1") + "\n");
    EXPECT_EQ(h.frame.GetBlockCode(), 91081);
    // The tool waits at the second clearance (Q203 + Q204) after the cycle.
    EXPECT_EQ(h.write("X30 M#99"), "91083\n30 20 50 50\n0\n0 30 20 50 -2 0\n");
    EXPECT_EQ(h.frame.GetBlockCode(), 91083);
    EXPECT_EQ(h.write("X40"), "0\n0 40 20 50 -2 0\n");
    // Defining the cycle again makes the next call a first call.
    h.write("G200");
    EXPECT_EQ(h.write("M#99").substr(0, 6), "91081\n");
}

TEST(NativeCycleLines, IsoCycles) {
    const NativeCase cases[] = {
        {"G74", "3 0 0 50 50 48 0 12 100 0 500 0*9 5 0*7 -1"},
        {"G76", "2 0 0 50 50 48 0 12 100 0 500 0*10 3 0*6 -1"},
    };
    for (const NativeCase& c : cases) {
        FrameHarness<NCIFrameFanuc> h;
        h.frame.SetSupportedCycles({filled(2)});
        h.write("G0 X0 Y0 Z50");
        EXPECT_EQ(h.write(std::string(c.define) + " X0 Y0 Z-10 R2 F100 P500 Q3 S500"),
                  "91081\n" + expandZeros(c.line) + "\n0\n0 0 0 48 -2 0\n")
            << c.define;
    }
}

TEST(NativeCycleLines, IsoG80EndsTheCycleAndNothingElseOfItsBlock) {
    FrameHarness<NCIFrameFanuc> h;
    h.frame.SetSupportedCycles({maskOf(kFanucCycleMasks, 81)});
    h.writeAll({"G0 X0 Y0 Z50", "G81 X0 Y0 Z-10 R2 F100"});
    EXPECT_EQ(h.frame.GetBlockCode(), 91081);
    EXPECT_EQ(h.write("X10").substr(0, 6), "91083\n");  // repeats: the golden native_drilling
    EXPECT_EQ(h.frame.GetBlockCode(), 91083);
    EXPECT_EQ(h.write("G80 G0 Z100", "END OF HOLES"), "1005\nEND OF HOLES\n91080\n0 0 0\n");
    EXPECT_EQ(h.frame.GetBlockCode(), -1);
    EXPECT_EQ(h.write("X5"), "0\n0 5 0 100 -2 0\n");
    EXPECT_EQ(h.write("G80"), "");  // no cycle open
}

// Drill cycles without a native pattern, and 208 always, go to their longhand writers: the
// golden programs of tests/golden/heidenhain/cycles_drilling.
TEST(CycleRouting, CyclesFrom210AreAlwaysExpanded) {
    const std::vector<std::pair<int, int>> routes = {
        {210, 210}, {211, 211}, {212, 212}, {213, 213},   {214, 214},   {215, 215},   {221, 221},
        {230, 230}, {231, 231}, {232, 232}, {251, 251},   {252, 252},   {253, 253},   {254, 254},
        {262, 263}, {263, 263}, {267, 267}, {1003, 1003}, {1004, 1004}, {1005, 1005},
    };
    for (const auto& [cycle, writer] : routes) {
        FrameHarness<CycleProbe<NCIFrame>> h;
        h.frame.SetSupportedCycles({filled(2)});
        h.write("G" + std::to_string(cycle));
        const std::string expected = "<" + std::to_string(writer) + ">\n";
        EXPECT_EQ(h.write("M#99"), expected) << cycle;
        EXPECT_EQ(h.write("X3 M#99"), expected) << cycle;
        EXPECT_EQ(h.frame.GetBlockCode(), 91000 + cycle);
    }
}

TEST(CycleRouting, ACallWithoutADefinedCycleWritesNothing) {
    FrameHarness<CycleProbe<NCIFrame>> h;
    EXPECT_EQ(h.write("M#99"), "");
    EXPECT_EQ(h.write("M#99"), "");
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

TEST(CycleRouting, IsoDrillCyclesGoToTheDrillingWriterWhenNotSupported) {
    const std::pair<const char*, bool> cycles[] = {
        {"G73", true},  {"G74", true},  {"G76", true},  {"G81", true},
        {"G82", true},  {"G83", true},  {"G84", false}, {"G85", false},
        {"G86", false}, {"G87", false}, {"G88", false},
    };
    for (const auto& [g, native] : cycles) {
        FrameHarness<CycleProbe<NCIFrameFanuc>> h;
        h.frame.SetSupportedCycles({filled(2)});
        h.write("G0 X0 Y0 Z50");
        const std::string first = h.write(std::string(g) + " X0 Y0 Z-10 R2 F100");
        const std::string repeat = h.write("X10");
        if (native) {
            EXPECT_EQ(first.substr(0, 6), "91081\n") << g;
            EXPECT_EQ(repeat.substr(0, 6), "91083\n") << g;
        } else {
            EXPECT_EQ(first, "<200>\n") << g;
            EXPECT_EQ(repeat, "<200>\n") << g;
        }
        EXPECT_EQ(h.write("G80"), "91080\n0 0 0\n") << g;
    }
}

}  // namespace
}  // namespace morvane
