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

// Where the reference point lies (value 24), as the direction from it to the centre in the
// pocket's axes. Any other position is the centre itself.
struct ReferenceCorner {
    std::int32_t position;
    double su, sv;
};
constexpr ReferenceCorner kReferenceCorners[] = {
    {1, +1.0, +1.0},  // lower-left corner
    {2, -1.0, +1.0},  // lower-right corner
    {3, -1.0, -1.0},  // upper-right corner
    {4, +1.0, -1.0},  // upper-left corner
};

}  // namespace

Point2 NCIRectPocket::toWorld(double u, double v, Point2 centre) const {
    // Value 23 holds the programmed counter-clockwise angle negated.
    const double alpha = -value(23);
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
    arcMove(out, cw ? 2 : 3, p.x, p.y, arcCentre(here(), p, r, cw ? -1.0 : 1.0), z_, false,
            false);
}

void NCIRectPocket::Generate(NciStream& out) {
    const double a = value(15) / 2.0, b = value(16) / 2.0;
    setValueDirect(15, a);
    setValueDirect(16, b);
    const Point2 reference = here();
    centre_ = reference;
    const std::int32_t position = truncToInt32(value(24));
    for (const ReferenceCorner& corner : kReferenceCorners)
        if (corner.position == position) centre_ = toWorld(corner.su * b, corner.sv * a, reference);
    if (!finiteSetUp(*this) || !allFinite({a, b, value(18), value(23), centre_.x, centre_.y}))
        return;

    reportWallCircle(out);
    if (corrected() && (value(19) != 0.0 || value(20) != 0.0 || value(21) != 0.0 ||
                        value(27) != 0.0)) {
        machinePasses(out, reference);
        return;
    }
    // The tool plunges straight down at the centre for every layer.
    cutInLayers(*this, out, reference, centre_, [&](bool) {
        ClearLayer(out);
        return !passes_.spent();
    });
}

void NCIRectPocket::reportWallCircle(NciStream& out) const {
    Diagnostics* diagnostics = out.diagnostics();
    if (diagnostics == nullptr || !diagnostics->wanted()) return;
    // The exact circle's centre lies e along world +Y from the contour's start: it reaches
    // e (1 + sin angle) beyond the contour along the pocket's first axis.
    const double d = pathDiameter(toolDiameter()), e = d / 20.0;
    const double reach = e * (1.0 + std::sin(-value(23)));
    if (!(reach > 1e-9)) return;
    const Point2 at = toWorld(value(16) - d / 2.0, 0.0, centre_);
    const std::string where = "X" + preciseRealToString(at.x) + " Y" + preciseRealToString(at.y);
    diagnostics->correction(
        diagnostic::kPocketWallCircle,
        "the small circle where the pocket's finishing contour starts, at " + where + ", cuts " +
            preciseRealToString(reach) +
            " into the wall (the corrected semantics turns it inside the contour)",
        "the small circle where the pocket's finishing contour starts, at " + where +
            ", turns inside the contour");
}

void NCIRectPocket::ClearLayer(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0;
    if (!(value(17) > 0.0)) setValueDirect(17, d / 3.0);
    if (value(18) < r) setValueDirect(18, r);
    const double s = value(17), rc = value(18);
    const double a = value(15), b = value(16);
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
        ring(out, w, rc - w, true);
    }

    wallContour(out);
}

void NCIRectPocket::wallContour(NciStream& out) {
    // A tool radius from the walls: out to the middle of the side at +u, a small full circle
    // there, round the walls, and off the wall on a quarter circle.
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0, e = d / 20.0;
    const double b = value(16), rc = value(18);
    const double cx = centre_.x, cy = centre_.y;
    FeedLocal(out, 0.0, 0.0, cx, cy);
    FeedLocal(out, b - r, 0.0, cx, cy);
    if (corrected())
        arcMove(out, clockwise() ? 2 : 3, x_, y_, toWorld(b - r - e, 0.0, centre_), z_, true,
                false);
    else
        ArcLocal(out, b - r, 0.0, e, cx, cy);
    ring(out, r, rc - r, false);
    ArcLocal(out, b - r - e, e, e, cx, cy);
    FeedLocal(out, 0.0, 0.0, cx, cy);
}

void NCIRectPocket::machinePasses(NciStream& out, Point2 reference) {
    const PocketPasses passes{std::max(value(19), 0.0), std::max(value(20), 0.0),
                              truncToInt32(value(21)), value(25)};
    cutInPasses(
        *this, out, reference, centre_, passes, passes_,
        [&](double z) { plungeTo(out, z, passes.side); }, [&] { clearWithin(out, passes.side); },
        [&] { wallContour(out); });
}

void NCIRectPocket::clearWithin(NciStream& out, double allowance) {
    const double a = value(15), b = value(16), rc = value(18);
    setValueDirect(15, a - allowance);
    setValueDirect(16, b - allowance);
    setValueDirect(18, std::max(rc - allowance, 0.0));
    ClearLayer(out);
    setValueDirect(15, a);
    setValueDirect(16, b);
    setValueDirect(18, rc);
}

void NCIRectPocket::plungeTo(NciStream& out, double z, double allowance) {
    const double r = pathDiameter(toolDiameter()) / 2.0;
    // The room the tool centre has from the pocket centre along u and along v.
    const double roomU = value(16) - allowance - r, roomV = value(15) - allowance - r;
    const std::int32_t plunging = truncToInt32(value(27));
    const double helix = std::min({r / 2.0, roomU, roomV});
    const double ramp = std::min(2.0 * r, roomU);
    const double cx = centre_.x, cy = centre_.y;
    if (plunging == 1 && helix > 1e-9) {
        FeedLocal(out, helix, 0.0, cx, cy);
        HelixCircle(out, cx, cy, z, clockwise() ? 2 : 1);
        FeedLocal(out, 0.0, 0.0, cx, cy);
    } else if (plunging == 2 && ramp > 1e-9) {
        const Point2 end = toWorld(ramp, 0.0, centre_);
        FeedXYZ(out, end.x, end.y, (z_ + z) / 2.0);
        FeedXYZ(out, cx, cy, z);
    } else {
        FeedTo(out, centre_, z);
    }
}

void NCIRectPocket::ring(NciStream& out, double w, double q, bool entry) {
    const double a = value(15), b = value(16), rc = value(18);
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
