// Longhand finishing of a rectangular pocket (cycle 212) and of a rectangular stud (cycle 213):
// layer by layer one closed counter-clockwise contour along the walls, a tool radius inside the
// pocket or outside the stud, entered and left by small arcs so that the tool never stops on the
// finished wall.
#include <cmath>

#include "cycles/nci_milling_cycles.h"

namespace morvane {
namespace {

using namespace rect_finishing;

// The finishing set-up of both cycles.
struct Rectangle {
    double cx, cy;  // centre
    double a, b;    // half lengths along X and Y
    double rc;      // corner radius
};

Rectangle rectangleOf(const NCIDeepDrilling& c) {
    return {c.value(kCentreX), c.value(kCentreY), c.value(kLengthX) / 2.0, c.value(kLengthY) / 2.0,
            c.value(kCornerRadius)};
}

// The contour a tool radius r from the walls, inside the pocket (side -1) or outside the stud
// (side +1), with corner arcs of radius rc - r or rc + r, from and back to the middle of the side
// at +X. The lead arcs of radius e turn away from the wall: counter-clockwise inside a pocket,
// clockwise outside a stud.
void wallContour(NCIDeepDrilling& c, NciStream& out, const Rectangle& k, double side, double r,
                 double e) {
    const double offset = side * r;
    const double lead = -side * e;
    const double q = k.rc + offset;
    const double cx = k.cx, cy = k.cy, a = k.a, b = k.b, rc = k.rc;
    c.FeedXY(out, cx + a + offset + side * e, cy - e);
    c.ArcSigned(out, cx + a + offset, cy, lead);
    c.FeedXY(out, cx + a + offset, cy + b - rc);
    c.ArcSigned(out, cx + a - rc, cy + b + offset, q);
    c.FeedXY(out, cx - (a - rc), cy + b + offset);
    c.ArcSigned(out, cx - (a + offset), cy + b - rc, q);
    c.FeedXY(out, cx - (a + offset), cy - (b - rc));
    c.ArcSigned(out, cx - (a - rc), cy - (b + offset), q);
    c.FeedXY(out, cx + a - rc, cy - (b + offset));
    c.ArcSigned(out, cx + a + offset, cy - (b - rc), q);
    c.FeedXY(out, cx + a + offset, cy);
    c.ArcSigned(out, cx + a + offset + side * e, cy + e, lead);
    c.FeedXY(out, cx + a + 2.0 * offset, cy);
}

// Both cycles: from the centre M down to each layer at the start point S beside the wall, one
// contour per layer, and back up over M.
template <class Contour>
void finishWalls(NCIDeepDrilling& c, NciStream& out, const Rectangle& k, double startOffset,
                 Contour&& contour) {
    if (!finiteSetUp(c) || !allFinite({k.cx, k.cy, k.a, k.b, k.rc})) return;
    const Point2 m{k.cx, k.cy};
    const Point2 s{k.cx + k.a + startOffset, k.cy};
    c.RapidXY(out, m.x, m.y);
    c.RapidTo(out, m, c.clearanceHeight());
    finishInLayers(c, out, m, s, contour);
}

}  // namespace

void NCIRectPocketFinishing::Generate(NciStream& out) {
    // The corners cannot be tighter than the tool; a radius that is no number stays so, and the
    // cycle then writes nothing.
    Rectangle k = rectangleOf(*this);
    if (std::isfinite(k.rc) && k.rc < toolDiameter() / 2.0) k.rc = toolDiameter() / 2.0;
    const double d = pathDiameter(toolDiameter());
    finishWalls(*this, out, k, -toolDiameter(),
                [&] { wallContour(*this, out, k, -1.0, d / 2.0, d / 20.0); });
}

void NCIStudFinishing::Generate(NciStream& out) {
    const Rectangle k = rectangleOf(*this);
    const double d = pathDiameter(toolDiameter());
    finishWalls(*this, out, k, toolDiameter(),
                [&] { wallContour(*this, out, k, +1.0, d / 2.0, d / 20.0); });
}

}  // namespace morvane
