// The geometric self-check over every expansion: each arc's centre lies as far from the arc's
// start as from its end, and no coordinate is a non-number. One row per family and case; the
// check itself is tried first on paths known to be right and wrong.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "cycles/nci_drilling.h"
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

// Families add their rows here as their expansions are written.
const Expansion kExpansions[] = {
    {"bore milling, tool smaller than the bore",
     [](const CycleStart& s) { return boreMilling(s, 30.0, 2.5); }, 6},
    {"bore milling, tool equal to the bore",
     [](const CycleStart& s) { return boreMilling(s, 10.0, 4.0); }, 3},
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
