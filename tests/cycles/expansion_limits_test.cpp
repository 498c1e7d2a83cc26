// The bounds of the pocket, slot, round, thread and surface expansions: the pass, ring and line
// budgets at their limit and one past it, and geometries that are not numbers. (The paths below
// the bounds are golden programs: tests/golden/heidenhain/cycles_*.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "cycles/finite_geometry.h"
#include "cycles/nci_milling_cycles.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::countCode;
using test::nciLines;
using test::readMoves;
using test::runCycle;

// A circular pocket roughed in one layer (operation 1) with a step-over of 1 (factor 0.2 of the
// tool of diameter 10): the rings of radius 1, 2, ..., n and the last one at radius - 5.
std::unique_ptr<NCICircularPocket> widePocket(double radius) {
    return test::makeCycle<NCICircularPocket>({10.0, 50.0, 50.0, 30.0, 0.0},
                                              {1.0, 20.0, 100.0, 1.0},
                                              {{13, radius}, {14, 0.2}, {18, 1.0}});
}

TEST(ExpansionLimits, CircularPocketRingsAtTheLimitAndOnePast) {
    static_assert(kMaxPocketRings == 100'000);
    // 99,999 step-over rings and the last one at 99,999 from the centre: exactly the limit; the
    // pass ends as usual.
    auto atLimit = widePocket(100'004.0);
    const std::string full = runCycle(*atLimit);
    EXPECT_EQ(countCode(readMoves(full), 3), kMaxPocketRings);
    EXPECT_TRUE(full.ends_with(nciLines({"3", "0 0 100049 50 50 50 -1 100 0 1", "1",
                                         "0 50 50 -1 100 0", "0", "0 50 50 20 100 0"})));
    // One ring more: the pass stops after the 100,000th ring, the tool goes straight up to the
    // clearance and retracts as usual.
    auto past = widePocket(100'005.0);
    const std::string cut = runCycle(*past);
    EXPECT_EQ(countCode(readMoves(cut), 3), kMaxPocketRings);
    EXPECT_TRUE(cut.ends_with(nciLines({"3", "0 0 100050 50 50 50 -1 100 0 1", "1",
                                        "0 100050 50 2 100 0", "0", "0 50 50 20 100 0"})))
        << cut.substr(cut.size() - 200);
}

TEST(ExpansionLimits, HugePocketWithATinyStepStaysSmall) {
    // A pocket of radius 1e6 roughed and finished in ten layers at a step of 0.0005: the budget
    // ends it after 100,000 rings, a few megabytes.
    auto c = widePocket(1e6);
    c->SetValue(2, 10.0);
    c->SetValue(14, 1e-4);
    c->SetValue(18, 0.0);
    const std::string nci = runCycle(*c);
    EXPECT_EQ(countCode(readMoves(nci), 3), kMaxPocketRings);
    EXPECT_LT(nci.size(), 12'000'000u);
    EXPECT_TRUE(nci.ends_with(nciLines({"0", "0 50 50 20 100 0"})));
}

// The rectangular pocket's passes (tool 10, step-over 1, square of half side h: h - 5 passes a
// layer, seven feeds each) and the slots' rings (a tool radius apart below (width - 10) / 2, then
// the last one there) at their bound and one past: the count stays at the bound, whatever is
// left out, and the tool leaves at the retract height.
TEST(ExpansionLimits, PocketPassesAndSlotRingsAtTheLimitAndOnePast) {
    constexpr int kPasses = kMaxPocketPasses;
    const auto pocket = [](double half, double infeed) {
        return runCycle(*test::makeCycle<NCIRectPocket>(
            {10.0, 10.0, 20.0, 100.0, 0.0}, {10.0, 50.0, 150.0, infeed},
            {{15, 2.0 * half}, {16, 2.0 * half}, {17, 1.0}, {18, 5.0}}));
    };
    const test::Heights slot{10.0, 20.0, 250.0, 20.0};
    const CycleStart start{10.0, 10.0, 10.0, 30.0, 0.0};
    const auto straight = [&](double width) {
        return runCycle(*test::makeCycle<NCIRectSlot>(
            start, slot, {{15, width}, {16, 60.0}, {25, 50.0}, {26, 30.0}}));
    };
    const auto arc = [&](double width) {
        return runCycle(*test::makeCycle<NCICircularSlot>(
            start, slot, {{13, 1e6}, {19, width}, {21, 10.0}, {25, 50.0}, {26, 50.0}}));
    };
    const double straightLimit = 10.0 + 2.0 * (5.0 * (kMaxStraightSlotRings - 1) + 2.5);
    const double arcLimit = 10.0 + 2.0 * (5.0 * (kMaxArcSlotRings - 1) + 2.5);
    struct Case {
        const char* what;
        std::string nci;
        int arcs, feeds;  // feeds -1: not counted
        double top;       // the retract height
    };
    const Case cases[] = {
        // Feeds: to the centre, a plunge per layer, the passes, eight per finishing contour.
        {"pocket at the bound, one contour", pocket(5.0 + kPasses, 20.0), 2, 2 + 7 * kPasses + 8, 50},
        {"pocket one pass past: no contour", pocket(6.0 + kPasses, 20.0), 0, 2 + 7 * kPasses, 50},
        {"two layers at the bound", pocket(5.0 + kPasses / 2, 6.0), 4, 3 + 7 * kPasses + 16, 50},
        {"two layers one past", pocket(6.0 + kPasses / 2, 6.0), 2, 3 + 7 * kPasses + 8, 50},
        {"straight slot at the bound", straight(straightLimit), 2 * kMaxStraightSlotRings, -1, 20},
        {"straight slot one past", straight(straightLimit + 10.0), 2 * kMaxStraightSlotRings, -1, 20},
        // The centre line there and back, four arcs a ring and the lead arcs of the last.
        {"arc slot at the bound", arc(arcLimit), 2 + 4 * kMaxArcSlotRings + 2, -1, 20},
        {"arc slot one past: no last ring", arc(arcLimit + 10.0), 2 + 4 * kMaxArcSlotRings, -1, 20},
    };
    for (const Case& k : cases) {
        const auto moves = readMoves(k.nci);
        EXPECT_EQ(countCode(moves, 2) + countCode(moves, 3), k.arcs) << k.what;
        if (k.feeds >= 0) {
            EXPECT_EQ(countCode(moves, 1), k.feeds) << k.what;
        }
        EXPECT_EQ(moves.back().code, 0) << k.what;
        EXPECT_EQ(moves.back().z(), k.top) << k.what;
    }
    // One ring past the straight slot's bound, its last ring (the finished width) is left out.
    double outermost = 0.0;
    for (const auto& m : readMoves(cases[5].nci))
        outermost = std::max(outermost, m.y() - 30.0);
    EXPECT_EQ(outermost, 5.0 * kMaxStraightSlotRings);
}

// Face milling with strategy 2 and a step of 1 (tool 10, factor 0.1), b wide: b + 1 cuts per
// layer.
std::unique_ptr<NCIFaceMilling> wideFace(double width, double depth) {
    return test::makeCycle<NCIFaceMilling>(
        {10.0, 0.0, 0.0, 50.0, 0.0}, {depth, 20.0, 100.0, 1.0},
        {{15, 100.0}, {16, width}, {23, 5.0}, {25, 0.1}, {26, 2.0}});
}

TEST(ExpansionLimits, FaceMillingLinesAtTheLimitAndOnePast) {
    static_assert(kMaxFaceLines == 100'000);
    // Depth 0: two layers (to the allowance and the floor) of 50,000 cuts: the limit. Each cut
    // but the last of a layer is followed by a rapid back; with the approach and the retract
    // that is 2 x 49,999 + 3 rapids.
    auto atLimit = wideFace(49'999.0, 0.0);
    const std::string full = runCycle(*atLimit);
    EXPECT_EQ(countCode(readMoves(full), 0), 2 * 49'999 + 3);
    EXPECT_TRUE(full.ends_with(nciLines({"1", "0 -10 0 1 100 0", "0", "0 -10 0 20 100 0"})));
    // Depth 9 with infeed 1: eleven layers of 9,091 cuts, one more than the limit. The last
    // layer stops before its closing cut; the tool goes up at its position and retracts.
    auto past = wideFace(9'090.0, 9.0);
    const std::string cut = runCycle(*past);
    EXPECT_EQ(countCode(readMoves(cut), 0), 11 * 9'090 + 3);
    EXPECT_TRUE(cut.ends_with(
        nciLines({"1", "0 -10 9090 -9 100 0", "1", "0 -10 9090 2 100 0", "0", "0 -10 0 20 100 0"})))
        << cut.substr(cut.size() - 200);
}

TEST(ExpansionLimits, MultipassCutsAtTheLimitAndOnePast) {
    static_assert(kMaxMultipassCuts == 10'000);
    // Length 9,999 over 10,000 cuts and 10,000 over 10,001: both 1 apart, so both write the
    // cuts up to y = 20 + 9,999 and lift there.
    for (const double cuts : {10'000.0, 10'001.0}) {
        auto c = test::makeCycle<NCIMultipassMilling>(
            {10.0, 0.0, 0.0, 50.0, 0.0}, {0.0, 0.0, 100.0},
            {{15, 100.0}, {16, cuts - 1.0}, {17, 10.0}, {18, 20.0}, {23, cuts}}, {{5, true}});
        const std::string nci = runCycle(*c);
        EXPECT_EQ(countCode(readMoves(nci), 1), 2 * kMaxMultipassCuts + 2) << cuts;
        // The 10,000th cut (odd index) runs back to the start side.
        EXPECT_TRUE(nci.ends_with(nciLines({"1", "0 3 10019 0 100 0", "1", "0 3 10019 2 100 0"})))
            << cuts;
    }
}

TEST(ExpansionLimits, RuledSurfaceLinesAtTheLimitAndOnePast) {
    static_assert(kMaxRuledLines == 10'000);
    for (const double lines : {10'000.0, 10'001.0}) {
        auto c = std::make_unique<NCIRuledSurface>(CycleStart{10.0, 0.0, 0.0, 50.0, 0.0});
        // P1 (0, 0, 0), P2 (100, 0, 0), P3 (100, n - 1, 0), P4 (0, n - 1, 0): lines 1 apart.
        c->SetValue(18, 100.0);
        c->SetValue(21, 100.0);
        c->SetValue(22, lines - 1.0);
        c->SetValue(25, lines - 1.0);
        c->SetValue(27, lines);
        c->SetValue(7, 100.0);
        const std::string nci = runCycle(*c);
        EXPECT_EQ(countCode(readMoves(nci), 1), 5 * kMaxRuledLines) << lines;
        EXPECT_TRUE(nci.ends_with(nciLines({"1", "0 0 9999 5 100 0"}))) << lines;
    }
}

// Every class of the round, thread and surface families, set up to write moves: depth 5,
// clearance 2, feed 100 and a small geometry of its own.
template <class Cycle>
std::unique_ptr<NCIGeneralCycle> round(const CycleStart& start, const test::Values& geometry) {
    return test::makeCycle<Cycle>(start, {5.0, 0.0, 100.0}, geometry, {{5, true}});
}

struct RoundClass {
    std::unique_ptr<NCIGeneralCycle> (*make)(const CycleStart&, const test::Values&);
    test::Values geometry;
};

const RoundClass kRoundClasses[] = {
    {round<NCICircularPocket>, {{13, 12}, {10, 2}}},
    {round<NCICircularPocketFinishing>, {{13, 12}, {16, 15}, {10, 2}}},
    {round<NCICircularStud>, {{13, 12}, {16, 15}, {10, 2}}},
    {round<NCIThreadMilling>, {{13, 12}, {17, 1.5}, {18, 10}}},
    {round<NCIOutsideThread>, {{13, 12}, {17, 1.5}}},
    {round<NCIMultipassMilling>, {{15, 30}, {16, 20}, {23, 3}}},
    {round<NCIRuledSurface>, {{18, 30}, {21, 30}, {22, 20}, {25, 20}, {27, 3}}},
    {round<NCIFaceMilling>, {{15, 30}, {16, 20}, {25, 1}, {10, 2}}},
};

std::unique_ptr<NCIGeneralCycle> makeRound(int which, const CycleStart& start) {
    return kRoundClasses[which].make(start, kRoundClasses[which].geometry);
}
constexpr int kRoundCount = 8;

TEST(ExpansionLimits, GeometryThatIsNotANumberWritesNothing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const CycleStart good{10.0, 1.0, 2.0, 3.0, 0.0};
    for (int which = 0; which < kRoundCount; ++which) {
        // The set-up writes moves.
        EXPECT_FALSE(runCycle(*makeRound(which, good)).empty()) << which;
        struct Bad {
            const char* what;
            CycleStart start;
            int index;  // 0: none
            double value;
        };
        const Bad bads[] = {
            {"NaN depth", good, 2, nan},
            {"infinite surface", good, 1, -inf},
            {"NaN radius or extent", good, 15, nan},
            {"infinite feed", good, 7, inf},
            {"a value beyond a thousand kilometres", good, 16, 2e9},
            {"NaN start X", {10.0, nan, 2.0, 3.0, 0.0}, 0, 0.0},
            {"infinite tool", {inf, 1.0, 2.0, 3.0, 0.0}, 0, 0.0},
        };
        for (const Bad& b : bads) {
            auto c = makeRound(which, b.start);
            if (b.index != 0) c->SetValue(b.index, b.value);
            NciStream out;
            const CyclePosition end = c->Run(out);
            EXPECT_TRUE(out.view().empty()) << which << ": " << b.what;
            EXPECT_EQ(end.y, 2.0) << which << ": " << b.what;
            EXPECT_EQ(end.z, 3.0) << which << ": " << b.what;
        }
    }
}

TEST(ExpansionLimits, HasFiniteGeometryLooksAtEveryValue) {
    for (int index : {1, 2, 3, 4, 6, 7, 10, 11, 13, 14, 15, 16, 17, 18}) {
        auto c = makeRound(0, {10.0, 0.0, 0.0, 0.0, 0.0});
        EXPECT_TRUE(hasFiniteGeometry(*c));
        c->SetValue(index, -1e9);
        EXPECT_TRUE(hasFiniteGeometry(*c)) << index << ": the bound itself is geometry";
        c->SetValue(index, -1.000001e9);
        EXPECT_FALSE(hasFiniteGeometry(*c)) << index;
    }
}

}  // namespace
}  // namespace morvane
