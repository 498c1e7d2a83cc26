// Two tool paths compared move by move (a program and its conversion read back): where their
// moves end more than a tolerance apart, or are of another kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "path_drawing.h"

namespace morvane::cli {

struct PathDifference {
    std::size_t move = 0;  // 1-based move of the paths (the first, from an unknown place, not counted)
    std::uint32_t firstLine = 0, secondLine = 0;  // program lines; 0 when not known
    PathPoint first, second;                      // where each path's move ends
    double distance = 0.0;
    std::string what;
};

struct Comparison {
    std::vector<PathDifference> differences;  // the first kMaxListed
    std::uint64_t count = 0;                  // all of them
    static constexpr std::size_t kMaxListed = 50;
};

// Moves that go nowhere (shorter than the tolerance) are left out on both sides, so that a
// move written in two steps, or a repeated position, is no difference.
Comparison comparePaths(const DrawnPath& first, const DrawnPath& second, double tolerance);

}  // namespace morvane::cli
