// Longhand surface milling: multipass milling of a rectangle (cycle 230), a ruled surface
// between four corners (231) and face milling in layers with three strategies (232). All of it
// is straight feed moves.
#include <algorithm>
#include <cmath>

#include "cycles/nci_milling_cycles.h"
#include "nci/int_conversion.h"

namespace morvane {
namespace {

// Multipass milling starts and ends each cut this far outside the rectangle, beyond the tool
// radius (program units).
constexpr double kMultipassRunOut = 2.0;

struct Point3 {
    double x = 0.0, y = 0.0, z = 0.0;
};

Point3 between(const Point3& from, const Point3& to, double t) {
    return {from.x + t * (to.x - from.x), from.y + t * (to.y - from.y),
            from.z + t * (to.z - from.z)};
}

// A count value as the number of cuts to write: at most `limit` (a larger count is noted on
// `cycle` as cut short by `what`), none when not positive.
int cutCount(NCIGeneralCycle& cycle, double n, int limit, const char* what) {
    if (!(n > 0.0)) return 0;
    if (truncToInt32(n) > limit) cycle.noteBound(what, limit);
    return std::min(truncToInt32(n), limit);
}

}  // namespace

void NCIMultipassMilling::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    using namespace multipass;
    const double a = value(kExtentX), length = value(kExtentY);
    const double xs = value(kStartX), ys = value(kStartY);
    const double n = value(kCuts);
    const double runOut = toolDiameter() / 2.0 + kMultipassRunOut;

    const Point2 start{xs - runOut, ys};
    RapidXY(out, start.x, start.y);
    RapidTo(out, start, clearanceHeight());
    FeedTo(out, start, surface());
    // The cuts are spread evenly from ys to ys + length; a single cut runs at ys.
    const double spacing = n == 1.0 ? 0.0 : length / (n - 1.0);
    const int cuts = cutCount(*this, n, kMaxMultipassCuts, "cuts");
    for (int j = 0; j < cuts; ++j) {
        const double y = ys + static_cast<double>(j) * spacing;
        const double from = j % 2 == 0 ? xs - runOut : xs + a + runOut;
        const double to = j % 2 == 0 ? xs + a + runOut : xs - runOut;
        FeedXY(out, from, y);
        FeedXY(out, to, y);
    }
    FeedTo(out, here(), clearanceHeight());
}

void NCIRuledSurface::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    // The corners' coordinates follow each other from the first.
    const auto corner = [&](int i) {
        const int first = ruled_surface::kFirstCorner + 3 * i;
        return Point3{value(first), value(first + 1), value(first + 2)};
    };
    const Point3 p1 = corner(0), p2 = corner(1), p3 = corner(2), p4 = corner(3);
    const double n = value(ruled_surface::kCuts);
    // Every line is entered and left half a tool diameter above the surface.
    const double lift = (toolDiameter() > 0.0 ? toolDiameter() : 0.1) / 2.0;

    RapidXY(out, p1.x, p1.y);
    const int lines = cutCount(*this, n, kMaxRuledLines, "lines");
    for (int j = 0; j < lines; ++j) {
        const double t = n == 1.0 ? 0.0 : static_cast<double>(j) / (n - 1.0);
        const Point3 a = between(p1, p4, t), b = between(p2, p3, t);
        FeedXYZ(out, a.x, a.y, a.z + lift);
        FeedXYZ(out, a.x, a.y, a.z);
        FeedXYZ(out, b.x, b.y, b.z);
        FeedXYZ(out, b.x, b.y, b.z + lift);
        FeedXYZ(out, a.x, a.y, a.z + lift);
    }
}

void NCIFaceMilling::FaceLayer(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const Point2 q = here();
    const double z0 = z();
    using namespace face_milling;
    const double a = value(kExtentX), b = value(kExtentY), g = value(kSideClearance);
    // A factor that is not positive is taken as 1 (cuts one tool diameter apart), so that the
    // width is always divided by a usable step.
    const double k = value(kOverlap) > 0.0 ? value(kOverlap) : 1.0;
    const double step = d * k > 0.0 && std::isfinite(d * k) ? d * k : d;
    const double farX = q.x + a + 2.0 * g + d;  // beyond the far edge by the side clearance

    // Stored rounded already.
    const auto strategy = static_cast<FaceStrategy>(truncToInt32(value(kStrategy)));
    if (strategy == FaceStrategy::MeanderOvershoot || strategy == FaceStrategy::MeanderInside) {
        // An odd number of spaces, so that the last pair of cuts ends on the far side at y0 + b.
        const double spaces = std::fmax(1.0, 2.0 * std::trunc(std::trunc(b / step) / 2.0) + 1.0);
        const double spacing = b / spaces;
        const bool inside = strategy == FaceStrategy::MeanderInside;
        const double xa = inside ? q.x + g + d / 2.0 : q.x;
        const double xb = inside ? q.x + a + g + d / 2.0 : farX;
        for (double i = 0.0; i < spaces; i += 2.0) {
            if (!lines_.take()) return;
            FeedXY(out, xa, q.y + i * spacing);
            FeedXY(out, xb, q.y + i * spacing);
            if (!lines_.take()) return;
            FeedXY(out, xb, q.y + (i + 1.0) * spacing);
            FeedXY(out, xa, q.y + (i + 1.0) * spacing);
        }
        if (inside) FeedXY(out, q.x, q.y + b);
        FeedXY(out, q.x, q.y);
    } else if (strategy == FaceStrategy::OneDirection) {
        // A surface narrower than one step still gets its two edge cuts.
        const double spaces = std::fmax(1.0, std::trunc(b / step));
        const double spacing = b / spaces;
        const double lifted = z0 + infeed();
        for (double i = 0.0; i < spaces; i += 1.0) {
            if (!lines_.take()) return;
            FeedXY(out, farX, q.y + i * spacing);
            FeedTo(out, here(), lifted);
            RapidXY(out, q.x, q.y + (i + 1.0) * spacing);
            FeedTo(out, here(), z0);
        }
        if (!lines_.take()) return;
        FeedXY(out, farX, q.y + b);
        FeedTo(out, here(), lifted);
        FeedXY(out, q.x, q.y);
    }
}

void NCIFaceMilling::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    using namespace face_milling;
    const Point2 q{value(kStartX) - toolDiameter() / 2.0 - value(kSideClearance), value(kStartY)};
    RapidXY(out, q.x, q.y);
    RapidTo(out, q, clearanceHeight());

    // Layers from the surface itself down to the floor allowance, then the floor.
    const double roughDepth = depth() - value(kFloorAllowance);
    double below = 0.0;
    int i = 0;
    for (; i < kMaxInfeeds && roughDepth > below && !lines_.spent(); ++i) {
        FeedTo(out, q, surface() - below);
        FaceLayer(out);
        if (!(infeed() > 0.0)) break;
        below += infeed();
    }
    if (i == kMaxInfeeds && roughDepth > below) noteBound(kInfeedsBound, kMaxInfeeds);
    for (const double last : {roughDepth, depth()}) {
        if (lines_.spent()) break;
        FeedTo(out, q, surface() - last);
        FaceLayer(out);
    }
    // A spent line budget leaves the tool on the layer: straight up out of the cut first.
    if (lines_.spent()) FeedTo(out, here(), clearanceHeight());
    if (!rapidRetract()) FeedTo(out, q, clearanceHeight());
    RapidTo(out, q, retractHeight());
}

}  // namespace morvane
