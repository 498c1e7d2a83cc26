// The geometric self-check over every expansion: each arc's centre lies as far from the arc's
// start as from its end, and no coordinate is a non-number. One row per family and case; the
// check itself is tried first on paths known to be right and wrong.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "cycles/nci_drilling.h"
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

// One expansion: a cycle object set up and run at a start position.
struct Expansion {
    const char* name;
    std::function<std::unique_ptr<NCIGeneralCycle>(const CycleStart&)> make;
    int minimumArcs;  // the expansion must contain at least this many arcs to be worth checking
};

std::unique_ptr<NCIGeneralCycle> boreMilling(const CycleStart& start, double bore, double infeed) {
    auto c = std::make_unique<NCIBoreDrilling>(start);
    c->SetValue(1, 0.0);
    c->SetValue(2, 12.0);
    c->SetValue(3, 20.0);
    c->SetValue(4, 2.0);
    c->SetValue(7, 300.0);
    c->SetValue(10, bore);
    c->SetValue(11, infeed);
    c->SetFlag(5, false);
    return c;
}

// Rectangular pocket, finishing and slots: depth 10 in layers of 4, clearances 2 and 20.
template <class Cycle>
std::unique_ptr<Cycle> layered(const CycleStart& start,
                               std::initializer_list<std::pair<int, double>> values) {
    auto c = std::make_unique<Cycle>(start);
    c->SetValue(1, 0.0);
    c->SetValue(2, 10.0);
    c->SetValue(3, 20.0);
    c->SetValue(4, 2.0);
    c->SetValue(7, 250.0);
    c->SetValue(10, 4.0);
    c->SetFlag(5, false);
    for (auto [index, value] : values)
        c->SetValue(index, value);
    return c;
}

// Families add their rows here as their expansions are written.
const Expansion kExpansions[] = {
    {"bore milling, tool smaller than the bore",
     [](const CycleStart& s) { return boreMilling(s, 30.0, 2.5); }, 6},
    {"bore milling, tool equal to the bore",
     [](const CycleStart& s) { return boreMilling(s, 10.0, 4.0); }, 3},
    // rect: rectangular pocket, pocket and stud finishing, straight and circular slots
    {"rectangular pocket 60 x 40, corner 5, step-over 4",
     [](const CycleStart& s) {
         return layered<NCIRectPocket>(s, {{15, 40}, {16, 60}, {17, 4}, {18, 5}});
     },
     6},
    {"rectangular pocket with rings, turned 30 degrees, reference 3",
     [](const CycleStart& s) {
         return layered<NCIRectPocket>(s,
                                       {{15, 40}, {16, 70}, {17, 3}, {18, 14}, {23, 30}, {24, 3}});
     },
     12},
    {"rectangular pocket, zero step-over, turned -120 degrees, reference 2",
     [](const CycleStart& s) {
         return layered<NCIRectPocket>(s,
                                       {{15, 50}, {16, 30}, {17, 0}, {18, 9}, {23, -120}, {24, 2}});
     },
     6},
    {"rectangular pocket narrower than the tool",
     [](const CycleStart& s) {
         return layered<NCIRectPocket>(s, {{15, 6}, {16, 8}, {17, 2}, {18, 1}, {24, 4}});
     },
     6},
    {"slot as a pocket (253): corner radius half the width, turned 45 degrees",
     [](const CycleStart& s) {
         return layered<NCIRectPocket>(s, {{15, 24}, {16, 80}, {18, 12}, {23, 45}, {24, 1}});
     },
     6},
    {"pocket finishing, corner 8",
     [](const CycleStart& s) {
         return layered<NCIRectPocketFinishing>(
             s, {{15, 40}, {16, 20}, {18, 8}, {23, -7.5}, {24, 12.25}});
     },
     18},
    {"pocket finishing, corner below the tool radius",
     [](const CycleStart& s) {
         return layered<NCIRectPocketFinishing>(s,
                                                {{15, 40}, {16, 30}, {18, 1}, {23, 40}, {24, 50}});
     },
     6},
    {"stud finishing, corner 0 and 7",
     [](const CycleStart& s) {
         return layered<NCIStudFinishing>(s, {{15, 40}, {16, 20}, {18, 0}, {23, 40}, {24, 50}});
     },
     18},
    {"stud finishing, corner 7",
     [](const CycleStart& s) {
         return layered<NCIStudFinishing>(s, {{15, 30}, {16, 50}, {18, 7}, {23, -4}, {24, -9}});
     },
     18},
    {"straight slot, width 34",
     [](const CycleStart& s) {
         return layered<NCIRectSlot>(s, {{15, 34}, {16, 60}, {25, 50}, {26, 30}});
     },
     6},
    {"straight slot turned 30 degrees",
     [](const CycleStart& s) {
         return layered<NCIRectSlot>(s, {{15, 27}, {16, 90}, {25, -15}, {26, 8}, {23, 30}});
     },
     4},
    {"straight slot, width 12",
     [](const CycleStart& s) {
         return layered<NCIRectSlot>(s, {{15, 12}, {16, 40}, {25, 5}, {26, 5}});
     },
     2},
    {"circular slot from the pitch-circle centre, quarter circle",
     [](const CycleStart& s) {
         return layered<NCICircularSlot>(
             s, {{13, 30}, {19, 16}, {20, 0}, {21, 90}, {25, 50}, {26, 50}});
     },
     24},
    {"circular slot from the pitch-circle centre, 200 degrees",
     [](const CycleStart& s) {
         return layered<NCICircularSlot>(
             s, {{13, 30}, {19, 20}, {20, 35}, {21, 200}, {25, 10}, {26, -5}});
     },
     24},
    // The slots placed from the call point stay on whole numbers near it, so that the six
    // digits of the NCI text do not blur the check at the far start point.
    {"circular slot from its end, quarter circle, wide",
     [](const CycleStart& s) {
         return layered<NCICircularSlot>(s, {{13, 20}, {19, 36}, {20, 0}, {21, 90}, {22, 1}});
     },
     48},
    {"circular slot from its middle, narrower than the tool radius",
     [](const CycleStart& s) {
         return layered<NCICircularSlot>(s, {{13, 25}, {19, 2}, {20, 0}, {21, 180}, {22, 2}});
     },
     6},
    // end of rect
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
