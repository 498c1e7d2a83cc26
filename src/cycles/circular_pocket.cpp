// Longhand round features: the circular pocket (cycle 252, CYCL DEF 5), circular pocket
// finishing (214) and circular stud finishing (215), made of concentric full circles and
// quarter-circle lead-in and lead-out arcs.
#include <cmath>

#include "cycles/lead_circle.h"
#include "cycles/nci_milling_cycles.h"
#include "nci/int_conversion.h"

namespace morvane {

using namespace circular_pocket;

void NCICircularPocket::RoughCircles(NciStream& out, double s) {
    const double tool = pathDiameter(toolDiameter()) / 2.0;
    // The last circle, short of the allowance.
    const double outer = value(kRadius) - value(kSideAllowance) - tool;
    const double n = std::trunc(outer / s);
    for (double i = 1.0; i <= n; i += 1.0) {
        if (!rings_.take()) return;
        FeedXY(out, centre_.x + i * s, centre_.y);
        FullCircle(out, centre_.x, centre_.y, circleDir());
    }
    if (!rings_.take()) return;
    FeedXY(out, centre_.x + outer, centre_.y);
    FullCircle(out, centre_.x, centre_.y, circleDir());
    FeedXY(out, centre_.x, centre_.y);
}

void NCICircularPocket::FinishSide(NciStream& out, double s) {
    const double d = pathDiameter(toolDiameter());
    const double tool = d / 2.0, e = d / 20.0;
    const double wall = value(kRadius) - tool;  // the tool centre's circle at the finished wall
    const double nOuter = std::trunc(wall / s);
    const double nInner = std::trunc((wall - value(kSideAllowance)) / s);
    // The step-over circles between the roughed radius and the wall.
    for (double i = nInner + 1.0; i <= nOuter; i += 1.0) {
        if (!rings_.take()) return;
        FeedXY(out, centre_.x + i * s, centre_.y);
        FullCircle(out, centre_.x, centre_.y, circleDir());
    }
    if (!rings_.take()) return;
    const double approachX = centre_.x + (nInner + 1.0) * s - 4.0 * e;
    FeedXY(out, approachX, centre_.y);
    circleWithLeads(
        *this, out, centre_, centre_.x + wall, e,
        circleDir() == Turn::CounterClockwise ? LeadStyle::Inside : LeadStyle::InsideClockwise);
    FeedXY(out, approachX, centre_.y);
    FeedXY(out, centre_.x, centre_.y);
}

double NCICircularPocket::stepOver() const {
    // The step-over comes as the overlap factor: the step-over is that share of the tool radius,
    // or the whole diameter when no factor is given (or one so small or large that the product
    // is no usable step).
    const double d = pathDiameter(toolDiameter());
    const double factor = value(kStepOver);
    const double product = factor > 0.0 ? factor * d * 0.5 : d;
    return product > 0.0 && std::isfinite(product) ? product : d;
}

void NCICircularPocket::wallLayers(NciStream& out, bool rough, double s) {
    const double roughDepth = depth() - value(kFloorAllowance);
    forEachLayer(*this, surface(), roughDepth, infeed(), [&](double z, bool) {
        if (rough) {
            plungeTo(out, z);
            RoughCircles(out, s);
        } else {
            FeedTo(out, centre_, z);
            FinishSide(out, s);
        }
        return !rings_.spent();
    });
}

void NCICircularPocket::floorLayers(NciStream& out, bool roughInLoop, double s) {
    const double step = value(kFinishingInfeed);
    double below = depth() - value(kFloorAllowance) + step;
    int i = 0;
    for (; i < kMaxInfeeds && step > 0.0 && depth() > below && !rings_.spent(); ++i) {
        FeedTo(out, centre_, surface() - below);
        if (roughInLoop) RoughCircles(out, s);
        FinishSide(out, s);
        below += step;
    }
    if (i == kMaxInfeeds && depth() > below) noteBound(kInfeedsBound, kMaxInfeeds);
    if (rings_.spent()) return;
    FeedTo(out, centre_, surface() - depth());
    RoughCircles(out, s);
    FinishSide(out, s);
}

void NCICircularPocket::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const double s = stepOver();
    const Point2 m = centre_;
    RapidTo(out, m, clearanceHeight());
    switch (static_cast<MachiningOperation>(wordToInt32(value(kOperation)))) {
        case MachiningOperation::RoughAndFinish:
            wallLayers(out, true, s);
            wallLayers(out, false, s);
            floorLayers(out, true, s);
            break;
        case MachiningOperation::Rough:
            wallLayers(out, true, s);
            break;
        case MachiningOperation::Finish:
            wallLayers(out, false, s);
            floorLayers(out, false, s);
            break;
        default:
            return;  // an unknown operation machines nothing and leaves the tool above the centre
    }
    // A spent ring budget leaves the tool on a circle of the layer: straight up out of the cut
    // first.
    if (rings_.spent()) FeedTo(out, here(), clearanceHeight());
    if (!rapidRetract()) FeedTo(out, m, clearanceHeight());
    RapidTo(out, m, retractHeight());
}

void NCICircularPocket::plungeTo(NciStream& out, double z) {
    const double r = pathDiameter(toolDiameter()) / 2.0;
    // Half the tool radius, within the room the side allowance leaves the tool centre.
    const double helix = std::fmin(r / 2.0, value(kRadius) - value(kSideAllowance) - r);
    if (corrected() && wordToInt32(value(kPlunging)) != 0 && helix > 1e-9) {
        FeedXY(out, centre_.x + helix, centre_.y);
        HelixCircle(out, centre_.x, centre_.y, z, circleDir());
        FeedXY(out, centre_.x, centre_.y);
    } else {
        FeedTo(out, centre_, z);
    }
}

void NCICircularPocketFinishing::FinishPocketCircle(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const Point2 m{value(circular_finishing::kCentreX), value(circular_finishing::kCentreY)};
    const Point2 start = here();
    const double radius = std::fmax(value(circular_finishing::kRadius), d / 2.0);
    circleWithLeads(*this, out, m, m.x + radius - d / 2.0, d / 20.0, LeadStyle::Inside);
    FeedXY(out, start.x, start.y);
}

void NCICircularPocketFinishing::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const Point2 m{value(circular_finishing::kCentreX), value(circular_finishing::kCentreY)};
    RapidTo(out, here(), clearanceHeight());
    RapidXY(out, m.x, m.y);
    RapidTo(out, m, clearanceHeight());
    // Start inside the blank's bore, one tool diameter short of it.
    finishInLayers(
        *this, out, m,
        {m.x + value(circular_finishing::kBlankRadius) - pathDiameter(toolDiameter()), m.y},
        [&] { FinishPocketCircle(out); });
}

void NCICircularStud::FinishStudCircle(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const Point2 m{value(circular_finishing::kCentreX), value(circular_finishing::kCentreY)};
    const Point2 start = here();
    circleWithLeads(*this, out, m, m.x + value(circular_finishing::kRadius) + d / 2.0, d / 20.0,
                    LeadStyle::Stud);
    FeedXY(out, start.x, start.y);
}

void NCICircularStud::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const Point2 m{value(circular_finishing::kCentreX), value(circular_finishing::kCentreY)};
    RapidXY(out, m.x, m.y);
    RapidTo(out, m, clearanceHeight());
    // Start outside the blank, one tool diameter clear of it.
    finishInLayers(
        *this, out, m,
        {m.x + value(circular_finishing::kBlankRadius) + pathDiameter(toolDiameter()), m.y},
        [&] { FinishStudCircle(out); });
}

}  // namespace morvane
