// Where the writers put the values of the move, arc, tool and stock records, read as positions:
// one place for the field layout that the post-processor and its tests both read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "nci/nci_format.h"
#include "nci_record_reader.h"

namespace morvane::post {

struct Point {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    double operator[](std::size_t axis) const { return axis == 0 ? x : (axis == 1 ? y : z); }
};

// Working planes by their NCI codes, with the axes of each: the plane's first axis (H), its
// second axis (V) and the axis normal to it (N), as 0 X, 1 Y, 2 Z.
enum class Plane : std::uint8_t { XY = 0, YZ = 1, XZ = 2 };
struct PlaneAxes {
    std::size_t h;
    std::size_t v;
    std::size_t n;
};
inline constexpr PlaneAxes kPlaneAxes[] = {{0, 1, 2}, {1, 2, 0}, {0, 2, 1}};
inline constexpr PlaneAxes axesOf(Plane plane) {
    return kPlaneAxes[static_cast<std::size_t>(plane)];
}

// The fields of the records (nci/nci_format.h), also by their post:: names.
using enum morvane::MoveField;
using enum morvane::ArcField;
using enum morvane::ToolField;
using enum morvane::StockField;
using enum morvane::CallField;
using enum morvane::RepeatField;
using morvane::kToleranceValue;

// Three fields from `first` on as a point.
inline Point pointAt(const NciRecord& r, std::size_t first) {
    return {r.field(first), r.field(first + 1), r.field(first + 2)};
}

// The end point of a move record.
inline Point moveEnd(const NciRecord& r) {
    return pointAt(r, kMoveX);
}
// Where a tool line says the tool stands.
inline Point toolPosition(const NciRecord& r) {
    return pointAt(r, kToolX);
}

// Which axes of the NCI's position a block has given. The writers start at 0 0 0 and write that
// 0 into every record until a block moves the axis; after a reference return they go on writing
// the point of the return's own block (or the position before it) where the machine in fact
// stands at its reference point. Until a record moves an axis away from such a value, the value
// is no position any block gave.
class Placement {
  public:
    // Every axis holds a value no block gave (the start: 0 0 0).
    void reset(const Point& unplaced) {
        unplaced_ = unplaced;
        placed_ = {};
    }
    // An axis that the record moves away from its unplaced value is placed for good.
    void moveTo(const Point& to) {
        for (std::size_t axis = 0; axis < 3; ++axis)
            placed_[axis] = placed_[axis] || to[axis] != unplaced_[axis];
    }
    // A reference return of `axis`: the NCI goes on with `unplaced`, where the machine is not.
    void unplace(std::size_t axis, double unplaced) {
        (axis == 0 ? unplaced_.x : axis == 1 ? unplaced_.y : unplaced_.z) = unplaced;
        placed_[axis] = false;
    }
    // The record that follows shows the axis's value to be a position of the program after all.
    void adopt(std::size_t axis) { placed_[axis] = true; }
    const std::array<bool, 3>& placed() const { return placed_; }
    const Point& unplaced() const { return unplaced_; }

  private:
    Point unplaced_;
    std::array<bool, 3> placed_{};
};

// The plane of an arc record; nothing for a code no writer uses.
std::optional<Plane> arcPlane(const NciRecord& r);
// The end point of an arc record in `plane`: the depth field of an XZ arc is -Y (the plane's
// normal points along -Y).
Point arcEnd(const NciRecord& r, Plane plane);

}  // namespace morvane::post
