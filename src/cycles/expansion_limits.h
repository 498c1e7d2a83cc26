// Bounds and guards of the pocket, stud, thread and surface expansions: no parameter set (a huge
// pocket, a tiny step-over, a count of a billion cuts, a non-number) may make a cycle write
// without end or put a non-number into the tool path.
#pragma once

#include <cstdint>

#include "cycles/nci_drilling.h"

namespace morvane {

// Full circles one circular pocket expansion writes at most, over all its layers.
inline constexpr std::int64_t kMaxPocketRings = 100'000;
// Lines along X one face milling expansion writes at most, over all its layers.
inline constexpr std::int64_t kMaxFaceLines = 100'000;
// Cuts of one multipass milling.
inline constexpr std::int64_t kMaxMultipassCuts = 10'000;
// Lines of one ruled surface.
inline constexpr std::int64_t kMaxRuledLines = 10'000;

// The rings or lines an expansion may still write. Once the limit is reached the expansion
// leaves the pass it is in and ends with its usual retract, so its NCI stays a valid path.
class CutBudget {
  public:
    explicit constexpr CutBudget(std::int64_t limit) : left_(limit) {}

    // Takes one ring or line; false, and spent from then on, when none is left.
    bool take() {
        if (left_ > 0) {
            --left_;
            return true;
        }
        spent_ = true;
        return false;
    }
    bool spent() const { return spent_; }

  private:
    std::int64_t left_;
    bool spent_ = false;
};

// Largest magnitude of a value that an expansion takes as geometry: a thousand kilometres in
// millimetres. Beyond it sums and squares of values could overflow to infinity.
inline constexpr double kMaxGeometryMagnitude = 1e9;

// True when the start position, the tool diameter and every value of `cycle` are finite and
// within kMaxGeometryMagnitude. The expansions write nothing for a geometry that is not: the tool
// stays where it is.
bool hasFiniteGeometry(const NCIGeneralCycle& cycle);

// The tool diameter, or `fallback` when it is not positive (a tool defined without a size).
inline double diameterOr(const NCIGeneralCycle& cycle, double fallback) {
    return cycle.toolDiameter() > 0.0 ? cycle.toolDiameter() : fallback;
}

// Infeed layers from the surface: `layer(d, false)` for d = first, first + step, ... while
// `bottom` is deeper than d (none when step is not positive, at most kMaxInfeeds), then
// `layer(bottom, true)`. `keepGoing()` is asked before each layer, so that a spent budget ends
// the loop.
template <class Layer, class KeepGoing>
void forEachLayer(double first, double step, double bottom, Layer&& layer, KeepGoing&& keepGoing) {
    double d = first;
    for (int i = 0; i < kMaxInfeeds && step > 0.0 && bottom > d && keepGoing(); ++i) {
        layer(d, false);
        d += step;
    }
    if (keepGoing()) layer(bottom, true);
}

}  // namespace morvane
