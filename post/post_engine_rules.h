// What the parts of the post-processor engine (post_engine*.cpp) share: when two positions are
// the same, which records are moves, how a number in a comment is written.
#pragma once

#include <cmath>

#include "nc_text.h"
#include "nci_record_reader.h"

namespace morvane::post {

// Positions in the NCI are rounded to 0.001; two values closer than this are the same value.
inline bool same(double a, double b) {
    constexpr double kSameValue = 1e-9;
    return std::fabs(a - b) < kSameValue;
}

inline bool isMove(const NciRecord& r) {
    return r.problem == RecordProblem::None && r.kind != nullptr &&
           (r.kind->role == RecordRole::Rapid || r.kind->role == RecordRole::Linear);
}

inline constexpr NumberStyle kCommentNumber{3, false, false, false};

}  // namespace morvane::post
