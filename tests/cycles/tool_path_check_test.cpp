// The geometric self-check over the expansion variants that no golden program pins (turned,
// narrower than the tool, tools without a size, odd references): each arc's centre lies as far
// from the arc's start as from its end, at several start points, and no coordinate is a
// non-number. The check itself is tried first on paths known to be right and wrong.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "cycles/nci_milling_cycles.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::checkToolPath;
using test::countArcs;

TEST(ToolPathCheck, AcceptsASoundArcAndNamesAWrongCentre) {
    // From (10, 0) a quarter circle about the origin to (0, 10): sound. Then to (-10, 0) about
    // (0, 5): the centre is 5 from the start but 11.18 from the end.
    const std::string nci =
        "0\n0 10 0 0 100 0\n3\n0 0 0 10 0 0 0 100 0 0\n2\n0 0 -10 0 0 5 0 100 0 0\n";
    const auto problems = checkToolPath(nci);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("line 6"), std::string::npos) << problems[0];
    EXPECT_EQ(countArcs(nci), 2);
}

TEST(ToolPathCheck, NamesNonNumbers) {
    EXPECT_EQ(checkToolPath("1\n0 nan 0 0 100 0\n").size(), 1u);
    EXPECT_EQ(checkToolPath("1\n0 1 inf 0 100 0\n").size(), 1u);
    EXPECT_TRUE(checkToolPath("1005\nnan is just a comment here\n").empty());
}

using Make = std::function<std::unique_ptr<NCIGeneralCycle>(const CycleStart&)>;

// One expansion: a cycle object set up and run at a start position.
struct Expansion {
    const char* name;
    Make make;
    int minimumArcs;  // the expansion must contain at least this many arcs to be worth checking
};

// A cycle of class `Cycle` set up as the cycle writers set one up.
template <class Cycle>
Make cycle(test::Heights heights, test::Values values, test::Flags flags = {}) {
    return [=](const CycleStart& s) -> std::unique_ptr<NCIGeneralCycle> {
        return test::makeCycle<Cycle>(s, heights, values, flags);
    };
}

// The same with the tool of diameter `diameter`.
Make withTool(double diameter, Make make) {
    return [=](CycleStart s) {
        s.toolDiameter = diameter;
        return make(s);
    };
}

// Rectangular pocket, finishing and slots: depth 10 in layers of 4, second clearance 20.
constexpr test::Heights kLayered{10.0, 20.0, 250.0, 4.0};

// Round and thread families: second clearance 20, feed 300, depth and infeed per row.
constexpr test::Heights round(double depth, double infeed) {
    return {depth, 20.0, 300.0, infeed};
}

Make circularPocket(double radius, double factor, double sideAllowance, double operation) {
    return cycle<NCICircularPocket>(
        round(6.0, 2.5),
        {{13, radius}, {14, factor}, {15, sideAllowance}, {16, 0.5}, {17, 0.25}, {18, operation}});
}

// Finishing or stud round a centre off the start point.
template <class Cycle>
Make roundFinish(double radius, double blank) {
    return [=](const CycleStart& s) -> std::unique_ptr<NCIGeneralCycle> {
        return test::makeCycle<Cycle>(
            s, round(7.0, 3.0), {{13, radius}, {14, s.x + 13.25}, {15, s.y - 7.5}, {16, blank}});
    };
}

Make insideThread(double radius, double pitch, double sideClearance, double frontOffset) {
    const test::Values values = {{13, radius},        {14, 0.75},  {15, frontOffset},
                                 {16, sideClearance}, {17, pitch}, {18, 14.0}};
    return cycle<NCIThreadMilling>(round(1.5, 0.0), values, {{8, false}});
}

Make outsideThread(double radius, double pitch, double frontOffset) {
    return cycle<NCIOutsideThread>(round(12.0, 0.0),
                                   {{13, radius}, {14, 1.25}, {15, frontOffset}, {17, pitch}});
}

