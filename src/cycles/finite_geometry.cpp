#include "cycles/finite_geometry.h"

#include <cmath>

namespace morvane {
namespace {

bool isGeometry(double v) {
    return std::fabs(v) <= kMaxGeometryMagnitude;  // false for NaN too
}

}  // namespace

bool hasFiniteGeometry(const NCIGeneralCycle& cycle) {
    if (!isGeometry(cycle.x()) || !isGeometry(cycle.y()) || !isGeometry(cycle.z()) ||
        !isGeometry(cycle.toolDiameter()))
        return false;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(NCIGeneralCycle::kValueCount); ++i)
        if (!isGeometry(cycle.value(i))) return false;
    return true;
}

}  // namespace morvane
