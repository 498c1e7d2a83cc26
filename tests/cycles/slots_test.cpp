// Longhand straight and circular slots built directly: ring offsets by width, the rotation of the
// straight slot about its centre, the circular slot's start point by reference, and the bound on
// the rings of one expansion.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "cycles/nci_milling_cycles.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::countCode;
using test::MoveRecord;
using test::readMoves;
using test::runCycle;

// Second clearance 20, feed 250, depth 10 in one layer, called at (10, 10, 30).
const test::Heights kSlotHeights{10.0, 20.0, 250.0, 20.0};
constexpr CycleStart kSlotStart{10.0, 10.0, 10.0, 30.0, 0.0};

// A straight slot along X centred on (50, 30), 60 long.
std::unique_ptr<NCIRectSlot> straightSlot(double width, double rotation = 0.0) {
    return test::makeCycle<NCIRectSlot>(
        kSlotStart, kSlotHeights,
        {{15, width}, {16, 60.0}, {25, 50.0}, {26, 30.0}, {23, rotation}});
}

// The radii of the arcs written, in order.
std::vector<double> arcRadii(const std::vector<MoveRecord>& moves) {
    std::vector<double> radii;
    for (const MoveRecord& m : moves)
        if (m.code == 2 || m.code == 3)
            radii.push_back(std::round(std::hypot(m.x() - m.cx(), m.y() - m.cy()) * 1000) / 1000);
    return radii;
}

TEST(StraightSlot, RingsStepByTheToolRadiusUpToTheFinishedWidth) {
    // Tool 10: rings at 5, 10, ... below (width - 10) / 2, then one at (width - 10) / 2; each
    // ring has two half circles of its offset. A ring at an offset that is not positive still
    // runs its straight moves but writes no arc. Widths 12, 20 and 34 are the golden
    // straight_slot_210.
    struct Case {
        double width;
        std::vector<double> radii;
        int feeds;
    };
    const Case cases[] = {
        {30.0, {5, 5, 10, 10}, 2 + 1 + 2 * 4},  // 10 is not below 10: it is the last ring
        {10.0, {}, 2 + 1 + 4},
        {8.0, {}, 2 + 1 + 4},
    };
    for (const Case& k : cases) {
        const auto moves = readMoves(runCycle(*straightSlot(k.width)));
        EXPECT_EQ(arcRadii(moves), k.radii) << k.width;
        // Feeds: to the start, the ramp to the depth, along the centre line, the rings' sides.
        EXPECT_EQ(countCode(moves, 1), k.feeds) << k.width;
        EXPECT_EQ(countCode(moves, 2), 0) << k.width;
    }
}

TEST(StraightSlot, WritesNoClockwiseArcWhereThePocketWould) {
    NCIRectSlot slot({10.0, 0.0, 0.0, 0.0, 100.0});
    NCIRectPocket pocket({10.0, 0.0, 0.0, 0.0, 100.0});
    NciStream slotOut, pocketOut;
    slot.ArcSigned(slotOut, 10.0, 0.0, -5.0);
    pocket.ArcSigned(pocketOut, 10.0, 0.0, -5.0);
    EXPECT_EQ(slotOut.view(), "");
    EXPECT_EQ(slot.x(), 0.0);
    EXPECT_EQ(pocketOut.view().substr(0, 2), "2\n");
    slot.ArcSigned(slotOut, 10.0, 0.0, 5.0);
    EXPECT_EQ(slotOut.view(), "3\n0 0 10 0 5 0 0 100 0 0 \n");
}

TEST(StraightSlot, RotationTurnsTheSlotAboutItsCentre) {
    const auto plain = readMoves(runCycle(*straightSlot(34.0)));
    for (double degrees : {90.0, 45.0, -60.0}) {
        const auto turned = readMoves(runCycle(*straightSlot(34.0, degrees)));
        ASSERT_EQ(turned.size(), plain.size());
        const double a = degrees * 0.017453292519943295;
        // The first move is the rapid at the call position, which is not turned.
        for (std::size_t i = 1; i < plain.size(); ++i) {
            const double u = plain[i].x() - 50.0, v = plain[i].y() - 30.0;
            EXPECT_NEAR(turned[i].x(), 50.0 + u * std::cos(a) - v * std::sin(a), 1e-3) << i;
            EXPECT_NEAR(turned[i].y(), 30.0 + u * std::sin(a) + v * std::cos(a), 1e-3) << i;
            EXPECT_EQ(turned[i].code, plain[i].code) << i;
        }
        EXPECT_TRUE(test::checkToolPath(runCycle(*straightSlot(34.0, degrees))).empty());
    }
    // At 90 degrees the centre line runs along Y from (50, 10) to (50, 50).
    const auto up = readMoves(runCycle(*straightSlot(20.0, 90.0)));
    EXPECT_NEAR(up[1].x(), 50.0, 1e-9);
    EXPECT_NEAR(up[1].y(), 10.0, 1e-9);
}

