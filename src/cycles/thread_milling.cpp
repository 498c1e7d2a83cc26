// Longhand thread milling: the inside thread with countersinking (cycles 262, 263) and the
// outside thread (267). The thread itself is two helical turns made of four half turns, entered
// and left on half circles, each descending a fixed share of the pitch, so that the tool passes
// the thread bottom by three quarters of a pitch.
//
// The countersinks' quarter arcs are radius arcs (ArcRadius): the thread classes' own radius-first
// form of that move writes the same lines, so it is not a primitive of its own here.
#include <cmath>
#include <string>

#include "cycles/lead_circle.h"
#include "cycles/nci_milling_cycles.h"
#include "nci/diagnostics.h"

namespace morvane {

using namespace thread_milling;

namespace {

// Heights of the thread's helix above the thread bottom, in pitches: the plunge, the end of the
// lead-in, and the first half turn; each further half turn descends half a pitch.
constexpr double kPlungePitches = 1.75;
constexpr double kLeadInPitches = 1.5;
constexpr double kFirstTurnPitches = 1.25;
constexpr int kHalfTurns = 4;
// The outside thread starts and ends this far outside the tool-centre circle (program units).
constexpr double kOutsideApproach = 2.0;

// Height of the end of half turn i (1 to kHalfTurns) above a thread bottom `b`.
double halfTurnHeight(double b, double pitch, int i) {
    return b + kFirstTurnPitches * pitch - 0.5 * i * pitch;
}

// The thread's half turns round `axis` on the tool-centre radius `path`, from (axis.x - path)
// over to the other side and back, each half a pitch lower; clockwise for side -1.
void halfTurns(NCISimpleDrilling& c, NciStream& out, Point2 axis, double path, double b,
               double pitch, double side) {
    for (int i = 1; i <= kHalfTurns; ++i) {
        const double x = i % 2 == 1 ? axis.x + path : axis.x - path;
        c.HelixArc(out, path, x, axis.y, halfTurnHeight(b, pitch, i), side);
    }
}

}  // namespace

void NCIThreadMilling::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const Point2 axis = here();
    const double d = toolDiameter(), tool = d / 2.0, e = d / 20.0;
    // A thread no wider than the tool is cut at the tool's radius.
    const double r = value(kThreadRadius) > tool ? value(kThreadRadius) : tool;
    const double pitch = value(kPitch);

    RapidTo(out, axis, clearanceHeight());
    // Pre-drill to the countersinking depth, as a pecking cycle does, with a dwell of value 9.
    peckToDepth(out, axis);
    Dwell(out, dwellTime());

    // Side countersink: the chamfer at the thread's diameter, the side clearance clear of the
    // wall.
    const double sideClearance = value(kSideClearance);
    if (sideClearance + tool + e < r) {
        const double a = r - tool - sideClearance;
        circleWithLeads(*this, out, axis, axis.x + a, e, LeadStyle::Inside);
        FeedXY(out, axis.x, axis.y);
    }
    // Front countersink: the chamfer at the face, the front offset out from the axis, the
    // countersinking depth deep.
    const double offset = value(kFrontOffset);
    if (offset > e) {
        FeedTo(out, axis, surface() - value(kCountersinkDepth));
        circleWithLeads(*this, out, axis, axis.x + offset, e, LeadStyle::Inside);
        FeedXY(out, axis.x, axis.y);
    }
    // The thread, climbing down clockwise from above the bottom to below it.
    if (r > tool) {
        const double b = surface() - value(kThreadDepth);
        const double path = r - tool;  // radius of the tool centre's helix
        FeedTo(out, axis, b + kPlungePitches * pitch);
        HelixArc(out, path / 2.0, axis.x - path, axis.y, b + kLeadInPitches * pitch, -1.0);
        halfTurns(*this, out, axis, path, b, pitch, -1.0);
        HelixArc(out, path / 2.0, axis.x, axis.y, halfTurnHeight(b, pitch, kHalfTurns), -1.0);
    }
    if (!rapidRetract()) FeedTo(out, axis, clearanceHeight());
    RapidTo(out, axis, retractHeight());
}

void NCIOutsideThread::reportStudCountersink(NciStream& out, double threadRadius) const {
    Diagnostics* diagnostics = out.diagnostics();
    if (diagnostics == nullptr || !diagnostics->wanted() || !(threadRadius > 0.0)) return;
    const std::string offset = preciseRealToString(value(kFrontOffset));
    const std::string radii = "the thread's major radius " + preciseRealToString(threadRadius) +
                              ", the offset " + offset + " and the tool radius " +
                              preciseRealToString(toolDiameter() / 2.0);
    const std::string outside = preciseRealToString(countersinkRadius(threadRadius));
    diagnostics->correction(
        diagnostic::kStudCountersink,
        "the front countersink's tool centre runs round the circle " + offset +
            " from the axis, the offset alone (the corrected semantics adds up " + radii + ": " +
            outside + ")",
        "the front countersink's tool centre runs round the circle " + outside +
            " from the axis: " + radii);
}

void NCIOutsideThread::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const Point2 axis = here();
    const double d = toolDiameter(), tool = d / 2.0, e = d / 20.0;
    // A thread no wider than the tool is cut at the tool's radius.
    const double r = value(kThreadRadius) > tool ? value(kThreadRadius) : tool;
    const double pitch = value(kPitch);

    RapidTo(out, axis, clearanceHeight());
    FeedTo(out, axis, surface());
    // Front countersink, always: down beside the stud, round it, and back up. The exact
    // semantics runs it round the circle of the offset alone, inside the stud.
    const double q = corrected() ? countersinkRadius(r) : value(kFrontOffset);
    reportStudCountersink(out, r);
    const Point2 beside{axis.x + q + 4.0 * e, axis.y};
    FeedXY(out, beside.x, beside.y);
    FeedTo(out, beside, surface() - value(kCountersinkDepth));
    circleWithLeads(*this, out, axis, axis.x + q, e, LeadStyle::OutsideThread);
    FeedXY(out, beside.x, beside.y);
    FeedTo(out, beside, surface());

    // The thread: the tool centre turns outside the stud, counter-clockwise, on radius r + Rt.
    const double path = tool + r;
    const double b = surface() - depth();
    const Point2 outside{axis.x - path - kOutsideApproach, axis.y};
    FeedXY(out, outside.x, outside.y);
    FeedTo(out, outside, b + kPlungePitches * pitch);
    const double leadRadius = kOutsideApproach / 2.0;
    HelixArc(out, leadRadius, axis.x - path, axis.y, b + kLeadInPitches * pitch, -1.0);
    halfTurns(*this, out, axis, path, b, pitch, 1.0);
    HelixArc(out, leadRadius, outside.x, outside.y, halfTurnHeight(b, pitch, kHalfTurns), -1.0);
    FeedTo(out, outside, surface());
    FeedXY(out, axis.x, axis.y);
    RapidTo(out, axis, surface() + secondClearance());
}

}  // namespace morvane
