// Arc centres: from the radius word, and from I J K in whichever of the three meanings the
// program uses (absolute, relative to the start point, relative to the end point).
#include <algorithm>
#include <cmath>

#include "nci/frame_rules.h"
#include "nci/nci_frame.h"

namespace morvane {
namespace {

struct Vec3 {
    double x, y, z;
};
Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
double length(Vec3 v) {
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

Vec3 position(const MachineState& s) {
    return {s.x, s.y, s.z};
}

void storeCentre(varstorage* vars, Vec3 centre) {
    vars[addr::I].setDouble(centre.x);
    vars[addr::J].setDouble(centre.y);
    vars[addr::K].setDouble(centre.z);
}

// Centre words and the two ends may differ by this much and still be taken as one reading.
constexpr double kCentreTolerance = 0.001;
// A chord whose ends differ less than this along the plane's second axis is taken as parallel
// to the first axis.
constexpr double kParallelChord = 1e-8;

}  // namespace

void NCIFrame::ArcCenterFromRadius(std::int32_t direction) {
    const double radiusWord = GetDouble(addr::R);
    // A negative radius asks for the arc longer than a half circle.
    const double sr = radiusWord > 0.0 ? 1.0 : -1.0;
    const double r = sr * radiusWord;
    const PlaneAxes& axes = planeAxes(plane_);
    const double a0 = previous_.*axes.horizontal, b0 = previous_.*axes.vertical;
    const double a1 = current_.*axes.horizontal, b1 = current_.*axes.vertical;

    // The two centres at distance r from both ends lie on the chord's perpendicular bisector.
    double a1c, b1c, a2c, b2c;
    if (std::fabs(b0 - b1) < kParallelChord) {
        // A chord longer than the diameter has no centre; both candidates fall onto its middle.
        double radicand = r * r - (a0 - a1) * (a0 - a1) / 4.0;
        if (radicand < 0.0) radicand = 0.0;
        const double h = std::sqrt(radicand);
        a1c = a2c = (a0 + a1) / 2.0;
        b1c = b0 - h;
        b2c = b0 + h;
    } else {
        const double k = -(a0 - a1) / (b0 - b1);
        const double c = (b0 * b0 + a0 * a0 - a1 * a1 - b1 * b1) / 2.0 / (b0 - b1);
        const double e = c - b0;
        const double g = a0 - e * k;
        const double w = k * k + 1.0;
        double disc = g * g - (e * e + a0 * a0 - r * r) * w;
        if (disc < 0.0) disc = 0.0;
        a1c = (g - std::sqrt(disc)) / w;
        a2c = (g + std::sqrt(disc)) / w;
        b1c = k * a1c + c;
        b2c = k * a2c + c;
    }
    // Which side of the chord the second candidate lies on, seen in the arc's direction.
    const double side =
        ((b1 - b2c) * (a0 - a2c) - (b0 - b2c) * (a1 - a2c)) * static_cast<double>(direction) * sr;
    const bool first = side < 0.0;
    vars_[axes.centreH].setDouble(first ? a1c : a2c);
    vars_[axes.centreV].setDouble(first ? b1c : b2c);
    vars_[axes.centreDepth].setDouble(previous_.*axes.depth);
}

void NCIFrame::DetectArcCenterMode() {
    const Vec3 c{GetDouble(addr::I), GetDouble(addr::J), GetDouble(addr::K)};
    const Vec3 p0 = position(previous_);
    const Vec3 p1 = position(current_);
    Vec3 centre;
    if (std::fabs(length(c) - length(c + p0 - p1)) < kCentreTolerance) {
        arcCentreMode_ = 2;
        centre = c + p0;
    } else if (std::fabs(length(c - p1) - length(c - p0)) < kCentreTolerance) {
        arcCentreMode_ = 1;
        return;
    } else if (std::fabs(length(c) - length(c + p1 - p0)) < kCentreTolerance) {
        arcCentreMode_ = 3;
        centre = c + p1;
    } else {
        return;
    }
    storeCentre(vars_, centre);
}

void NCIFrame::ResolveArcCenter() {
    if (arcCentreMode_ != 2 && arcCentreMode_ != 3) {
        if (arcCentreMode_ != 1) DetectArcCenterMode();
        return;
    }
    const Vec3 c{GetDouble(addr::I), GetDouble(addr::J), GetDouble(addr::K)};
    storeCentre(vars_, c + (arcCentreMode_ == 2 ? position(previous_) : position(current_)));
}

}  // namespace morvane
