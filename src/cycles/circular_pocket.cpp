// Longhand round features: the circular pocket (cycle 252, CYCL DEF 5), circular pocket
// finishing (214) and circular stud finishing (215), made of concentric full circles and
// quarter-circle lead-in and lead-out arcs.
#include <cmath>

#include "cycles/lead_circle.h"
#include "cycles/nci_milling_cycles.h"
#include "nci/int_conversion.h"

namespace morvane {
namespace {

// What the circular pocket machines, by value 18 rounded.
enum PocketOperation : std::int32_t {
    kRoughAndFinish = 0,
    kRoughOnly = 1,
    kFinishOnly = 2,
};

}  // namespace

void NCICircularPocket::RoughCircles(NciStream& out) {
    const double tool = pathDiameter(toolDiameter()) / 2.0;
    const double s = value(14);
    const double outer = value(13) - value(15) - tool;  // the last circle, short of the allowance
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

void NCICircularPocket::FinishSide(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const double tool = d / 2.0, e = d / 20.0;
    const double s = value(14);
    const double wall = value(13) - tool;  // the tool centre's circle at the finished wall
    const double nOuter = std::trunc(wall / s);
    const double nInner = std::trunc((wall - value(15)) / s);
    // The step-over circles between the roughed radius and the wall.
    for (double i = nInner + 1.0; i <= nOuter; i += 1.0) {
        if (!rings_.take()) return;
        FeedXY(out, centre_.x + i * s, centre_.y);
        FullCircle(out, centre_.x, centre_.y, circleDir());
    }
    if (!rings_.take()) return;
    const double approachX = centre_.x + (nInner + 1.0) * s - 4.0 * e;
    FeedXY(out, approachX, centre_.y);
    circleWithLeads(*this, out, centre_, centre_.x + wall, e,
                    circleDir() == 1 ? LeadStyle::Inside : LeadStyle::InsideClockwise);
    FeedXY(out, approachX, centre_.y);
    FeedXY(out, centre_.x, centre_.y);
}

void NCICircularPocket::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const double d = pathDiameter(toolDiameter());
    // Value 14 comes as the overlap factor: the step-over is that share of the tool radius, or
    // the whole diameter when no factor is given (or one so small or large that the product is
    // no usable step).
    const double stepOver = value(14) > 0.0 ? value(14) * d * 0.5 : d;
    setValueDirect(14, stepOver > 0.0 && std::isfinite(stepOver) ? stepOver : d);

    const Point2 m = centre_;
    RapidTo(out, m, clearanceHeight());
    const double roughDepth = depth() - value(16);  // down to the floor allowance
    // Roughing or wall passes, one per infeed layer down to the floor allowance.
    const auto wallLayers = [&](void (NCICircularPocket::*pass)(NciStream&)) {
        forEachLayer(*this, surface(), roughDepth, infeed(), [&](double z, bool) {
            if (pass == &NCICircularPocket::RoughCircles)
                plungeTo(out, z);
            else
                FeedTo(out, m, z);
            (this->*pass)(out);
            return !rings_.spent();
        });
    };
    // The floor in infeeds of value 17, starting one infeed below the roughed depth. The last
    // layer, at the depth, roughs and finishes; the layers above it rough only when the walls
    // were roughed too.
    const auto floorLayers = [&](bool roughInLoop) {
        const double step = value(17);
        double below = roughDepth + step;
        int i = 0;
        for (; i < kMaxInfeeds && step > 0.0 && depth() > below && !rings_.spent(); ++i) {
            FeedTo(out, m, surface() - below);
            if (roughInLoop) RoughCircles(out);
            FinishSide(out);
            below += step;
        }
        if (i == kMaxInfeeds && depth() > below) noteBound(kInfeedsBound, kMaxInfeeds);
        if (rings_.spent()) return;
        FeedTo(out, m, surface() - depth());
        RoughCircles(out);
        FinishSide(out);
    };

    switch (wordToInt32(value(18))) {
        case kRoughAndFinish:
            wallLayers(&NCICircularPocket::RoughCircles);
            wallLayers(&NCICircularPocket::FinishSide);
            floorLayers(true);
            break;
        case kRoughOnly:
            wallLayers(&NCICircularPocket::RoughCircles);
            break;
        case kFinishOnly:
            wallLayers(&NCICircularPocket::FinishSide);
            floorLayers(false);
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
    const double helix = std::fmin(r / 2.0, value(13) - value(15) - r);
    if (corrected() && wordToInt32(value(20)) != 0 && helix > 1e-9) {
        FeedXY(out, centre_.x + helix, centre_.y);
        HelixCircle(out, centre_.x, centre_.y, z, circleDir());
        FeedXY(out, centre_.x, centre_.y);
    } else {
        FeedTo(out, centre_, z);
    }
}

void NCICircularPocketFinishing::FinishPocketCircle(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const Point2 m{value(14), value(15)};
    const Point2 start = here();
    const double radius = std::fmax(value(13), d / 2.0);
    circleWithLeads(*this, out, m, m.x + radius - d / 2.0, d / 20.0, LeadStyle::Inside);
    FeedXY(out, start.x, start.y);
}

void NCICircularPocketFinishing::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const Point2 m{value(14), value(15)};
    RapidTo(out, here(), clearanceHeight());
    RapidXY(out, m.x, m.y);
    RapidTo(out, m, clearanceHeight());
    // Start inside the blank's bore, one tool diameter short of it.
    finishInLayers(*this, out, m, {m.x + value(16) - pathDiameter(toolDiameter()), m.y},
                   [&] { FinishPocketCircle(out); });
}

void NCICircularStud::FinishStudCircle(NciStream& out) {
    const double d = pathDiameter(toolDiameter());
    const Point2 m{value(14), value(15)};
    const Point2 start = here();
    circleWithLeads(*this, out, m, m.x + value(13) + d / 2.0, d / 20.0, LeadStyle::Stud);
    FeedXY(out, start.x, start.y);
}

void NCICircularStud::Generate(NciStream& out) {
    if (!hasFiniteGeometry(*this)) return;
    const Point2 m{value(14), value(15)};
    RapidXY(out, m.x, m.y);
    RapidTo(out, m, clearanceHeight());
    // Start outside the blank, one tool diameter clear of it.
    finishInLayers(*this, out, m, {m.x + value(16) + pathDiameter(toolDiameter()), m.y},
                   [&] { FinishStudCircle(out); });
}

}  // namespace morvane
