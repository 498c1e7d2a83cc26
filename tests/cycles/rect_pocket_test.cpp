// Longhand rectangular pocket built directly: where the centre lies for each reference point and
// rotation, how the step-over and corner radius fall back, what a tool wider than the pocket
// leaves, the feed retract, and the bound on the passes of one expansion.
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

struct PocketSetUp {
    double length = 60.0;  // Q218, along the first axis
    double width = 40.0;   // Q219, along the second axis
    double corner = 5.0;
    double stepOver = 4.0;
    double rotation = 0.0;  // degrees, counter-clockwise
    double position = 0.0;
    double depth = 10.0;
    double infeed = 20.0;
};

// Surface 0, set-up clearance 2, second clearance 50, feed 150, rapid retract, as cycle 251 is
// set up by its writer.
std::unique_ptr<NCIRectPocket> pocket(const PocketSetUp& p,
                                      CycleStart start = {10.0, 10.0, 20.0, 100.0, 0.0}) {
    return test::makeCycle<NCIRectPocket>(start, {p.depth, 50.0, 150.0, p.infeed},
                                          {{15, p.width},
                                           {16, p.length},
                                           {17, p.stepOver},
                                           {18, p.corner},
                                           {23, p.rotation},
                                           {24, p.position}});
}

TEST(RectPocket, ReferencePointAndRotationPlaceTheCentre) {
    // Called at (10, 20); a = 20 (half of Q219), b = 30 (half of Q218).
    struct Case {
        double position, rotation;
        double cx, cy;
    };
    const Case cases[] = {
        {0, 0, 10, 20},  {1, 0, 40, 40},    {2, 0, -20, 40},  {3, 0, -20, 0},   {4, 0, 40, 0},
        {5, 0, 10, 20},  {2.9, 0, -20, 40},  // truncated, not rounded
        {-1, 0, 10, 20}, {1, 90, -10, 50},  {3, 90, 30, -10}, {0, -30, 10, 20}, {2, 180, 40, 0},
    };
    for (const Case& k : cases) {
        PocketSetUp p;
        p.position = k.position;
        p.rotation = k.rotation;
        auto c = pocket(p, {10.0, 10.0, 20.0, 100.0, 0.0});
        CyclePosition end;
        const auto moves = readMoves(runCycle(*c, &end));
        ASSERT_GE(moves.size(), 2u);
        // The rapid goes to the reference point, the first feed to the centre, and the tool
        // ends above the centre at the second clearance.
        EXPECT_NEAR(moves[0].x(), 10.0, 1e-12);
        EXPECT_NEAR(moves[0].y(), 20.0, 1e-12);
        EXPECT_NEAR(moves[1].x(), k.cx, 1e-4) << k.position << " " << k.rotation;
        EXPECT_NEAR(moves[1].y(), k.cy, 1e-4) << k.position << " " << k.rotation;
        EXPECT_NEAR(end.x, k.cx, 1e-9) << k.position << " " << k.rotation;
        EXPECT_NEAR(end.y, k.cy, 1e-9) << k.position << " " << k.rotation;
        EXPECT_EQ(end.z, 50.0);
    }
}

// Turns (x, y) about (cx, cy) by `degrees` counter-clockwise.
void turn(double& x, double& y, double cx, double cy, double degrees) {
    const double a = degrees * 0.017453292519943295;
    const double u = x - cx, v = y - cy;
    x = cx + u * std::cos(a) - v * std::sin(a);
    y = cy + u * std::sin(a) + v * std::cos(a);
}

TEST(RectPocket, RotationTurnsEveryMoveAboutTheCentre) {
    PocketSetUp flat;
    flat.corner = 12.0;  // rings with corner arcs
    flat.stepOver = 3.0;
    const auto plain = readMoves(runCycle(*pocket(flat)));
    for (double degrees : {90.0, 30.0, -135.0}) {
        PocketSetUp turned = flat;
        turned.rotation = degrees;
        const auto rotated = readMoves(runCycle(*pocket(turned)));
        ASSERT_EQ(rotated.size(), plain.size()) << degrees;
        for (std::size_t i = 0; i < plain.size(); ++i) {
            double x = plain[i].x(), y = plain[i].y();
            turn(x, y, 10.0, 20.0, degrees);
            EXPECT_EQ(rotated[i].code, plain[i].code) << i;
            EXPECT_NEAR(rotated[i].x(), x, 1e-3) << degrees << " record " << i;
            EXPECT_NEAR(rotated[i].y(), y, 1e-3) << degrees << " record " << i;
            EXPECT_EQ(rotated[i].z(), plain[i].z()) << i;
        }
    }
    // With 90 degrees the middle of the side at +u, (b - R, 0), lies straight above the centre.
    PocketSetUp up = flat;
    up.rotation = 90.0;
    const auto moves = readMoves(runCycle(*pocket(up)));
    int found = 0;
    for (const MoveRecord& m : moves)
        if (m.code == 1 && std::fabs(m.x() - 10.0) < 1e-4 && std::fabs(m.y() - 45.0) < 1e-4)
            ++found;
    EXPECT_GT(found, 0);
}

