#include "arc_geometry.h"

#include <cmath>
#include <numbers>

namespace morvane::cli {

void toPlane(int plane, const PathPoint& p, double& h, double& v, double& d) {
    if (plane == 1) {
        h = p.y, v = p.z, d = p.x;
    } else if (plane == 2) {
        h = p.x, v = p.z, d = p.y;
    } else {
        h = p.x, v = p.y, d = p.z;
    }
}

int chordCount(double sweep, double step, int most) {
    const double n = std::ceil(std::fabs(sweep) / step);
    if (!(n >= 1)) return 1;  // also not a number, from extents beyond a double
    return n >= most ? most : static_cast<int>(n);
}

PathPoint fromPlane(int plane, double h, double v, double d) {
    if (plane == 1) return {d, h, v};
    if (plane == 2) return {h, d, v};
    return {h, v, d};
}

ArcGeometry::ArcGeometry(const PathEvent& arc) : plane_(arc.plane) {
    double sh, sv, eh, ev, ignored;
    toPlane(plane_, arc.from, sh, sv, startDepth_);
    toPlane(plane_, arc.to, eh, ev, endDepth_);
    toPlane(plane_, arc.centre, centreH_, centreV_, ignored);
    startRadius_ = std::hypot(sh - centreH_, sv - centreV_);
    endRadius_ = std::hypot(eh - centreH_, ev - centreV_);
    startAngle_ = std::atan2(sv - centreV_, sh - centreH_);
    const double endAngle = std::atan2(ev - centreV_, eh - centreH_);
    constexpr double kTurn = 2 * std::numbers::pi;
    double ccw = std::fmod(endAngle - startAngle_ + 2 * kTurn, kTurn);  // [0, turn)
    if (arc.fullCircle || ccw < 1e-12) ccw = kTurn;
    sweep_ = arc.clockwise ? -(ccw == kTurn ? kTurn : kTurn - ccw) : ccw;
}

PathPoint ArcGeometry::at(double t) const {
    const double angle = startAngle_ + sweep_ * t;
    const double r = startRadius_ + (endRadius_ - startRadius_) * t;
    return fromPlane(plane_, centreH_ + r * std::cos(angle), centreV_ + r * std::sin(angle),
                     startDepth_ + (endDepth_ - startDepth_) * t);
}

double ArcGeometry::length() const {
    return std::hypot(radius() * std::fabs(sweep_), endDepth_ - startDepth_);
}

}  // namespace morvane::cli
