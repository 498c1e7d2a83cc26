// What the records of motion and set-up write: the dispatch by record role, moves, arcs, the
// return to the reference point, units and the feed in force.
#include "post_engine.h"

#include <algorithm>
#include <cmath>

#include "nc_modal.h"
#include "nc_text.h"
#include "nci/int_conversion.h"
#include "post_engine_rules.h"

namespace morvane::post {

namespace {

constexpr std::string_view kInlineBodyEnd = "Enrolled subprogram end";

Compensation compensationOf(double code) {
    if (code == 40.0) return Compensation::Off;
    if (code == 41.0) return Compensation::Left;
    if (code == 42.0) return Compensation::Right;
    return Compensation::None;
}

// Why an arc is written as a straight move; empty when it is written as an arc.
std::string_view arcFaultText(const ArcMove& arc) {
    switch (arcFault(arc)) {
        case ArcFault::None:
            return {};
        case ArcFault::NoRadius:
            return "has no radius, written as a straight move";
        case ArcFault::OffCircle:
            return "ends off its circle, written as a straight move";
    }
    return {};
}

}  // namespace

void PostEngine::dispatch(const NciRecord& r) {
    if (!dispatchMotion(r) && !dispatchSetting(r)) dispatchOther(r);
}

// The records that move the tool or call a cycle; false for any other.
bool PostEngine::dispatchMotion(const NciRecord& r) {
    switch (r.kind->role) {
        case RecordRole::Rapid:
        case RecordRole::Linear:
            handleMove(r);
            return true;
        case RecordRole::ArcClockwise:
        case RecordRole::ArcCounter:
            handleArc(r);
            return true;
        case RecordRole::Dwell:
            out_.dwell(r.fieldCount > 0 ? r.field(0) : std::nan(""));
            return true;
        case RecordRole::OperationStart:
            position_ = toolPosition(r);
            return true;
        case RecordRole::ToolChange:
            position_ = toolPosition(r);
            out_.toolChange(wordToInt32(r.field(kToolNumber)), r.field(kToolSpeed));
            return true;
        case RecordRole::ReferenceReturn:
            handleReferenceReturn(r);
            return true;
        case RecordRole::CycleEnd:
            out_.cycleEnd();
            return true;
        case RecordRole::CycleCall:
            handleCycleCall(r);
            return true;
        case RecordRole::CycleCallRepeat:
            handleCycleRepeat(r);
            return true;
        default:
            return false;
    }
}

// The records that set up the machine or the program; false for any other.
bool PostEngine::dispatchSetting(const NciRecord& r) {
    switch (r.kind->role) {
        case RecordRole::Tolerance:
            out_.tolerance(r.field(kToleranceValue));
            return true;
        case RecordRole::StockBlank: {
            const Point min = pointAt(r, kStockMin);
            const Point extent = pointAt(r, kStockExtent);
            const Point max{min.x + extent.x, min.y + extent.y, min.z + extent.z};
            out_.stockBlank(min, max);
            // Both writers put the tool at 0 0 0 after a blank definition.
            cycleArtifactZ_.reset();
            position_ = {};
            resetPlacement();
            return true;
        }
        case RecordRole::Units:
            handleUnits(r);
            return true;
        case RecordRole::Mirror:
            out_.mirror(r.field(0) != 0.0, r.field(1) != 0.0, r.field(2) != 0.0);
            return true;
        case RecordRole::Chamfer:
            out_.corner(true, r.field(0));
            return true;
        case RecordRole::Rounding:
            out_.corner(false, r.field(0));
            return true;
        case RecordRole::DatumSelect:
            out_.datum(wordToInt32(r.field(0)));
            return true;
        case RecordRole::SpindleLimit:
            out_.spindle(SpindleSetting::Limit, r.field(0));
            return true;
        case RecordRole::SurfaceSpeed:
            out_.spindle(SpindleSetting::SurfaceSpeed, r.field(0));
            return true;
        default:
            return false;
    }
}

// The records that say something, end something or are not written.
void PostEngine::dispatchOther(const NciRecord& r) {
    switch (r.kind->role) {
        case RecordRole::OperationEnd:
        case RecordRole::ProgramEnd:
            return;  // the end of the program closes the output
        case RecordRole::Comment:
            if (r.text == kInlineBodyEnd) afterInlineBody_ = true;
            out_.comment(r.text);
            return;
        case RecordRole::Message:
            out_.comment(r.text);
            return;
        case RecordRole::SubprogramLabel:
            out_.subprogramLabel(wordToInt32(r.field(0)));
            return;
        case RecordRole::SubprogramReturn:
            out_.subprogramReturn();
            return;
        case RecordRole::Scaling:
        case RecordRole::Rotation:
        case RecordRole::PlaneRotation:
            // The writers fill these from the axis words of the block, which do not describe
            // the transformation the program asked for: no control word can be derived.
        case RecordRole::CycleCallByNumber:
        case RecordRole::SubprogramCall:
            warn("not written", r);
            return;
        case RecordRole::Rapid:
        case RecordRole::Linear:
        case RecordRole::ArcClockwise:
        case RecordRole::ArcCounter:
        case RecordRole::Dwell:
        case RecordRole::OperationStart:
        case RecordRole::ToolChange:
        case RecordRole::ReferenceReturn:
        case RecordRole::CycleEnd:
        case RecordRole::CycleCall:
        case RecordRole::CycleCallRepeat:
        case RecordRole::Tolerance:
        case RecordRole::StockBlank:
        case RecordRole::Units:
        case RecordRole::Mirror:
        case RecordRole::Chamfer:
        case RecordRole::Rounding:
        case RecordRole::DatumSelect:
        case RecordRole::SpindleLimit:
        case RecordRole::SurfaceSpeed:
            return;  // dispatchMotion's and dispatchSetting's
    }
}

void PostEngine::handleReferenceReturn(const NciRecord& r) {
    // The corrected semantics names the axes that return after three zeros; the exact
    // semantics' record names none, and its ISO writer moves in the same block (see process).
    std::array<bool, 3> axes{};
    bool named = false;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        axes[axis] = r.field(3 + axis) != 0.0;
        named = named || axes[axis];
    }
    afterReferenceReturn_ = r.fieldCount == 3;
    if (!named) axes = {false, false, true};
    out_.referenceReturn(axes);
    cycleArtifactZ_.reset();
    // The machine stands at its reference point; the NCI goes on with the position before the
    // return (or, in the exact semantics' ISO NCI, next, the point of the return's own block).
    if (!named) {
        resetPlacement();
        return;
    }
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (axes[axis]) placement_.unplace(axis, position_[axis]);
    holdDecided_ = {};
}

