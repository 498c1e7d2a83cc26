// The guard of the round, thread and surface expansions against parameters that are no
// geometry: a non-number, an infinity, or a value so large that sums and squares of values could
// overflow to infinity.
#pragma once

#include "cycles/nci_general_cycle.h"
#include "nci/limits.h"

namespace morvane {

// Largest magnitude of a value that an expansion takes as geometry (nci/limits.h).
inline constexpr double kMaxGeometryMagnitude = limits::kGeometryMagnitude;

// True when the start position, the tool diameter and every value of `cycle` are finite and
// within kMaxGeometryMagnitude. The expansions write nothing for a geometry that is not: the tool
// stays where it is.
bool hasFiniteGeometry(const NCIGeneralCycle& cycle);

}  // namespace morvane
