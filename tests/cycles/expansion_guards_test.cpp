// What bounds the pocket, finishing and slot expansions: the layer loop, the pass budget, and
// non-numbers in the parameters, which leave a cycle without moves instead of writing "nan" or
// looping.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "cycles/expansion_guards.h"
#include "cycles/nci_milling_cycles.h"
#include "nci/cycle_errors.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// An index a cycle does not take ends its parameters: no writer gives one, so only a wrong
// table entry could, and it must stop the cycle rather than leave a value unset.
TEST(CycleParameters, AnIndexTheCycleDoesNotTakeIsRefused) {
    NCIRectPocket pocket(CycleStart{});
    EXPECT_THROW(pocket.SetFlag(13, true), CycleWrongCode);
    EXPECT_THROW(pocket.SetValue(5, 1.0), CycleWrongCode);
}

TEST(ForEachLayer, HeightsDownToTheBottom) {
    struct Case {
        double surface, depth, infeed;
        std::vector<std::pair<double, bool>> layers;
    };
    const Case cases[] = {
        {0, 10, 3, {{-3, false}, {-6, false}, {-9, false}, {-10, true}}},
        {5, 9, 3, {{2, false}, {-1, false}, {-4, true}}},
        {0, 10, 10, {{-10, true}}},
        {0, 10, 0, {{-10, true}}},
        {0, 10, -1, {{-10, true}}},
        {0, 10, kNaN, {{-10, true}}},
        {0, 10, kInf, {{-10, true}}},
        {0, -2, 1, {{2, true}}},  // a depth above the surface: only the "bottom"
    };
    for (const Case& k : cases) {
        std::vector<std::pair<double, bool>> seen;
        NCIRectPocket cycle(CycleStart{});
        forEachLayer(cycle, k.surface, k.depth, k.infeed, [&](double z, bool bottom) {
            seen.emplace_back(z, bottom);
            return true;
        });
        EXPECT_EQ(seen, k.layers) << k.depth << " by " << k.infeed;
        EXPECT_EQ(cycle.reachedBound(), nullptr);
    }
}

TEST(ForEachLayer, StopsAtTheInfeedBoundOrWhenTheCutSaysSo) {
    // Exactly as many layers as the bound allows is no cut; one more is noted on the cycle.
    for (const double depth : {static_cast<double>(kMaxInfeeds + 1), kMaxInfeeds + 1.5}) {
        int calls = 0;
        NCIRectPocket cycle(CycleStart{});
        forEachLayer(cycle, 0.0, depth, 1.0, [&](double, bool) { return ++calls > 0; });
        EXPECT_EQ(calls, kMaxInfeeds + 1);
        EXPECT_EQ(cycle.reachedBound() != nullptr, depth > kMaxInfeeds + 1) << depth;
    }
    int calls = 0;
    NCIRectPocket cycle(CycleStart{});
    forEachLayer(cycle, 0.0, 10.0, 1.0, [&](double, bool) { return ++calls < 3; });
    EXPECT_EQ(calls, 3);  // the bottom is not cut after a stop either
}

TEST(PassBudget, RefusesPastTheLimitAndRemembersIt) {
    NCIRectPocket cycle(CycleStart{});
    PassBudget budget(cycle, 2, "rings");
    EXPECT_TRUE(budget.take());
    EXPECT_TRUE(budget.take());
    EXPECT_FALSE(budget.spent());  // used up exactly is not spent
    EXPECT_EQ(cycle.reachedBound(), nullptr);
    EXPECT_FALSE(budget.take());
    EXPECT_TRUE(budget.spent());
    EXPECT_FALSE(budget.take());
    ASSERT_NE(cycle.reachedBound(), nullptr);
    EXPECT_EQ(cycle.reachedBound()->value, 2);
}

// A cycle of class `Cycle` with sound heights and the sound geometry `values`.
template <class Cycle>
std::unique_ptr<NCIGeneralCycle> sound(const CycleStart& start, const test::Values& values) {
    return test::makeCycle<Cycle>(start, {10.0, 20.0, 200.0, 4.0}, values);
}

struct Poisoned {
    const char* what;
    std::unique_ptr<NCIGeneralCycle> (*make)(const CycleStart&, const test::Values&);
    test::Values values;
    std::vector<int> geometry;  // indices whose non-number empties the cycle
};

constexpr CycleStart kStart{10.0, 5.0, 6.0, 30.0, 100.0};

const Poisoned kCycles[] = {
    {"rectangular pocket",
     sound<NCIRectPocket>,
     {{15, 40.0}, {16, 60.0}, {18, 5.0}, {23, 30.0}, {24, 1.0}},
     {15, 16, 18, 23}},
    {"straight slot",
     sound<NCIRectSlot>,
     {{15, 20.0}, {16, 60.0}, {25, 50.0}, {26, 30.0}, {23, 15.0}},
     {15, 16, 25, 26, 23}},
    {"pocket finishing",
     sound<NCIRectPocketFinishing>,
     {{15, 40.0}, {16, 20.0}, {18, 8.0}, {23, 40.0}, {24, 50.0}},
     {15, 16, 18, 23, 24}},
    {"stud finishing",
     sound<NCIStudFinishing>,
     {{15, 40.0}, {16, 20.0}, {18, 0.0}, {23, 40.0}, {24, 50.0}},
     {15, 16, 18, 23, 24}},
    {"circular slot",
     sound<NCICircularSlot>,
     {{13, 30.0}, {19, 16.0}, {20, 10.0}, {21, 90.0}, {25, 50.0}, {26, 50.0}},
     {13, 19, 20, 21, 25, 26}},
};

TEST(NonNumbers, EmptyTheGeometryInsteadOfWritingThem) {
    // The heights and the feed are common to every class.
    const std::vector<int> common = {1, 2, 3, 4, 7};
    for (const Poisoned& p : kCycles) {
        // The sound cycle writes moves.
        EXPECT_FALSE(test::runCycle(*p.make(kStart, p.values)).empty()) << p.what;
        std::vector<int> indices = p.geometry;
        indices.insert(indices.end(), common.begin(), common.end());
        for (int index : indices) {
            for (double bad : {kNaN, kInf, -kInf}) {
                auto c = p.make(kStart, p.values);
                c->SetValue(index, bad);
                CyclePosition end;
                EXPECT_EQ(test::runCycle(*c, &end), "") << p.what << " index " << index;
                EXPECT_EQ(end.x, 5.0) << p.what;
                EXPECT_EQ(end.y, 6.0) << p.what;
                EXPECT_EQ(end.z, 30.0) << p.what;
            }
        }
        // So does a start position or a tool diameter that is no number.
        for (const CycleStart& start :
             {CycleStart{10.0, kNaN, 6.0, 30.0, 100.0}, CycleStart{kInf, 5.0, 6.0, 30.0, 100.0},
              CycleStart{10.0, 5.0, 6.0, -kInf, 100.0}}) {
            EXPECT_EQ(test::runCycle(*p.make(start, p.values)), "") << p.what;
        }
    }
}

}  // namespace
}  // namespace morvane
