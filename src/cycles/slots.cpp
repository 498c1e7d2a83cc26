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

// The slot lies along its own u axis, centred on its centre and turned about it by the
// programmed angle like the rectangular pocket; h is the half length of the straight part of the
// centre line.
void NCIRectSlot::Generate(NciStream& out) {
    using namespace rect_slot;
    const double h = (value(kLength) - value(kWidth)) / 2.0;
    centre_ = {value(kCentreX), value(kCentreY)};
    const Point2 start = toWorld(-h, 0.0, centre_), end = toWorld(h, 0.0, centre_);
    if (!finiteSetUp(*this) ||
        !allFinite({value(kWidth), value(kRotation), start.x, start.y, end.x, end.y}))
        return;

    // Reciprocating plunge: each infeed is a ramp back down to the start of the centre line, then
    // a cut along it; at the bottom the width is cleared.
    cutInLayers(*this, out, here(), start, [&](bool bottom) {
        if (bottom)
            ClearStraightSlot(out, h);
        else
            FeedXY(out, end.x, end.y);
        return true;
    });
}

void NCIRectSlot::ClearStraightSlot(NciStream& out, double h) {
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0;
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
    const double last = (value(rect_slot::kWidth) - d) / 2.0;
    for (std::int64_t k = 1; static_cast<double>(k) * r < last; ++k) {
        if (!rings_.take()) return;
        ringAt(static_cast<double>(k) * r);
    }
    if (rings_.take()) ringAt(last);
}

void NCICircularSlot::Generate(NciStream& out) {
    using namespace circular_slot;
    const double rp = value(kPitchRadius), a0 = value(kStartAngle), aL = value(kAngularLength);
    const Point2 p = here();
    // The start point on the pitch circle, from the reference; any other value: the tool stands
    // on it.
    Point2 s = p;
    switch (static_cast<SlotReference>(truncToInt32(value(kReference)))) {
        case SlotReference::PitchCentre:
            s = {value(kCentreX) + rp * std::cos(a0), value(kCentreY) + rp * std::sin(a0)};
            break;
        case SlotReference::EndPoint:
            s = {p.x + rp * (std::cos(a0) - std::cos(a0 + aL)),
                 p.y + rp * (std::sin(a0) - std::sin(a0 + aL))};
            break;
        case SlotReference::Middle:
            s = {p.x + rp * (std::cos(a0) - std::cos(a0 + aL / 2.0)),
                 p.y + rp * (std::sin(a0) - std::sin(a0 + aL / 2.0))};
            break;
        default:
            break;
    }
    if (!finiteSetUp(*this) || !allFinite({rp, a0, aL, value(kWidth), s.x, s.y})) return;
    reportArcCentre(out, aL);
    start_ = s;
    if (corrected() && (value(kSideAllowance) != 0.0 || value(kFloorAllowance) != 0.0 ||
                        value(kOperation) != 0.0 || value(kPlunging) != 0.0)) {
        machinePasses(out, p);
        return;
    }

    cutInLayers(*this, out, p, s, [&](bool) {
        if (corrected())
            ClearArcSlotAround(out, value(kWidth));
        else
            ClearArcSlot(out);
        return !rings_.spent();
    });
}

void NCICircularSlot::ClearArcSlot(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0, e = d / 20.0;
    using namespace circular_slot;
    const double rp = value(kPitchRadius), a0 = value(kStartAngle);
    const double a1 = value(kStartAngle) + value(kAngularLength), w = value(kWidth);
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
