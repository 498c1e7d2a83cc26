// The order of a pocket's or slot's passes by its machining operation, side and floor allowances
// and finishing infeed (cycles 251, 253 and 254 with the corrected semantics). The cycle brings
// its own geometry: how it plunges, how it clears a layer and how it finishes the walls.
#pragma once

#include <cstdint>

#include "cycles/expansion_guards.h"

namespace morvane {

struct PocketPasses {
    double side = 0.0;   // side allowance left by roughing (0 or more)
    double floor = 0.0;  // floor allowance left by roughing (0 or more)
    MachiningOperation operation = MachiningOperation::RoughAndFinish;
    double finishingInfeed = 0.0;  // the walls' finishing steps; 0: one step at the depth
};

// From `from` at the clearance height to `at`; the roughing layers down to the depth less the
// floor allowance, each plunge(z) then clear(); the walls' finishing steps of the finishing
// infeed, each a feed down at `at` then walls(); at the full depth clear() when a floor allowance
// is left and walls() when the walls are left; then back up over `at`. Roughing without
// allowances already finishes. A spent `budget` ends the cutting.
template <class Plunge, class Clear, class Walls>
void cutInPasses(NCIDeepDrilling& c, NciStream& out, Point2 from, Point2 at, const PocketPasses& p,
                 const PassBudget& budget, Plunge&& plunge, Clear&& clear, Walls&& walls) {
    const bool rough = p.operation != MachiningOperation::Finish;
    const bool finish =
        p.operation == MachiningOperation::Finish ||
        (p.operation != MachiningOperation::Rough && (p.side > 0.0 || p.floor > 0.0));
    const bool finishWalls = p.side > 0.0 || p.floor == 0.0;
    c.RapidTo(out, from, c.clearanceHeight());
    c.FeedXY(out, at.x, at.y);
    const double roughDepth = c.depth() - p.floor;
    if (rough && roughDepth > 0.0)
        forEachLayer(c, c.surface(), roughDepth, c.infeed(), [&](double z, bool) {
            plunge(z);
            clear();
            return !budget.spent();
        });
    // The last finishing step, at the depth, goes with the floor below.
    if (finish && finishWalls && p.finishingInfeed > 0.0)
        forEachLayer(c, c.surface(), c.depth(), p.finishingInfeed, [&](double z, bool bottom) {
            if (bottom || budget.spent()) return false;
            c.FeedTo(out, at, z);
            walls();
            return true;
        });
    if (finish && !budget.spent()) {
        c.FeedTo(out, at, c.surface() - c.depth());
        if (p.floor > 0.0) clear();
        if (finishWalls) walls();
    }
    if (!c.rapidRetract()) c.FeedTo(out, at, c.clearanceHeight());
    c.RapidTo(out, at, c.retractHeight());
}

}  // namespace morvane
