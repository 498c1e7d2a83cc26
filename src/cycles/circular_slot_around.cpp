// The circular slot with the corrected semantics (cycles 211 and 254): every arc round its own
// centre, the rings climb or conventional as asked, and for 254 the passes by the operation,
// allowances, plunging and finishing infeed that the straight slot 253 follows too.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "cycles/nci_milling_cycles.h"
#include "cycles/pocket_passes.h"
#include "nci/int_conversion.h"

namespace morvane {

using namespace circular_slot;

namespace {

constexpr double kPi = 3.14159265358979323846;

Point2 at(Point2 p, Point2 u, double t) {
    return {p.x + t * u.x, p.y + t * u.y};
}

}  // namespace

void NCICircularSlot::arcRound(NciStream& out, std::int32_t code, Point2 end, Point2 centre,
                               bool full) {
    arcMove(out, code, end.x, end.y, centre, z_, full, false);
}

NCICircularSlot::Path NCICircularSlot::path() const {
    const double rp = value(kPitchRadius), a0 = value(kStartAngle), aL = value(kAngularLength);
    Path p{};
    p.s = start_;
    p.u0 = {std::cos(a0), std::sin(a0)};
    p.u1 = {std::cos(a0 + aL), std::sin(a0 + aL)};
    p.centre = at(p.s, p.u0, -rp);
    p.end = at(p.centre, p.u1, rp);
    p.along = aL < 0.0 ? 2 : 3;
    p.back = aL < 0.0 ? 3 : 2;
    p.whole = std::fabs(aL) >= 2.0 * kPi - 1e-9;
    // Climb milling runs the rings counter-clockwise round the slot, conventional milling
    // clockwise, whichever way the slot turns.
    p.reverse = (aL < 0.0) != (value(kDirection) < 0.0);
    return p;
}

void NCICircularSlot::ClearArcSlotAround(NciStream& out, double width) {
    const double d = pathDiameter(toolDiameter());
    const double r = d / 2.0;
    const Path p = path();
    arcRound(out, p.along, p.end, p.centre, p.whole);
    arcRound(out, p.back, p.s, p.centre, p.whole);
    if (!(r < width)) return;
    const double last = (width - d) / 2.0;
    for (std::int64_t k = 1; static_cast<double>(k) * r < last; ++k) {
        if (!rings_.take()) return;
        const Point2 ringStart = at(p.s, p.u0, static_cast<double>(k) * r);
        FeedXY(out, ringStart.x, ringStart.y);
        ring(out, p, static_cast<double>(k) * r);
        FeedXY(out, p.s.x, p.s.y);
    }
    finishWall(out, p, width);
}

void NCICircularSlot::ring(NciStream& out, const Path& p, double t) {
    // Outer side, round the end, inner side back, round the start; or the other way round.
    if (!p.reverse) {
        arcRound(out, p.along, at(p.end, p.u1, t), p.centre, p.whole);
        arcRound(out, p.along, at(p.end, p.u1, -t), p.end, false);
        arcRound(out, p.back, at(p.s, p.u0, -t), p.centre, p.whole);
        arcRound(out, p.along, at(p.s, p.u0, t), p.s, false);
    } else {
        arcRound(out, p.back, at(p.s, p.u0, -t), p.s, false);
        arcRound(out, p.along, at(p.end, p.u1, -t), p.centre, p.whole);
        arcRound(out, p.back, at(p.end, p.u1, t), p.end, false);
        arcRound(out, p.back, at(p.s, p.u0, t), p.centre, p.whole);
    }
}

void NCICircularSlot::finishWall(NciStream& out, const Path& p, double width) {
    const double d = pathDiameter(toolDiameter());
    const double e = d / 20.0, t = (width - d) / 2.0;
    if (!(d / 2.0 < width) || !rings_.take()) return;
    // Entered and left on quarter arcs of radius e round a point e inside the ring, tangent to
    // the way the ring runs.
    const std::int32_t turn = p.reverse ? p.back : p.along;
    const double sweep = (p.along == 3) != p.reverse ? 1.0 : -1.0;
    const Point2 lead = at(p.s, p.u0, t - e), tangent{sweep * -p.u0.y, sweep * p.u0.x};
    const Point2 entry = at(lead, tangent, -e), exit = at(lead, tangent, e);
    FeedXY(out, entry.x, entry.y);
    arcRound(out, turn, at(p.s, p.u0, t), lead, false);
    ring(out, p, t);
    arcRound(out, turn, exit, lead, false);
    FeedXY(out, p.s.x, p.s.y);
}

void NCICircularSlot::plungeTo(NciStream& out, const Path& p, double z, double side) {
    const double r = pathDiameter(toolDiameter()) / 2.0;
    const double rp = value(kPitchRadius), aL = value(kAngularLength);
    const auto plunging = static_cast<Plunging>(truncToInt32(value(kPlunging)));
    const double helix = std::min(r / 2.0, value(kWidth) / 2.0 - side - r);
    // The ramp follows the centre line for a tool diameter, at most the slot and half a turn.
    const double ramp = std::min({2.0 * r, std::fabs(aL) * rp, kPi * rp});
    if (plunging == Plunging::Helical && helix > 1e-9) {
        const Point2 edge = at(p.s, p.u0, helix);
        FeedXY(out, edge.x, edge.y);
        HelixCircle(out, p.s.x, p.s.y, z,
                    value(kDirection) < 0.0 ? Turn::Clockwise : Turn::CounterClockwise);
        FeedXY(out, p.s.x, p.s.y);
    } else if (plunging == Plunging::Reciprocating && ramp > 1e-9) {
        const double a = value(kStartAngle) + (aL < 0.0 ? -ramp : ramp) / rp;
        const Point2 turnPoint = at(p.centre, {std::cos(a), std::sin(a)}, rp);
        arcMove(out, p.along, turnPoint.x, turnPoint.y, p.centre, (z_ + z) / 2.0, false, false);
        arcMove(out, p.back, p.s.x, p.s.y, p.centre, z, false, false);
    } else {
        FeedTo(out, p.s, z);
    }
}

void NCICircularSlot::machinePasses(NciStream& out, Point2 from) {
    const PocketPasses passes{
        std::max(value(kSideAllowance), 0.0), std::max(value(kFloorAllowance), 0.0),
        static_cast<MachiningOperation>(truncToInt32(value(kOperation))), value(kFinishingInfeed)};
    const Path p = path();
    const double width = value(kWidth);
    cutInPasses(
        *this, out, from, start_, passes, rings_,
        [&](double z) { plungeTo(out, p, z, passes.side); },
        [&] { ClearArcSlotAround(out, width - 2.0 * passes.side); },
        [&] { finishWall(out, p, width); });
}

}  // namespace morvane
