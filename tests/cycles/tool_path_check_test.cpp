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
// Round, thread and surface families: the common values of the cycle writers (surface 0,
// clearance 2, second clearance 20, feed 300, flag 5 false), depth and infeed per row.
template <class Cycle>
std::unique_ptr<Cycle> roundCycle(const CycleStart& start, double depth, double infeed) {
    auto c = std::make_unique<Cycle>(start);
    c->SetValue(1, 0.0);
    c->SetValue(2, depth);
    c->SetValue(3, 20.0);
    c->SetValue(4, 2.0);
    c->SetValue(7, 300.0);
    c->SetValue(10, infeed);
    c->SetFlag(5, false);
    return c;
}

std::unique_ptr<NCIGeneralCycle> circularPocket(const CycleStart& start, double radius,
                                                double factor, double sideAllowance,
                                                double operation) {
    auto c = roundCycle<NCICircularPocket>(start, 6.0, 2.5);
    c->SetValue(13, radius);
    c->SetValue(14, factor);
    c->SetValue(15, sideAllowance);
    c->SetValue(16, 0.5);
    c->SetValue(17, 0.25);
    c->SetValue(18, operation);
    return c;
}

// Finishing (stud false) or stud (true) round a centre off the start point.
std::unique_ptr<NCIGeneralCycle> roundFinish(const CycleStart& start, bool stud, double radius,
                                             double blank) {
    std::unique_ptr<NCIDeepDrilling> c;
    if (stud)
        c = roundCycle<NCICircularStud>(start, 7.0, 3.0);
    else
        c = roundCycle<NCICircularPocketFinishing>(start, 7.0, 3.0);
    c->SetValue(13, radius);
    c->SetValue(14, start.x + 13.25);
    c->SetValue(15, start.y - 7.5);
    c->SetValue(16, blank);
    return c;
}

std::unique_ptr<NCIGeneralCycle> insideThread(const CycleStart& start, double radius, double pitch,
                                              double sideClearance, double frontOffset) {
    auto c = roundCycle<NCIThreadMilling>(start, 1.5, 0.0);
    c->SetValue(13, radius);
    c->SetValue(14, 0.75);
    c->SetValue(15, frontOffset);
    c->SetValue(16, sideClearance);
    c->SetValue(17, pitch);
    c->SetValue(18, 14.0);
    c->SetFlag(8, false);
    return c;
}

std::unique_ptr<NCIGeneralCycle> outsideThread(const CycleStart& start, double radius, double pitch,
                                               double frontOffset) {
    auto c = roundCycle<NCIOutsideThread>(start, 12.0, 0.0);
    c->SetValue(13, radius);
    c->SetValue(14, 1.25);
    c->SetValue(15, frontOffset);
    c->SetValue(17, pitch);
    return c;
}

std::unique_ptr<NCIGeneralCycle> faceMilling(const CycleStart& start, double strategy,
                                             double factor, double width) {
    auto c = roundCycle<NCIFaceMilling>(start, 4.0, 1.5);
    c->SetValue(15, 80.0);
    c->SetValue(16, width);
    c->SetValue(17, start.x);
    c->SetValue(18, start.y);
    c->SetValue(23, 3.0);
    c->SetValue(24, 0.5);
    c->SetValue(25, factor);
    c->SetValue(26, strategy);
    return c;
}

CycleStart withTool(CycleStart start, double diameter) {
    start.toolDiameter = diameter;
    return start;
}

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

    // --- Round, thread and surface families: circular pocket, pocket finishing, stud, thread
    // milling, outside thread, multipass milling, ruled surface, face milling.
    {"circular pocket, radius 20, allowance 0.5, factor 1, rough and finish",
     [](const CycleStart& s) { return circularPocket(s, 20.0, 1.0, 0.5, 0.0); }, 20},
    {"circular pocket, zero step-over (the tool diameter), finishing only",
     [](const CycleStart& s) { return circularPocket(s, 17.3, 0.0, 1.1, 2.0); }, 6},
    {"circular pocket, tool wider than the pocket",
     [](const CycleStart& s) { return circularPocket(withTool(s, 30.0), 9.0, 1.0, 0.0, 0.0); }, 6},
    {"circular pocket, allowance wider than the pocket",
     [](const CycleStart& s) { return circularPocket(s, 12.0, 0.7, 20.0, 0.0); }, 6},
    {"circular pocket, tool without a size",
     [](const CycleStart& s) { return circularPocket(withTool(s, 0.0), 3.0, 1.3, 0.2, 0.0); }, 6},
    {"circular pocket finishing", [](const CycleStart& s) { return roundFinish(s, false, 20, 18); },
     9},
    {"circular pocket finishing, radius below the tool radius",
     [](const CycleStart& s) { return roundFinish(s, false, 1.5, 4); }, 9},
    {"circular stud", [](const CycleStart& s) { return roundFinish(s, true, 20, 24); }, 9},
    {"circular stud, tool without a size",
     [](const CycleStart& s) { return roundFinish(withTool(s, 0.0), true, 7.7, 8.1); }, 9},
    {"thread milling with both countersinks",
     [](const CycleStart& s) { return insideThread(s, 12.0, 1.5, 0.3, 9.5); }, 12},
    {"thread milling, fine pitch, side countersink only",
     [](const CycleStart& s) { return insideThread(s, 8.2, 0.35, 0.0, 0.0); }, 9},
    {"thread milling, radius not above the tool radius",
     [](const CycleStart& s) { return insideThread(withTool(s, 16.0), 8.0, 2.0, 0.0, 3.0); }, 3},
    {"outside thread", [](const CycleStart& s) { return outsideThread(s, 12.0, 1.75, 13.0); }, 9},
    {"outside thread, no front offset, small radius",
     [](const CycleStart& s) { return outsideThread(s, 2.0, 1.0, 0.0); }, 9},
    {"multipass milling",
     [](const CycleStart& s) -> std::unique_ptr<NCIGeneralCycle> {
         auto c = roundCycle<NCIMultipassMilling>(s, 0.0, 0.0);
         c->SetValue(15, 60.0);
         c->SetValue(16, 25.0);
         c->SetValue(17, s.x);
         c->SetValue(18, s.y);
         c->SetValue(23, 7.0);
         return c;
     },
     0},
    {"ruled surface",
     [](const CycleStart& s) -> std::unique_ptr<NCIGeneralCycle> {
         auto c = roundCycle<NCIRuledSurface>(s, 0.0, 0.0);
         const double corners[] = {0, 0, 0, 40, 5, -2, 38, 30, -9, -3, 27, -6};
         for (int i = 0; i < 12; ++i)
             c->SetValue(15 + i, corners[i] + (i % 3 == 0 ? s.x : i % 3 == 1 ? s.y : 0.0));
         c->SetValue(27, 6.0);
         return c;
     },
     0},
    {"face milling, meander with overshoot",
     [](const CycleStart& s) { return faceMilling(s, 0.0, 0.8, 33.0); }, 0},
    {"face milling, meander inside, overlap factor 0",
     [](const CycleStart& s) { return faceMilling(s, 1.0, 0.0, 47.5); }, 0},
    {"face milling, one direction, narrower than a step",
     [](const CycleStart& s) { return faceMilling(s, 2.0, 1.2, 4.0); }, 0},
    // --- end of the round, thread and surface families.
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