void PostEngine::handleUnits(const NciRecord& r) {
    const bool inch = r.field(0) != 0.0;
    if (inch == inch_) return;
    inch_ = inch;
    if (!out_.units(inch)) warn(inch ? "the program turns to inches here; the output cannot"
                                     : "the program turns to millimetres here; the output cannot",
                                r);
}

double PostEngine::feedFor(double given, const NciRecord& r) {
    if (given > 0.0) feed_ = given;
    // No control moves at F0 (a program's F0, or an F the NCI could not work out): the feed in
    // force goes on, as for a move that names none.
    if (given == 0.0 && feed_ > 0.0) {
        detail_.assign("F0 is no feed a control moves at; the feed in force, F");
        appendNumber(detail_, feed_, kCommentNumber);
        detail_ += ", written";
        warn(detail_, r);
    }
    if (feed_ > 0.0) return feed_;
    // A control refuses a feed move before any F: the first feed move gets the converter's.
    feed_ = settings_.defaultFeed;
    detail_.assign("feed move without a feed in force, F");
    appendNumber(detail_, feed_, kCommentNumber);
    detail_ += " of the converter written";
    warn(detail_, r);
    return feed_;
}

void PostEngine::handleMove(const NciRecord& r) {
    const bool rapid = r.kind->role == RecordRole::Rapid;
    LinearMove move;
    move.to = moveEnd(r);
    move.rapid = rapid;
    // A rapid move carries -2 (or, inside a cycle expansion, the cycle's feed): never a feed.
    move.feed = rapid ? feed_ : feedFor(r.field(kMoveFeed), r);
    move.comp = compensationOf(r.field(kMoveComp));
    moveTo(move.to);
    move.placed = placement_.placed();
    out_.move(move);
}

void PostEngine::handleArc(const NciRecord& r) {
    const std::optional<Plane> plane = arcPlane(r);
    if (!plane) {
        warn("skipped, its plane code is not 0, 1 or 2", r);
        return;
    }
    ArcMove arc;
    arc.plane = *plane;
    arc.clockwise = r.kind->role == RecordRole::ArcClockwise;
    arc.comp = compensationOf(r.field(kArcComp));
    arc.feed = feedFor(r.field(kArcFeed), r);
    arc.start = position_;
    arc.end = arcEnd(r, *plane);
    arc.centreH = r.field(kArcCentreH);
    arc.centreV = r.field(kArcCentreV);
    const PlaneAxes axes = axesOf(arc.plane);
    arc.fullCircle =
        same(arc.end[axes.h], arc.start[axes.h]) && same(arc.end[axes.v], arc.start[axes.v]);
    arc.helical = !same(arc.end[axes.n], arc.start[axes.n]);
    const std::string_view fault = arcFaultText(arc);
    arc.placed = placement_.placed();
    moveTo(arc.end);
    if (!fault.empty()) {
        // No control cuts such an arc; the tool still has to reach the end point.
        warn(fault, r);
        LinearMove move;
        move.to = arc.end;
        move.feed = arc.feed;
        move.comp = arc.comp;
        move.placed = placement_.placed();
        out_.move(move);
        return;
    }
    out_.arc(arc);
}

}  // namespace morvane::post
