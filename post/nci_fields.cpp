#include "nci_fields.h"

namespace morvane::post {

std::optional<Plane> arcPlane(const NciRecord& r) {
    const double code = r.field(kArcPlane);
    if (code == 0.0) return Plane::XY;
    if (code == 1.0) return Plane::YZ;
    if (code == 2.0) return Plane::XZ;
    return std::nullopt;
}

Point arcEnd(const NciRecord& r, Plane plane) {
    const double h = r.field(kArcH);
    const double v = r.field(kArcV);
    const double d = r.field(kArcDepth);
    switch (plane) {
        case Plane::XY:
            return {h, v, d};
        case Plane::YZ:
            return {d, h, v};
        case Plane::XZ:
            return {h, -d, v};
    }
    return {};
}

}  // namespace morvane::post
