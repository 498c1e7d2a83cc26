// The exact NCI lines of every move primitive, the position each leaves, and the centre rule of
// the arcs given by radius.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "nci/arc_centre.h"
#include "cycles/nci_drilling.h"
#include "support/table_file.h"

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

using Primitive = std::function<void(NCISimpleDrilling&, NciStream&, const std::vector<double>&)>;

// The primitives by their names in cycles/moves.txt, each with its arguments in order.
const std::map<std::string, Primitive>& primitives() {
    using D = NCISimpleDrilling;
    using A = std::vector<double>;
    const auto dir = [](double v) { return static_cast<Turn>(static_cast<std::int32_t>(v)); };
    static const std::map<std::string, Primitive> kAll = {
        {"RapidTo",
         [](D& c, NciStream& o, const A& a) {
             c.RapidTo(o, {a[0], a[1]}, a[2]);
         }},
        {"RapidXY", [](D& c, NciStream& o, const A& a) { c.RapidXY(o, a[0], a[1]); }},
        {"FeedTo",
         [](D& c, NciStream& o, const A& a) {
             c.FeedTo(o, {a[0], a[1]}, a[2]);
         }},
        {"FeedXYZ", [](D& c, NciStream& o, const A& a) { c.FeedXYZ(o, a[0], a[1], a[2]); }},
        {"FeedXY", [](D& c, NciStream& o, const A& a) { c.FeedXY(o, a[0], a[1]); }},
        {"Dwell", [](D& c, NciStream& o, const A& a) { c.Dwell(o, a[0]); }},
        {"ArcAround", [dir](D& c, NciStream& o,
                            const A& a) { c.ArcAround(o, a[0], a[1], a[2], a[3], dir(a[4])); }},
        {"ArcRadius",
         [](D& c, NciStream& o, const A& a) { c.ArcRadius(o, a[0], a[1], a[2], a[3]); }},
        {"ArcSigned", [](D& c, NciStream& o, const A& a) { c.ArcSigned(o, a[0], a[1], a[2]); }},
        {"FullCircle",
         [dir](D& c, NciStream& o, const A& a) { c.FullCircle(o, a[0], a[1], dir(a[2])); }},
        {"HelixArc",
         [](D& c, NciStream& o, const A& a) { c.HelixArc(o, a[0], a[1], a[2], a[3], a[4]); }},
        {"HelixCircle",
         [dir](D& c, NciStream& o, const A& a) { c.HelixCircle(o, a[0], a[1], a[2], dir(a[3])); }},
    };
    return kAll;
}

std::vector<double> numbers(const std::string& text) {
    std::vector<double> values;
    for (const std::string& word : test::splitWords(text))
        values.push_back(std::strtod(word.c_str(), nullptr));
    return values;
}

// The table cycles/moves.txt.
TEST(MovePrimitives, WriteTheirLinesAndMoveTheTool) {
    for (const test::TableRow& row : test::readTable("cycles/moves.txt")) {
        const std::vector<double> start = numbers(row.at(0)), after = numbers(row.at(3));
        const std::string name = row.at(1).substr(0, row.at(1).find(' '));
        const std::vector<double> arguments = numbers(row.at(1).substr(name.size()));
        ASSERT_TRUE(start.size() == 3 && after.size() == 3) << row.where;
        const auto primitive = primitives().find(name);
        ASSERT_NE(primitive, primitives().end()) << row.where << ": no primitive " << name;
        NCISimpleDrilling cycle({10.0, start[0], start[1], start[2], 0.0});
        cycle.SetValue(7, 100.0);
        NciStream out;
        primitive->second(cycle, out, arguments);
        EXPECT_EQ(out.view(), test::unescaped(row.at(2))) << row.where;
        EXPECT_EQ(cycle.x(), after[0]) << row.where;
        EXPECT_EQ(cycle.y(), after[1]) << row.where;
        EXPECT_EQ(cycle.z(), after[2]) << row.where;
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