const Expansion kExpansions[] = {
    {"rectangular pocket with rings, turned 30 degrees, reference 3",
     cycle<NCIRectPocket>(kLayered, {{15, 40}, {16, 70}, {17, 3}, {18, 14}, {23, 30}, {24, 3}}),
     12},
    {"rectangular pocket, zero step-over, turned -120 degrees, reference 2",
     cycle<NCIRectPocket>(kLayered, {{15, 50}, {16, 30}, {17, 0}, {18, 9}, {23, -120}, {24, 2}}),
     6},
    {"rectangular pocket narrower than the tool",
     cycle<NCIRectPocket>(kLayered, {{15, 6}, {16, 8}, {17, 2}, {18, 1}, {24, 4}}), 6},
    {"slot as a pocket (253): corner radius half the width, turned 45 degrees",
     cycle<NCIRectPocket>(kLayered, {{15, 24}, {16, 80}, {18, 12}, {23, 45}, {24, 1}}), 6},
    {"pocket finishing, corner below the tool radius",
     cycle<NCIRectPocketFinishing>(kLayered, {{15, 40}, {16, 30}, {18, 1}, {23, 40}, {24, 50}}), 6},
    {"stud finishing, corner 7",
     cycle<NCIStudFinishing>(kLayered, {{15, 30}, {16, 50}, {18, 7}, {23, -4}, {24, -9}}), 18},
    {"straight slot turned 30 degrees",
     cycle<NCIRectSlot>(kLayered, {{15, 27}, {16, 90}, {25, -15}, {26, 8}, {23, 30}}), 4},
    {"circular slot from the pitch-circle centre, 200 degrees",
     cycle<NCICircularSlot>(kLayered,
                            {{13, 30}, {19, 20}, {20, 35}, {21, 200}, {25, 10}, {26, -5}}),
     24},
    // The slots placed from the call point stay on whole numbers near it, so that the six
    // digits of the NCI text do not blur the check at the far start point.
    {"circular slot from its end, quarter circle, wide",
     cycle<NCICircularSlot>(kLayered, {{13, 20}, {19, 36}, {20, 0}, {21, 90}, {22, 1}}), 48},
    {"circular slot from its middle, narrower than the tool radius",
     cycle<NCICircularSlot>(kLayered, {{13, 25}, {19, 2}, {20, 0}, {21, 180}, {22, 2}}), 6},
    {"circular pocket, zero step-over (the tool diameter), finishing only",
     circularPocket(17.3, 0.0, 1.1, 2.0), 6},
    {"circular pocket, tool wider than the pocket",
     withTool(30.0, circularPocket(9.0, 1.0, 0.0, 0.0)), 6},
    {"circular pocket, allowance wider than the pocket", circularPocket(12.0, 0.7, 20.0, 0.0), 6},
    {"circular pocket, tool without a size", withTool(0.0, circularPocket(3.0, 1.3, 0.2, 0.0)), 6},
    {"circular pocket finishing, radius below the tool radius",
     roundFinish<NCICircularPocketFinishing>(1.5, 4), 9},
    {"circular stud, tool without a size", withTool(0.0, roundFinish<NCICircularStud>(7.7, 8.1)),
     9},
    {"thread milling, fine pitch, side countersink only", insideThread(8.2, 0.35, 0.0, 0.0), 9},
    {"thread milling, radius not above the tool radius",
     withTool(16.0, insideThread(8.0, 2.0, 0.0, 3.0)), 3},
    {"outside thread, no front offset, small radius", outsideThread(2.0, 1.0, 0.0), 9},
};

TEST(ToolPathCheck, EveryExpansionKeepsItsArcsOnTheirCircles) {
    // Several start points, so that a centre computed from a wrong sign or from the origin
    // instead of the position shows.
    const CycleStart starts[] = {
        {10.0, 0.0, 0.0, 50.0, 100.0},
        {10.0, 37.5, -12.25, 50.0, 100.0},
        {6.0, -140.0, 85.0, 5.0, 100.0},
    };
    for (const Expansion& e : kExpansions) {
        for (const CycleStart& start : starts) {
            auto cycle = e.make(start);
            NciStream out;
            cycle->Run(out);
            const std::string nci(out.view());
            EXPECT_GE(countArcs(nci), e.minimumArcs) << e.name;
            for (const std::string& problem : checkToolPath(nci))
                ADD_FAILURE() << e.name << " at (" << start.x << ", " << start.y
                              << "): " << problem;
        }
    }
}

}  // namespace
}  // namespace morvane
