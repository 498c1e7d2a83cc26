// What keeps a longhand expansion bounded and free of non-numbers, whatever the parameters: the
// layer loop with its infeed bound, a budget of closed paths (rings, rectangles) per expansion,
// and the test that a geometry is made of finite numbers; and the frame of a cycle cut layer by
// layer from one point.
#pragma once

#include <cmath>
#include <initializer_list>

#include "cycles/nci_drilling.h"

namespace morvane {

// True when every value is a finite number. A cycle whose geometry holds a NaN or an infinity
// (from a Q parameter computed out of range) is treated as empty and writes no moves.
inline bool allFinite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

// True when the values every expansion writes with are finite: the start position, the tool
// diameter, the heights (surface, depth, clearances, start height) and the feed.
inline bool finiteSetUp(const NCIGeneralCycle& c) {
    return allFinite({c.x(), c.y(), c.z(), c.toolDiameter(), c.surface(), c.depth(), c.clearance(),
                      c.secondClearance(), c.startHeight(), c.feed()});
}

// How many closed paths an expansion may still write. Once a path is refused the expansion stops
// cutting and retracts, so that a pocket of a kilometre with a step-over of a micrometre ends
// after a bounded output instead of writing gigabytes.
class PassBudget {
  public:
    // `what` the budget counts, for the report of its end to `owner`.
    PassBudget(NCIGeneralCycle& owner, int limit, const char* what)
        : owner_(owner), limit_(limit), left_(limit), what_(what) {}

    // Counts one path; false (and from then on spent) when none is left.
    bool take() {
        if (left_ <= 0) {
            spent_ = true;
            owner_.noteBound(what_, limit_);
            return false;
        }
        --left_;
        return true;
    }
    // True once a path was refused: the expansion is incomplete.
    bool spent() const { return spent_; }

  private:
    NCIGeneralCycle& owner_;
    int limit_;
    int left_;
    const char* what_;
    bool spent_ = false;
};

// Calls cut(z, bottom) for each layer of a layered cycle: at surface - infeed, surface - 2 infeed,
// ... while the bottom is deeper (at most kMaxInfeeds such layers, none when the infeed is not
// positive), then at the bottom itself with bottom = true. A layer that would reach the bottom
// exactly is left to the bottom layer. cut returns false to end the layers early. The layer bound
// cutting the layers short is noted on `cycle`.
template <class Cut>
void forEachLayer(NCIGeneralCycle& cycle, double surface, double depth, double infeed, Cut&& cut) {
    double d = infeed;
    int layer = 0;
    for (; layer < kMaxInfeeds && infeed > 0.0 && depth > d; ++layer) {
        if (!cut(surface - d, false)) return;
        d += infeed;
    }
    if (layer == kMaxInfeeds && depth > d) cycle.noteBound(kInfeedsBound, kMaxInfeeds);
    cut(surface - depth, true);
}

// The tool diameter that the ring and contour operations work with: 1 when the tool has none.
inline double pathDiameter(double toolDiameter) {
    return toolDiameter > 0.0 ? toolDiameter : 1.0;
}

// A cycle cut layer by layer from the point `at`: rapid over `from` down to the set-up clearance,
// feed to `at`, and for each layer a feed down to `at` and cut(bottom) (false ends the layers);
// then the optional feed back to the clearance and the rapid to the retract height, both over
// `at`.
template <class Cut>
void cutInLayers(NCIDeepDrilling& c, NciStream& out, Point2 from, Point2 at, Cut&& cut) {
    c.RapidTo(out, from, c.clearanceHeight());
    c.FeedXY(out, at.x, at.y);
    forEachLayer(c, c.surface(), c.depth(), c.infeed(), [&](double z, bool bottom) {
        c.FeedTo(out, at, z);
        return cut(bottom);
    });
    if (!c.rapidRetract()) c.FeedTo(out, at, c.clearanceHeight());
    c.RapidTo(out, at, c.retractHeight());
}

// The layers of the finishing cycles: a feed from the centre out to `start`; per layer a feed
// down at `start` and one `contour`; then, whatever flag 8 says, a feed back up to the set-up
// clearance, over the centre, and a rapid to the retract height.
template <class Contour>
void finishInLayers(NCIDeepDrilling& c, NciStream& out, Point2 centre, Point2 start,
                    Contour&& contour) {
    c.FeedXY(out, start.x, start.y);
    forEachLayer(c, c.surface(), c.depth(), c.infeed(), [&](double z, bool) {
        c.FeedTo(out, start, z);
        contour();
        return true;
    });
    c.FeedTo(out, start, c.clearanceHeight());
    c.FeedXY(out, centre.x, centre.y);
    c.RapidTo(out, centre, c.retractHeight());
}

}  // namespace morvane
