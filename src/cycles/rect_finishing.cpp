// Longhand finishing of a rectangular pocket (cycle 212) and of a rectangular stud (cycle 213):
// layer by layer one closed counter-clockwise contour along the walls, a tool radius inside the
// pocket or outside the stud, entered and left by small arcs so that the tool never stops on the
// finished wall.
#include <cmath>

#include "cycles/nci_milling_cycles.h"

namespace morvane {
namespace {

// The finishing set-up of both cycles, read from the values after Generate halved the lengths.
struct Rectangle {
    double cx, cy;  // centre (values 24, 23)
    double a, b;    // half lengths along X and Y (values 15, 16)
    double rc;      // corner radius (value 18)
};

Rectangle rectangleOf(const NCIDeepDrilling& c) {
    return {c.value(24), c.value(23), c.value(15), c.value(16), c.value(18)};
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

// Both cycles, once the lengths are halved: from the centre M down to each layer at the start
// point S beside the wall, one contour per layer, and back up over M.
template <class Contour>
void finishWalls(NCIDeepDrilling& c, NciStream& out, double startOffset, Contour&& contour) {
    const Rectangle k = rectangleOf(c);
    if (!finiteSetUp(c) || !allFinite({k.cx, k.cy, k.a, k.b, k.rc})) return;
    const Point2 m{k.cx, k.cy};
    const Point2 s{k.cx + k.a + startOffset, k.cy};
    c.RapidXY(out, m.x, m.y);
    c.RapidTo(out, m, c.clearanceHeight());
    finishInLayers(c, out, m, s, contour);
}

}  // namespace

void NCIRectPocketFinishing::Generate(NciStream& out) {
    setValueDirect(15, value(15) / 2.0);
    setValueDirect(16, value(16) / 2.0);
    // The corners cannot be tighter than the tool; a radius that is no number stays so, and the
    // cycle then writes nothing.
    if (std::isfinite(value(18)) && value(18) < toolDiameter() / 2.0)
        setValueDirect(18, toolDiameter() / 2.0);
    finishWalls(*this, out, -toolDiameter(), [&] { FinishRectContour(out); });
}

void NCIRectPocketFinishing::FinishRectContour(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    wallContour(*this, out, rectangleOf(*this), -1.0, d / 2.0, d / 20.0);
}

void NCIStudFinishing::Generate(NciStream& out) {
    setValueDirect(15, value(15) / 2.0);
    setValueDirect(16, value(16) / 2.0);
    finishWalls(*this, out, toolDiameter(), [&] { FinishStudContour(out); });
}

void NCIStudFinishing::FinishStudContour(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    wallContour(*this, out, rectangleOf(*this), +1.0, d / 2.0, d / 20.0);
}

}  // namespace morvane
