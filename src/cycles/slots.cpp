// Longhand slots with round ends: the straight slot (cycle 210) and the circular slot (cycles 211
// and 254). At each infeed the tool cuts the slot's centre line; at the bottom the width is
// cleared by rings of growing offset round the centre line, each ring two sides and two half
// circles, the last ring at the finished width.
#include <cmath>
#include <cstdint>
#include <string>

#include "cycles/nci_milling_cycles.h"
#include "nci/diagnostics.h"
#include "nci/int_conversion.h"

namespace morvane {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A circular slot whose angular length (radians) the exact semantics cuts round the wrong centre:
// beyond a half circle, or clockwise.
void reportArcCentre(NciStream& out, double angularLength) {
    Diagnostics* diagnostics = out.diagnostics();
    if (!(angularLength < 0.0 || angularLength > kPi) || diagnostics == nullptr ||
        !diagnostics->wanted())
        return;
    const std::string degrees = preciseRealToString(angularLength * 180.0 / kPi);
    diagnostics->correction(
        diagnostic::kSlotArcCentre,
        "the circular slot of " + degrees +
            " degrees is cut counter-clockwise round the centre of the shorter arc: the tool "
            "leaves the slot (the corrected semantics keeps the slot's centre and sweeps the "
            "angle in its direction)",
        "the circular slot of " + degrees +
            " degrees is cut round its own centre, in the direction of its angle");
}

}  // namespace

void NCIRectSlot::ArcSigned(NciStream& out, double ex, double ey, double r) {
    if (r > 0.0) NCIRectPocket::ArcSigned(out, ex, ey, r);
}

// The slot lies along its own u axis, centred on (value 25, value 26) and turned about that
// centre by the programmed angle like the rectangular pocket; h is the half length of the
// straight part of the centre line.
void NCIRectSlot::Generate(NciStream& out) {
    const double h = (value(16) - value(15)) / 2.0;
    setValueDirect(16, h);
    if (!(value(17) > 0.0)) setValueDirect(17, pathDiameter(toolDiameter()) / 3.0);
    centre_ = {value(25), value(26)};
    const Point2 start = toWorld(-h, 0.0, centre_), end = toWorld(h, 0.0, centre_);
    if (!finiteSetUp(*this) || !allFinite({value(15), value(23), start.x, start.y, end.x, end.y}))
        return;

    // Reciprocating plunge: each infeed is a ramp back down to the start of the centre line, then
    // a cut along it; at the bottom the width is cleared.
    cutInLayers(*this, out, here(), start, [&](bool bottom) {
        if (bottom)
            ClearStraightSlot(out);
        else
            FeedXY(out, end.x, end.y);
        return true;
    });
}

void NCIRectSlot::ClearStraightSlot(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0;
    const double h = value(16);
    const double cx = centre_.x, cy = centre_.y;
    // The ring at offset t: along the side at +v to the start, round the start end, along the
    // side at -v, round the far end, back to the middle of the far end.
    const auto ringAt = [&](double t) {
        FeedLocal(out, h, t, cx, cy);
        FeedLocal(out, -h, t, cx, cy);
        const Point2 startLow = toWorld(-h, -t, centre_);
        ArcSigned(out, startLow.x, startLow.y, t);
        FeedLocal(out, h, -t, cx, cy);
        const Point2 endHigh = toWorld(h, t, centre_);
        ArcSigned(out, endHigh.x, endHigh.y, t);
        FeedLocal(out, h, 0.0, cx, cy);
    };

    FeedLocal(out, h, 0.0, cx, cy);
    // Rings a tool radius apart, then the last one at the finished width.
    const double last = (value(15) - d) / 2.0;
    for (std::int64_t k = 1; static_cast<double>(k) * r < last; ++k) {
        if (!rings_.take()) return;
        ringAt(static_cast<double>(k) * r);
    }
    if (rings_.take()) ringAt(last);
}

void NCICircularSlot::Generate(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    if (!(value(14) > 0.0)) setValueDirect(14, d);
    const double rp = value(13), a0 = value(20), aL = value(21);
    const Point2 p = here();
    // The start point on the pitch circle, from the reference (value 22): 0 the pitch-circle
    // centre, 1 the slot's end point, 2 its middle; any other value: the tool stands on it.
    Point2 s = p;
    switch (truncToInt32(value(22))) {
        case 0:
            s = {value(26) + rp * std::cos(a0), value(25) + rp * std::sin(a0)};
            break;
        case 1:
            s = {p.x + rp * (std::cos(a0) - std::cos(a0 + aL)),
                 p.y + rp * (std::sin(a0) - std::sin(a0 + aL))};
            break;
        case 2:
            s = {p.x + rp * (std::cos(a0) - std::cos(a0 + aL / 2.0)),
                 p.y + rp * (std::sin(a0) - std::sin(a0 + aL / 2.0))};
            break;
        default:
            break;
    }
    if (!finiteSetUp(*this) || !allFinite({rp, a0, aL, value(19), s.x, s.y})) return;
    reportArcCentre(out, aL);
    start_ = s;
    if (corrected() &&
        (value(15) != 0.0 || value(16) != 0.0 || value(17) != 0.0 || value(23) != 0.0)) {
        machinePasses(out, p);
        return;
    }

    cutInLayers(*this, out, p, s, [&](bool) {
        if (corrected())
            ClearArcSlotAround(out, value(19));
        else
            ClearArcSlot(out);
        return !rings_.spent();
    });
}

void NCICircularSlot::ClearArcSlot(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0, e = d / 20.0;
    const double rp = value(13), a0 = value(20), a1 = value(20) + value(21), w = value(19);
    const Point2 s = here();
    const Point2 end{s.x - rp * (std::cos(a0) - std::cos(a1)),
                     s.y - rp * (std::sin(a0) - std::sin(a1))};
    const double c0 = std::cos(a0), s0 = std::sin(a0), c1 = std::cos(a1), s1 = std::sin(a1);

    // Along the centre line and back.
    ArcRadius(out, end.x, end.y, rp, 1.0);
    ArcRadius(out, s.x, s.y, rp, -1.0);
    if (!(r < w)) return;

    // The ring at offset t, from the outer side's start: outer side, round the end, inner side
    // back, round the start.
    const auto ringAt = [&](double t) {
        ArcRadius(out, end.x + t * c1, end.y + t * s1, rp + t, 1.0);
        ArcRadius(out, end.x - t * c1, end.y - t * s1, t, 1.0);
        ArcRadius(out, s.x - t * c0, s.y - t * s0, rp - t, -1.0);
        ArcRadius(out, s.x + t * c0, s.y + t * s0, t, 1.0);
    };
    const double last = (w - d) / 2.0;
    for (std::int64_t k = 1; static_cast<double>(k) * r < last; ++k) {
        if (!rings_.take()) return;
        const double t = static_cast<double>(k) * r;
        FeedXY(out, s.x + t * c0, s.y + t * s0);
        ringAt(t);
        FeedXY(out, s.x, s.y);
    }
    if (!rings_.take()) return;
    // The last ring, at the finished width, is entered and left on arcs of radius e that come
    // from and go back towards the centre line.
    const double t = last;
    FeedXY(out, s.x + (t - e) * c0 + e * s0, s.y + (t - e) * s0 + e * -c0);
    ArcRadius(out, s.x + t * c0, s.y + t * s0, e, 1.0);
    ringAt(t);
    ArcRadius(out, s.x + (t - e) * c0 - e * s0, s.y + (t - e) * s0 - e * -c0, e, 1.0);
    FeedXY(out, s.x, s.y);
}

}  // namespace morvane
