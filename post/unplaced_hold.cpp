#include "unplaced_hold.h"

#include <optional>

namespace morvane::post {

namespace {

// What a record tells about the held axes.
enum class Verdict : std::uint8_t { Passive, Rapid, StartsCut, Ends };

Verdict verdictOf(const NciRecord& r) {
    if (r.problem != RecordProblem::None) return Verdict::Passive;
    switch (r.kind->role) {
        case RecordRole::Rapid:
            return Verdict::Rapid;
        case RecordRole::Linear:
        case RecordRole::ArcClockwise:
        case RecordRole::ArcCounter:
            return Verdict::StartsCut;
        case RecordRole::Comment:
        case RecordRole::Message:
        case RecordRole::ToolChange:
        case RecordRole::OperationStart:
        case RecordRole::OperationEnd:
        case RecordRole::Dwell:
        case RecordRole::SpindleLimit:
        case RecordRole::SurfaceSpeed:
        case RecordRole::DatumSelect:
        case RecordRole::Tolerance:
        case RecordRole::Chamfer:
        case RecordRole::Rounding:
        case RecordRole::Units:
            return Verdict::Passive;
        default:
            return Verdict::Ends;
    }
}

}  // namespace

void UnplacedHold::start(const NciRecord& rapid, const std::array<bool, 3>& pending,
                         const Point& unplaced) {
    active_ = true;
    pending_ = pending;
    adopted_ = {};
    unplaced_ = unplaced;
    held_.keep(rapid);
}

// A feed move starts where the held axes are; an arc needs its plane's axes there, and its normal
// axis only when it moves along it (a helix): a planar arc leaves the normal axis alone.
void UnplacedHold::adoptCutStart(const NciRecord& r) {
    adopted_ = pending_;
    if (r.kind->role == RecordRole::Linear) return;
    const std::optional<Plane> plane = arcPlane(r);
    if (!plane) return;
    const std::size_t normal = axesOf(*plane).n;
    if (arcEnd(r, *plane)[normal] == unplaced_[normal]) adopted_[normal] = false;
}

bool UnplacedHold::take(const NciRecord& r) {
    held_.keep(r);
    const Verdict verdict = verdictOf(r);
    if (verdict == Verdict::StartsCut) adoptCutStart(r);
    if (verdict == Verdict::Rapid) {
        const Point to = moveEnd(r);
        bool any = false;
        for (std::size_t axis = 0; axis < 3; ++axis) {
            if (to[axis] != unplaced_[axis]) pending_[axis] = false;
            any = any || pending_[axis];
        }
        if (!any) return true;
    }
    return verdict == Verdict::StartsCut || verdict == Verdict::Ends || held_.size() >= kMaxHeld;
}

}  // namespace morvane::post