TEST(RectPocket, StepOverAndCornerRadiusFallBackAndAreStored) {
    struct Case {
        double stepOver, corner;
        double storedStepOver, storedCorner;
    };
    const Case cases[] = {
        {0.0, 5.0, 10.0 / 3.0, 5.0}, {-2.0, 2.0, 10.0 / 3.0, 5.0}, {4.0, 4.99, 4.0, 5.0},
        {4.0, 7.0, 4.0, 7.0},        {NAN, 5.0, 10.0 / 3.0, 5.0},  // a step-over that is no number
                                                                   // is not positive either
    };
    for (const Case& k : cases) {
        PocketSetUp p;
        p.stepOver = k.stepOver;
        p.corner = k.corner;
        auto c = pocket(p);
        const std::string nci = runCycle(*c);
        EXPECT_DOUBLE_EQ(c->value(17), k.storedStepOver) << k.stepOver;
        EXPECT_DOUBLE_EQ(c->value(18), k.storedCorner) << k.corner;
        EXPECT_DOUBLE_EQ(c->value(15), 20.0);  // halved in place
        EXPECT_DOUBLE_EQ(c->value(16), 30.0);
        EXPECT_FALSE(nci.empty());
    }
}

TEST(RectPocket, ToolWiderThanThePocketLeavesOnlyTheFinishingContour) {
    // Tool 50 in a 60 x 40 pocket: n = trunc((20 - 25) / 4) = -1, no rectangles and no rings.
    auto c = pocket({}, {50.0, 10.0, 20.0, 100.0, 0.0});
    const auto moves = readMoves(runCycle(*c));
    // Rapid, feed to the centre, plunge; contour: centre, side middle, small circle, four
    // sides (corner arcs of 25 - 25 = 0 are left out), back to the middle, quarter circle,
    // centre; the retract.
    ASSERT_EQ(moves.size(), 14u);
    const int codes[] = {0, 1, 1, 1, 1, 3, 1, 1, 1, 1, 1, 3, 1, 0};
    for (std::size_t i = 0; i < moves.size(); ++i)
        EXPECT_EQ(moves[i].code, codes[i]) << i;
    EXPECT_NEAR(moves[4].x(), 15.0, 1e-12);  // b - R = 5 beside the centre
}

TEST(RectPocket, FeedRetractBeforeTheRapidWhenAsked) {
    auto c = pocket({});
    c->SetFlag(8, false);
    const auto moves = readMoves(runCycle(*c));
    ASSERT_GE(moves.size(), 2u);
    const MoveRecord& feedOut = moves[moves.size() - 2];
    EXPECT_EQ(feedOut.code, 1);
    EXPECT_EQ(feedOut.z(), 2.0);
    EXPECT_EQ(moves.back().code, 0);
    EXPECT_EQ(moves.back().z(), 50.0);
}

TEST(RectPocket, PassesOfOneExpansionAreBounded) {
    // Square pocket, tool 10, step-over 1, corner radius R: m = n passes per layer with
    // n = half side - 5. Each pass is seven feeds; the finishing contour of a layer has two arcs.
    struct Case {
        double halfSide, depth, infeed;
        int passes;    // central rectangles written in all
        int contours;  // finishing contours written
    };
    const Case cases[] = {
        {5.0 + kMaxPocketPasses, 10.0, 20.0, kMaxPocketPasses, 1},  // exactly at the bound
        {6.0 + kMaxPocketPasses, 10.0, 20.0, kMaxPocketPasses, 0},  // one pass past it
        {5.0 + kMaxPocketPasses / 2, 10.0, 6.0, kMaxPocketPasses, 2},
        {6.0 + kMaxPocketPasses / 2, 10.0, 6.0, kMaxPocketPasses, 1},
    };
    for (const Case& k : cases) {
        PocketSetUp p;
        p.length = p.width = 2.0 * k.halfSide;
        p.stepOver = 1.0;
        p.depth = k.depth;
        p.infeed = k.infeed;
        const std::string nci = runCycle(*pocket(p));
        const auto moves = readMoves(nci);
        const int layers = k.infeed < k.depth ? 2 : 1;
        EXPECT_EQ(countCode(moves, 3), 2 * k.contours) << k.halfSide;
        // Feeds: to the centre, one plunge per layer, the passes and eight per finishing contour.
        EXPECT_EQ(countCode(moves, 1), 1 + layers + 7 * k.passes + 8 * k.contours) << k.halfSide;
        // However it ended, the tool leaves the pocket at the retract height over the centre.
        EXPECT_EQ(moves.back().code, 0);
        EXPECT_EQ(moves.back().x(), 10.0);
        EXPECT_EQ(moves.back().z(), 50.0);
        EXPECT_TRUE(test::checkToolPath(nci).empty());
    }
}

}  // namespace
}  // namespace morvane
