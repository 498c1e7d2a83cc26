// The exact NCI lines of every move primitive, the position each leaves, and the centre rule of
// the arcs given by radius.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

#include "nci/arc_centre.h"
#include "cycles/nci_drilling.h"

namespace morvane {
namespace {

struct CentreCase {
    const char* what;
    Point2 from, to;
    double r, side;
    Point2 centre;
};

TEST(ArcCentre, PicksTheCentreBySideAndRadiusSign) {
    const CentreCase cases[] = {
        // Horizontal chord 0,0 -> 10,0 with radius 13: centres 5,12 (left) and 5,-12.
        {"horizontal, left", {0, 0}, {10, 0}, 13, 1, {5, 12}},
        {"horizontal, right side", {0, 0}, {10, 0}, 13, -1, {5, -12}},
        {"horizontal, negative radius", {0, 0}, {10, 0}, -13, 1, {5, -12}},
        {"horizontal, negative radius right side", {0, 0}, {10, 0}, -13, -1, {5, 12}},
        // Vertical chord 0,0 -> 0,10: centres -12,5 (left of the upward chord) and 12,5.
        {"vertical, left", {0, 0}, {0, 10}, 13, 1, {-12, 5}},
        {"vertical, right side", {0, 0}, {0, 10}, 13, -1, {12, 5}},
        {"vertical downwards, left", {0, 10}, {0, 0}, 13, 1, {12, 5}},
        // Diagonal chord 0,0 -> 10,10 with radius 10: centres 0,10 and 10,0.
        {"diagonal, left", {0, 0}, {10, 10}, 10, 1, {0, 10}},
        {"diagonal, negative radius", {0, 0}, {10, 10}, -10, 1, {10, 0}},
        // Half circles: the chord is the diameter, both candidates coincide.
        {"half circle", {2, 3}, {6, 3}, 2, 1, {4, 3}},
        {"half circle back", {6, 3}, {2, 3}, -2, -1, {4, 3}},
        // A radius too short for the chord puts the centre on the chord's midpoint.
        {"too short, horizontal", {0, 0}, {10, 0}, 2, 1, {5, 0}},
        {"too short, vertical", {0, 0}, {0, 10}, 2, 1, {0, 5}},
        {"too short, diagonal", {0, 0}, {10, 10}, 1, -1, {5, 5}},
        // Below 1e-8 of height difference the chord counts as horizontal.
        {"nearly horizontal", {0, 0}, {10, 5e-9}, 13, 1, {5, 12}},
    };
    for (const auto& c : cases) {
        const Point2 got = arcCentre(c.from, c.to, c.r, c.side);
        EXPECT_NEAR(got.x, c.centre.x, 1e-12) << c.what;
        EXPECT_NEAR(got.y, c.centre.y, 1e-12) << c.what;
    }
}

TEST(ArcCentre, DegenerateInputsGiveNumbers) {
    const Point2 same = arcCentre({3, 4}, {3, 4}, 0.0, 1);
    EXPECT_EQ(same.x, 3.0);
    EXPECT_EQ(same.y, 4.0);
    // Radius 0 between distinct points: the midpoint, not a non-number.
    const Point2 mid = arcCentre({0, 0}, {4, 4}, 0.0, -1);
    EXPECT_EQ(mid.x, 2.0);
    EXPECT_EQ(mid.y, 2.0);
}

struct MoveCase {
    const char* what;
    CycleStart start;
    std::function<void(NCISimpleDrilling&, NciStream&)> move;
    const char* lines;
    double x, y, z;  // position afterwards
};

TEST(MovePrimitives, WriteTheirLinesAndMoveTheTool) {
    using D = NCISimpleDrilling;
    const CycleStart at10_20_50{10.0, 10.0, 20.0, 50.0, 0.0};
    const CycleStart at10_0_m5{10.0, 10.0, 0.0, -5.0, 0.0};
    const CycleStart origin{10.0, 0.0, 0.0, 0.0, 0.0};
    const MoveCase cases[] = {
        {"rapid", at10_20_50,
         [](D& c, NciStream& o) {
             c.RapidTo(o, {10, 20}, 2);
         },
         "0\n0 10 20 2 100 0\n", 10, 20, 2},
        {"rapid in the plane keeps Z", at10_20_50, [](D& c, NciStream& o) { c.RapidXY(o, 5, 6.5); },
         "0\n0 5 6.5 50 100 0\n", 5, 6.5, 50},
        {"feed", at10_20_50,
         [](D& c, NciStream& o) {
             c.FeedTo(o, {1.5, -2.25}, -10);
         },
         "1\n0 1.5 -2.25 -10 100 0\n", 1.5, -2.25, -10},
        {"feed in space", at10_20_50, [](D& c, NciStream& o) { c.FeedXYZ(o, 1, 2, 3); },
         "1\n0 1 2 3 100 0\n", 1, 2, 3},
        {"feed in the plane keeps Z", at10_20_50, [](D& c, NciStream& o) { c.FeedXY(o, 4, 5); },
         "1\n0 4 5 50 100 0\n", 4, 5, 50},
        {"six significant digits", at10_20_50,
         [](D& c, NciStream& o) {
             c.FeedTo(o, {1234.5678, 1.0 / 3.0}, -0.0);
         },
         "1\n0 1234.57 0.333333 -0 100 0\n", 1234.5678, 1.0 / 3.0, 0},
        {"dwell of 0 is still written", at10_20_50, [](D& c, NciStream& o) { c.Dwell(o, 0); },
         "4\n0 1 0\n", 10, 20, 50},
        {"dwell", at10_20_50, [](D& c, NciStream& o) { c.Dwell(o, 2.5); }, "4\n2.5 1 0\n", 10, 20,
         50},
        {"arc round a centre, counter-clockwise", at10_0_m5,
         [](D& c, NciStream& o) { c.ArcAround(o, 0, 0, 0, 10, 1); }, "3\n0 0 0 10 0 0 -5 100 0 0\n",
         0, 10, -5},
        {"arc round a centre, any other direction is clockwise", at10_0_m5,
         [](D& c, NciStream& o) { c.ArcAround(o, 0, 0, 0, -10, 0); },
         "2\n0 0 0 -10 0 0 -5 100 0 0\n", 0, -10, -5},
        {"arc by radius, counter-clockwise", origin,
         [](D& c, NciStream& o) { c.ArcRadius(o, 10, 0, 13, 1); }, "3\n0 0 10 0 5 12 0 100 0 0 \n",
         10, 0, 0},
        {"arc by radius, clockwise", origin,
         [](D& c, NciStream& o) { c.ArcRadius(o, 10, 0, 13, -0.5); },
         "2\n0 0 10 0 5 -12 0 100 0 0 \n", 10, 0, 0},
        {"arc by radius 0 writes nothing", origin,
         [](D& c, NciStream& o) { c.ArcRadius(o, 10, 0, 0, 1); }, "", 0, 0, 0},
        {"arc by negative radius writes nothing", origin,
         [](D& c, NciStream& o) { c.ArcRadius(o, 10, 0, -13, 1); }, "", 0, 0, 0},
        {"signed arc, positive", origin, [](D& c, NciStream& o) { c.ArcSigned(o, 0, 10, 13); },
         "3\n0 0 0 10 -12 5 0 100 0 0 \n", 0, 10, 0},
        {"signed arc, negative", origin, [](D& c, NciStream& o) { c.ArcSigned(o, 0, 10, -13); },
         "2\n0 0 0 10 12 5 0 100 0 0 \n", 0, 10, 0},
        {"signed arc of radius 0 writes nothing", origin,
         [](D& c, NciStream& o) { c.ArcSigned(o, 0, 10, 0); }, "", 0, 0, 0},
        {"full circle", at10_0_m5, [](D& c, NciStream& o) { c.FullCircle(o, 0, 0, 1); },
         "3\n0 0 10 0 0 0 -5 100 0 1\n", 10, 0, -5},
        {"full circle clockwise", at10_0_m5, [](D& c, NciStream& o) { c.FullCircle(o, 0, 0, -1); },
         "2\n0 0 10 0 0 0 -5 100 0 1\n", 10, 0, -5},
        {"helix arc", origin, [](D& c, NciStream& o) { c.HelixArc(o, 13, 10, 0, -2, 1); },
         "3\n0 0 10 0 5 12 -2 100 0 0 \n", 10, 0, -2},
        {"helix arc clockwise", origin,
         [](D& c, NciStream& o) { c.HelixArc(o, 13, 10, 0, -2, -1); },
         "2\n0 0 10 0 5 -12 -2 100 0 0 \n", 10, 0, -2},
        {"helix arc of radius 0 writes nothing", origin,
         [](D& c, NciStream& o) { c.HelixArc(o, 0, 10, 0, -2, 1); }, "", 0, 0, 0},
        {"helix circle changes only Z", at10_0_m5,
         [](D& c, NciStream& o) { c.HelixCircle(o, 0, 0, -8, 1); }, "3\n0 0 10 0 0 0 -8 100 0 1\n",
         10, 0, -8},
        {"helix circle clockwise", at10_0_m5,
         [](D& c, NciStream& o) { c.HelixCircle(o, 0, 0, -8, 2); }, "2\n0 0 10 0 0 0 -8 100 0 1\n",
         10, 0, -8},
    };
    for (const auto& c : cases) {
        NCISimpleDrilling cycle(c.start);
        cycle.SetValue(7, 100.0);
        NciStream out;
        c.move(cycle, out);
        EXPECT_EQ(out.view(), c.lines) << c.what;
        EXPECT_EQ(cycle.x(), c.x) << c.what;
        EXPECT_EQ(cycle.y(), c.y) << c.what;
        EXPECT_EQ(cycle.z(), c.z) << c.what;
    }
}

TEST(MovePrimitives, NonNumbersNeverReachTheText) {
    NCISimpleDrilling cycle({10.0, 0.0, 0.0, 0.0, std::numeric_limits<double>::quiet_NaN()});
    NciStream out;
    cycle.ArcSigned(out, 10, 0, std::numeric_limits<double>::infinity());
    cycle.FeedXY(out, std::numeric_limits<double>::quiet_NaN(), 1);
    EXPECT_EQ(out.view().find("nan"), std::string_view::npos);
    EXPECT_EQ(out.view().find("inf"), std::string_view::npos);
}

}  // namespace
}  // namespace morvane
