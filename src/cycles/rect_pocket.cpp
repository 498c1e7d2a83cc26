// Longhand rectangular pocket (cycles 251, 253 and the old-style slot and pocket cycles 3 and 4):
// layer by layer, the tool plunges at the centre, clears outwards by rectangles and rings and
// finishes along the walls. Geometry is worked in the pocket's own axes (u along the first side,
// v along the second) and turned by the programmed angle about the centre.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "cycles/nci_milling_cycles.h"
#include "cycles/pocket_passes.h"
#include "nci/diagnostics.h"
#include "nci/int_conversion.h"

namespace morvane {
namespace {

using namespace rect_pocket;

// Where the reference point lies, as the direction from it to the centre in the pocket's axes.
// Any other position is the centre itself.
struct ReferenceCorner {
    PocketReference position;
    double su, sv;
};
constexpr ReferenceCorner kReferenceCorners[] = {
    {PocketReference::LowerLeft, +1.0, +1.0},
    {PocketReference::LowerRight, -1.0, +1.0},
    {PocketReference::UpperRight, -1.0, -1.0},
    {PocketReference::UpperLeft, +1.0, -1.0},
};

}  // namespace

Point2 NCIRectPocket::toWorld(double u, double v, Point2 centre) const {
    // The rotation is stored as the programmed counter-clockwise angle negated.
    const double alpha = -value(kRotation);
    return {centre.x + u * std::cos(alpha) - v * std::sin(alpha),
            centre.y + u * std::sin(alpha) + v * std::cos(alpha)};
}

void NCIRectPocket::FeedLocal(NciStream& out, double u, double v, double cx, double cy) {
    const Point2 p = toWorld(u, clockwise() ? -v : v, {cx, cy});
    FeedXY(out, p.x, p.y);
}

void NCIRectPocket::ArcLocal(NciStream& out, double u, double v, double r, double cx, double cy) {
    if (!(r > 0.0)) return;
    const bool cw = clockwise();
    const Point2 p = toWorld(u, cw ? -v : v, {cx, cy});
    arcMove(out, cw ? 2 : 3, p.x, p.y, arcCentre(here(), p, r, cw ? -1.0 : 1.0), z_, false, false);
}

void NCIRectPocket::Generate(NciStream& out) {
    const PocketShape shape{value(kSecondAxisSize) / 2.0, value(kFirstAxisSize) / 2.0,
                            value(kCornerRadius)};
    const double a = shape.halfV, b = shape.halfU;
    const Point2 reference = here();
    centre_ = reference;
    const auto position = static_cast<PocketReference>(truncToInt32(value(kReference)));
    for (const ReferenceCorner& corner : kReferenceCorners)
        if (corner.position == position) centre_ = toWorld(corner.su * b, corner.sv * a, reference);
    if (!finiteSetUp(*this) ||
        !allFinite({a, b, shape.cornerRadius, value(kRotation), centre_.x, centre_.y}))
        return;

    reportWallCircle(out, shape);
    if (corrected() && (value(kSideAllowance) != 0.0 || value(kFloorAllowance) != 0.0 ||
                        value(kOperation) != 0.0 || value(kPlunging) != 0.0)) {
        machinePasses(out, shape, reference);
        return;
    }
    // The tool plunges straight down at the centre for every layer.
    cutInLayers(*this, out, reference, centre_, [&](bool) {
        ClearLayer(out, shape);
        return !passes_.spent();
    });
}

void NCIRectPocket::reportWallCircle(NciStream& out, const PocketShape& shape) const {
    Diagnostics* diagnostics = out.diagnostics();
    if (diagnostics == nullptr || !diagnostics->wanted()) return;
    // The exact circle's centre lies e along world +Y from the contour's start: it reaches
    // e (1 + sin angle) beyond the contour along the pocket's first axis.
    const double d = pathDiameter(toolDiameter()), e = d / 20.0;
    const double reach = e * (1.0 + std::sin(-value(kRotation)));
    if (!(reach > 1e-9)) return;
    const Point2 at = toWorld(shape.halfU - d / 2.0, 0.0, centre_);
    const std::string where = "X" + preciseRealToString(at.x) + " Y" + preciseRealToString(at.y);
    diagnostics->correction(
        diagnostic::kPocketWallCircle,
        "the small circle where the pocket's finishing contour starts, at " + where + ", cuts " +
            preciseRealToString(reach) +
            " into the wall (the corrected semantics turns it inside the contour)",
        "the small circle where the pocket's finishing contour starts, at " + where +
            ", turns inside the contour");
}

void NCIRectPocket::ClearLayer(NciStream& out, const PocketShape& shape) {
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0;
    // No step-over: a third of the tool; no corner tighter than the tool.
    const double s = value(kStepOver) > 0.0 ? value(kStepOver) : d / 3.0;
    const double rc = shape.cornerRadius < r ? r : shape.cornerRadius;
    const PocketShape cleared{shape.halfV, shape.halfU, rc};
    const double a = shape.halfV, b = shape.halfU;
    const double cx = centre_.x, cy = centre_.y;

    // n steps fit between the centre and the wall; the outer ones are rings with rounded corners,
    // the inner m are rectangles grown from the centre along the longer side.
    const std::int64_t n = truncToInt32((std::min(a, b) - r) / s);
    const std::int64_t m = n - truncToInt32(2.0 * rc / d) + 1;
    for (std::int64_t i = 0; i < m; ++i) {
        if (!passes_.take()) return;
        const double t = static_cast<double>(i) * s;
        if (b < a) {
            const double g = a - b;
            const Point2 path[] = {{t, 0.0},      {t, g + t}, {-t, g + t}, {-t, -(g + t)},
                                   {t, -(g + t)}, {t, 0.0},   {0.0, 0.0}};
            for (const Point2& p : path)
                FeedLocal(out, p.x, p.y, cx, cy);
        } else {
            const double g = b - a;
            const Point2 path[] = {{0.0, t},   {-(g + t), t}, {-(g + t), -t}, {g + t, -t},
                                   {g + t, t}, {0.0, t},      {0.0, 0.0}};
            for (const Point2& p : path)
                FeedLocal(out, p.x, p.y, cx, cy);
        }
    }
    for (std::int64_t k = n - m; k >= 1; --k) {
        if (!passes_.take()) return;
        const double w = r + static_cast<double>(k) * s;
        ring(out, cleared, w, rc - w, true);
    }

    wallContour(out, cleared);
}

void NCIRectPocket::wallContour(NciStream& out, const PocketShape& shape) {
    // A tool radius from the walls: out to the middle of the side at +u, a small full circle
    // there, round the walls, and off the wall on a quarter circle.
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0, e = d / 20.0;
    const double b = shape.halfU, rc = shape.cornerRadius;
    const double cx = centre_.x, cy = centre_.y;
    FeedLocal(out, 0.0, 0.0, cx, cy);
    FeedLocal(out, b - r, 0.0, cx, cy);
    if (corrected())
        arcMove(out, clockwise() ? 2 : 3, x_, y_, toWorld(b - r - e, 0.0, centre_), z_, true,
                false);
    else
        ArcLocal(out, b - r, 0.0, e, cx, cy);
    ring(out, shape, r, rc - r, false);
    ArcLocal(out, b - r - e, e, e, cx, cy);
    FeedLocal(out, 0.0, 0.0, cx, cy);
}

void NCIRectPocket::machinePasses(NciStream& out, const PocketShape& shape, Point2 reference) {
    const PocketPasses passes{
        std::max(value(kSideAllowance), 0.0), std::max(value(kFloorAllowance), 0.0),
        static_cast<MachiningOperation>(truncToInt32(value(kOperation))), value(kFinishingInfeed)};
    // Roughing clears the pocket made smaller on every side by the side allowance.
    const PocketShape roughed{shape.halfV - passes.side, shape.halfU - passes.side,
                              std::max(shape.cornerRadius - passes.side, 0.0)};
    cutInPasses(
        *this, out, reference, centre_, passes, passes_,
        [&](double z) { plungeTo(out, shape, z, passes.side); }, [&] { ClearLayer(out, roughed); },
        [&] { wallContour(out, shape); });
}

void NCIRectPocket::plungeTo(NciStream& out, const PocketShape& shape, double z, double allowance) {
    const double r = pathDiameter(toolDiameter()) / 2.0;
    // The room the tool centre has from the pocket centre along u and along v.
    const double roomU = shape.halfU - allowance - r, roomV = shape.halfV - allowance - r;
    const auto plunging = static_cast<Plunging>(truncToInt32(value(kPlunging)));
    const double helix = std::min({r / 2.0, roomU, roomV});
    const double ramp = std::min(2.0 * r, roomU);
    const double cx = centre_.x, cy = centre_.y;
    if (plunging == Plunging::Helical && helix > 1e-9) {
        FeedLocal(out, helix, 0.0, cx, cy);
        HelixCircle(out, cx, cy, z, clockwise() ? Turn::Clockwise : Turn::CounterClockwise);
        FeedLocal(out, 0.0, 0.0, cx, cy);
    } else if (plunging == Plunging::Reciprocating && ramp > 1e-9) {
        const Point2 end = toWorld(ramp, 0.0, centre_);
        FeedXYZ(out, end.x, end.y, (z_ + z) / 2.0);
        FeedXYZ(out, cx, cy, z);
    } else {
        FeedTo(out, centre_, z);
    }
}

void NCIRectPocket::ring(NciStream& out, const PocketShape& shape, double w, double q, bool entry) {
    const double a = shape.halfV, b = shape.halfU, rc = shape.cornerRadius;
    const double cx = centre_.x, cy = centre_.y;
    if (entry) FeedLocal(out, b - w, 0.0, cx, cy);
    FeedLocal(out, b - w, a - rc, cx, cy);
    ArcLocal(out, b - rc, a - w, q, cx, cy);
    FeedLocal(out, -(b - rc), a - w, cx, cy);
    ArcLocal(out, -(b - w), a - rc, q, cx, cy);
    FeedLocal(out, -(b - w), -(a - rc), cx, cy);
    ArcLocal(out, -(b - rc), -(a - w), q, cx, cy);
    FeedLocal(out, b - rc, -(a - w), cx, cy);
    ArcLocal(out, b - w, -(a - rc), q, cx, cy);
    FeedLocal(out, b - w, 0.0, cx, cy);
}

}  // namespace morvane
