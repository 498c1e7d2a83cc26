// Evaluates the parameter lists of the longhand cycle writers against the Q-parameter table.
#include "cycles/cycle_recipe.h"

namespace morvane {
namespace {

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

}  // namespace

void passCycleArgs(NCIGeneralCycle& cycle, std::span<const CycleArg> args, ParamMap& q,
                   double callZ) {
    for (const CycleArg& a : args) {
        switch (a.source) {
            case ArgSource::QSum:
                cycle.SetValue(a.index, sumOf(a, q));
                break;
            case ArgSource::HalfSmaller: {
                const double length = q[218] / 2.0, width = q[219] / 2.0;
                cycle.SetValue(a.index, length <= width ? length : width);
                break;
            }
            case ArgSource::Depth:
                // Without a plunging depth the infeed is the depth less 1.
                cycle.SetValue(a.index, q[202] > 1e-9 ? q[202] : -q[201] - 1.0);
                break;
            case ArgSource::OldDepth:
                cycle.SetValue(a.index, q[202] > 1e-9 ? q[202] : q[201] - 1.0);
                break;
            case ArgSource::OldSurface:
                cycle.SetValue(1, callZ - q[200]);
                cycle.SetValue(3, q[200]);
                break;
            case ArgSource::Flag:
                cycle.SetFlag(a.index, a.flag);
                break;
        }
    }
}

}  // namespace morvane
