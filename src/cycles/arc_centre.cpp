#include "cycles/arc_centre.h"

#include <algorithm>
#include <cmath>

namespace morvane {

Point2 arcCentre(Point2 from, Point2 to, double r, double side) {
    const double x0 = from.x, y0 = from.y, x1 = to.x, y1 = to.y;
    Point2 a, b;
    if (std::fabs(y0 - y1) < 1e-8) {
        // Horizontal chord: the centres lie on the vertical through its midpoint.
        const double h = std::sqrt(std::max(0.0, r * r - (x0 - x1) * (x0 - x1) / 4.0));
        a = {(x0 + x1) / 2.0, y0 + h};
        b = {(x0 + x1) / 2.0, y0 - h};
    } else {
        // Intersect the chord's perpendicular bisector y = m x + c with the circle of radius r
        // around the start point.
        const double m = -(x0 - x1) / (y0 - y1);
        const double c = (y0 * y0 + x0 * x0 - x1 * x1 - y1 * y1) / (2.0 * (y0 - y1));
        const double u = c - y0;
        const double v = x0 - u * m;
        const double k = m * m + 1.0;
        const double w = std::sqrt(std::max(0.0, v * v - (u * u + x0 * x0 - r * r) * k));
        a.x = (v + w) / k;
        a.y = m * a.x + c;
        b.x = (v - w) / k;
        b.y = m * b.x + c;
    }
    const double s = r > 0.0 ? 1.0 : -1.0;
    const double turn = (y1 - a.y) * (x0 - a.x) - (x1 - a.x) * (y0 - a.y);
    return turn * side * s < 0.0 ? b : a;
}

}  // namespace morvane