TEST(StraightSlot, RingsOfOneExpansionAreBounded) {
    // Rings a tool radius (5) apart below (width - 10) / 2, then the last one there.
    struct Case {
        double width;
        double outermost;  // largest ring offset written
    };
    const double atLimit = 10.0 + 2.0 * (5.0 * (kMaxStraightSlotRings - 1) + 2.5);
    const Case cases[] = {
        {atLimit, (atLimit - 10.0) / 2.0},              // the last ring is the bound's last
        {atLimit + 10.0, 5.0 * kMaxStraightSlotRings},  // one more: the last ring is left out
    };
    for (const Case& k : cases) {
        const auto moves = readMoves(runCycle(*straightSlot(k.width)));
        EXPECT_EQ(countCode(moves, 3), 2 * kMaxStraightSlotRings) << k.width;
        double outermost = 0.0;
        for (const MoveRecord& m : moves)
            outermost = std::max(outermost, m.y() - 30.0);
        EXPECT_EQ(outermost, k.outermost) << k.width;
        EXPECT_EQ(moves.back().code, 0);
        EXPECT_EQ(moves.back().z(), 20.0);
    }
}

// A circular slot on the pitch circle of radius `rp` round (50, 50), from `start` degrees over
// `length` degrees, called at (10, 10).
std::unique_ptr<NCICircularSlot> arcSlot(double rp, double width, double start, double length,
                                         double reference = 0.0) {
    // 25 and 26: the centre Y and X (from Q217 and Q216).
    return test::makeCycle<NCICircularSlot>(
        kSlotStart, kSlotHeights,
        {{13, rp}, {19, width}, {20, start}, {21, length}, {22, reference}, {25, 50}, {26, 50}});
}

TEST(CircularSlot, ReferenceGivesTheStartPoint) {
    const double c45 = std::cos(0.7853981633974483);
    struct Case {
        double start, length, reference;
        double sx, sy;
    };
    const Case cases[] = {
        {0, 90, 0, 80, 50},
        {90, 90, 0, 50, 80},                             // from the pitch-circle centre
        {0, 90, 1, 40, -20},                             // the call point is the slot's end
        {0, 90, 2, 10 + 30 * (1 - c45), 10 - 30 * c45},  // ... or its middle
        {0, 90, 3, 10, 10},
        {0, 90, -2, 10, 10},    // the tool stands on the start point
        {0, 90, -1, 80, 50},    // -1 + 0.5 truncates to 0: from the centre
        {0, 90, 0.6, 40, -20},  // the reference is rounded
    };
    for (const Case& k : cases) {
        CyclePosition end;
        const auto moves =
            readMoves(runCycle(*arcSlot(30.0, 16.0, k.start, k.length, k.reference), &end));
        ASSERT_GE(moves.size(), 2u);
        EXPECT_NEAR(moves[1].x(), k.sx, 1e-4) << k.reference;
        EXPECT_NEAR(moves[1].y(), k.sy, 1e-4) << k.reference;
        EXPECT_NEAR(end.x, k.sx, 1e-9) << k.reference;
        EXPECT_NEAR(end.y, k.sy, 1e-9) << k.reference;
        EXPECT_EQ(end.z, 20.0);
    }
}

TEST(CircularSlot, RingsByWidth) {
    // The centre line there and back with the last ring at 3 (width 16) is the golden
    // circular_slots.
    // Arcs per layer: two along the centre line; when the width exceeds R, four per ring and
    // two lead arcs of the last ring (arcs of a radius that is not positive are left out).
    struct Case {
        double width;
        int arcs;
    };
    const Case cases[] = {
        {5.0, 2},    // not wider than the tool radius: only the centre line
        {8.0, 6},    // last ring at -1: its sides round the ends have no radius
        {36.0, 16},  // rings at 5 and 10, the last at 13
    };
    for (const Case& k : cases) {
        const auto all = readMoves(runCycle(*arcSlot(30.0, k.width, 0.0, 90.0)));
        EXPECT_EQ(countCode(all, 2) + countCode(all, 3), k.arcs) << k.width;
    }
}

TEST(CircularSlot, RingsOfOneExpansionAreBounded) {
    // A pitch radius far larger than the width, so that every inner side has a radius.
    const double atLimit = 10.0 + 2.0 * (5.0 * (kMaxArcSlotRings - 1) + 2.5);
    struct Case {
        double width;
        int arcs;
    };
    const Case cases[] = {
        {atLimit, 2 + 4 * kMaxArcSlotRings + 2},     // every ring, with the lead arcs of the last
        {atLimit + 10.0, 2 + 4 * kMaxArcSlotRings},  // the last ring is left out
    };
    for (const Case& k : cases) {
        const auto moves = readMoves(runCycle(*arcSlot(1e6, k.width, 0.0, 10.0)));
        EXPECT_EQ(countCode(moves, 2) + countCode(moves, 3), k.arcs) << k.width;
        EXPECT_EQ(moves.back().code, 0);
        EXPECT_EQ(moves.back().z(), 20.0);
    }
}

}  // namespace
}  // namespace morvane
