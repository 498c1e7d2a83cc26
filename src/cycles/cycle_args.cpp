// Evaluates the parameter lists of the longhand cycle writers against the Q-parameter table.
#include "cycles/cycle_recipe.h"

#include <string>

#include "nci/q_numbers.h"
#include "nci/cycle_errors.h"

namespace morvane {
namespace {

using diagnostic::kCycleParameterRejected;
using diagnostic::kDepthFallback;

double sumOf(const CycleArg& a, ParamMap& q) {
    if (a.terms[0].q == 0) return a.constant;
    // Left to right, starting from the first term itself, so that -Q201 of a missing or zero
    // Q201 stays a negative zero as a plain negation gives it.
    double sum = a.terms[0].sign < 0 ? -q[a.terms[0].q] : q[a.terms[0].q];
    for (std::size_t i = 1; i < a.terms.size() && a.terms[i].q != 0; ++i) {
        const double v = q[a.terms[i].q];
        sum = a.terms[i].sign < 0 ? sum - v : sum + v;
    }
    return a.factor == 1.0 ? sum : sum * a.factor;
}

// The infeed when Q202 gives no positive plunging depth: one less than the depth (`exact`, the
// exact semantics), else the plunge `oldPlunge` of an old-style cycle written with the sign
// opposite to its depth, else the depth itself (one infeed). The cycle's depth is already set.
double fallbackInfeed(NCIGeneralCycle& cycle, double exact, double oldPlunge, ParamMap& q,
                      Diagnostics& diagnostics) {
    const double depth = cycle.depth();
    const double corrected = oldPlunge > 1e-9 ? oldPlunge : depth;
    if (diagnostics.wanted() && (oldPlunge > 1e-9 || (exact > 0.0 && exact < depth))) {
        const std::string instead = oldPlunge > 1e-9
                                        ? "plunges by " + preciseRealToString(oldPlunge)
                                        : "makes one infeed to the full depth";
        diagnostics.correction(
            kDepthFallback,
            "Q202 = " + preciseRealToString(q[qn::kPlungingDepth]) +
                " gives no plunging depth: the infeed falls back to " + preciseRealToString(exact) +
                ", for the depth " + preciseRealToString(depth) + " (the corrected semantics " +
                instead + ")",
            oldPlunge > 1e-9 ? "the plunging depth " + preciseRealToString(oldPlunge) +
                                   " is read whatever its sign"
                             : "no plunging depth (Q202 is 0): one infeed to the full depth, " +
                                   preciseRealToString(depth));
    }
    return cycle.corrected() ? corrected : exact;
}

// The Q parameter an argument reads first, for the report of a rejected value.
std::string firstQ(const CycleArg& a) {
    if (a.source == ArgSource::Depth || a.source == ArgSource::OldDepth) return "Q202";
    if (a.source == ArgSource::OldSurface) return "Q200";
    return a.terms[0].q != 0 ? "Q" + std::to_string(a.terms[0].q) : "a fixed value";
}

void passOne(NCIGeneralCycle& cycle, const CycleArg& a, ParamMap& q, double callZ,
             Diagnostics& diagnostics) {
    switch (a.source) {
        case ArgSource::QSum:
            cycle.SetValue(a.index, sumOf(a, q));
            break;
        case ArgSource::HalfSmaller: {
            const double length = q[qn::kFirstSideLength] / 2.0;
            const double width = q[qn::kSecondSideLength] / 2.0;
            cycle.SetValue(a.index, length <= width ? length : width);
            break;
        }
        case ArgSource::Depth:
        case ArgSource::OldDepth: {
            // The old-style cycles' Q201 is negated, and their plunge may be written with the
            // opposite sign.
            const bool old = a.source == ArgSource::OldDepth;
            const double plunge = q[qn::kPlungingDepth];
            if (plunge > 1e-9) {
                cycle.SetValue(a.index, plunge);
                break;
            }
            const double depth = old ? q[qn::kDepth] : -q[qn::kDepth];
            cycle.SetValue(a.index,
                           fallbackInfeed(cycle, depth - 1.0, old ? -plunge : 0.0, q, diagnostics));
            break;
        }
        case ArgSource::OldSurface:
            cycle.SetValue(general::kSurface, callZ - q[qn::kSetUpClearance]);
            cycle.SetValue(general::kSecondClearance, q[qn::kSetUpClearance]);
            break;
        case ArgSource::Flag:
            cycle.SetFlag(a.index, a.flag);
            break;
    }
}

}  // namespace

void passCycleArgs(NCIGeneralCycle& cycle, std::span<const CycleArg> args, ParamMap& q,
                   double callZ, Diagnostics& diagnostics) {
    for (const CycleArg& a : args) {
        try {
            passOne(cycle, a, q, callZ, diagnostics);
        } catch (const CycleWrongValue&) {
            const double v = a.terms[0].q != 0 ? q[a.terms[0].q] : a.constant;
            diagnostics.report(kCycleParameterRejected,
                               firstQ(a) + " = " + preciseRealToString(v) +
                                   " is rejected: a dwell time must not be negative; the "
                                   "conversion stops at this cycle call");
            throw;
        } catch (const CycleWrongCode&) {
            diagnostics.report(kCycleParameterRejected,
                               firstQ(a) +
                                   " is not a parameter of this cycle; the conversion "
                                   "stops at this cycle call");
            throw;
        }
    }
}

}  // namespace morvane
