#include "nci/arc_centre.h"

#include <algorithm>
#include <cmath>

namespace morvane {

namespace {

// End points closer than this in the second axis make a chord parallel to the first axis.
constexpr double kParallelChord = 1e-8;

// Zero for a negative value; a non-number stays one.
double notBelowZero(double v) {
    return v < 0.0 ? 0.0 : v;
}

}  // namespace

Point2 arcCentre(Point2 from, Point2 to, double r, double side) {
    const double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
    // The two centres at distance r from both ends lie on the chord's perpendicular bisector.
    Point2 a, b;
    if (std::fabs(y0 - y1) < kParallelChord) {
        // A chord longer than the diameter has no centre; both candidates fall onto its middle.
        const double h = std::sqrt(notBelowZero(r * r - (x0 - x1) * (x0 - x1) / 4.0));
        a = {(x0 + x1) / 2.0, y0 + h};
        b = {(x0 + x1) / 2.0, y0 - h};
    } else {
        // Intersect the bisector y = m x + c with the circle of radius r around the start point.
        const double m = -(x0 - x1) / (y0 - y1);
        const double c = (y0 * y0 + x0 * x0 - x1 * x1 - y1 * y1) / 2.0 / (y0 - y1);
        const double u = c - y0;
        const double v = x0 - u * m;
        const double k = m * m + 1.0;
        const double w = std::sqrt(notBelowZero(v * v - (u * u + x0 * x0 - r * r) * k));
        a.x = (v + w) / k;
        a.y = m * a.x + c;
        b.x = (v - w) / k;
        b.y = m * b.x + c;
    }
    // Which side of the chord the first candidate lies on, seen in the arc's direction.
    const double s = r > 0.0 ? 1.0 : -1.0;
    const double turn = (y1 - a.y) * (x0 - a.x) - (y0 - a.y) * (x1 - a.x);
    return turn * side * s < 0.0 ? b : a;
}

Point2 arcCentreOnNormal(Point2 from, Point2 to, double r, double side) {
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double chord = std::hypot(dx, dy);
    const double radius = std::fabs(r);
    if (!(chord > 0.0)) return {from.x, from.y + radius};
    const double h = std::sqrt(std::fmax(0.0, radius * radius - chord * chord / 4.0));
    const double offset = (r > 0.0 ? 1.0 : -1.0) * side * h / chord;
    return {(from.x + to.x) / 2.0 - dy * offset, (from.y + to.y) / 2.0 + dx * offset};
}

}  // namespace morvane
