#include "post_engine.h"

#include <algorithm>
#include <cmath>

#include "converter_schema.h"
#include "nc_modal.h"
#include "nc_text.h"
#include "nci/int_conversion.h"

namespace morvane::post {

namespace {

// Positions in the NCI are rounded to 0.001; two values closer than this are the same value.
constexpr double kSameValue = 1e-9;

bool same(double a, double b) {
    return std::fabs(a - b) < kSameValue;
}

constexpr std::string_view kInlineBodyEnd = "Enrolled subprogram end";

Compensation compensationOf(double code) {
    if (code == 40.0) return Compensation::Off;
    if (code == 41.0) return Compensation::Left;
    if (code == 42.0) return Compensation::Right;
    return Compensation::None;
}

bool isMove(const NciRecord& r) {
    return r.problem == RecordProblem::None && r.kind != nullptr &&
           (r.kind->role == RecordRole::Rapid || r.kind->role == RecordRole::Linear);
}

// A program name the Heidenhain control and the ISO start lines can carry.
std::string programNameFrom(std::string_view text) {
    std::string name;
    for (char c : text) {
        if (!isProgramNameChar(c)) break;
        if (name.size() == 32) break;
        name += c;
    }
    return name;
}

const NumberStyle kCommentNumber{3, false, false, false};

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

PostEngine::PostEngine(PostOutput& output, const PostSettings& settings)
    : out_(output), settings_(settings) {}

void PostEngine::start(const NciRecord& first) {
    started_ = true;
    origin_ = detectWriterFamily(first);
    std::string name;
    if (origin_ == WriterFamily::Heidenhain && first.problem == RecordProblem::None &&
        first.kind != nullptr && first.kind->role == RecordRole::Message)
        name = programNameFrom(first.text);
    out_.begin(name.empty() ? settings_.programName : name);
}

void PostEngine::record(const NciRecord& record) {
    // Blank lines between records carry nothing.
    if (record.problem == RecordProblem::BlankLine) return;
    if (!started_) {
        start(record);
        // The program's name or the ISO run's header: said by the start of the output.
        if (record.problem == RecordProblem::None && record.kind != nullptr &&
            record.kind->role == RecordRole::Message)
            return;
    }
    if (pending_) {
        if (takeCycleMove(record)) return;
        flushCycleCall();
    }
    if (afterReferenceReturn_) {
        afterReferenceReturn_ = false;
        // The ISO writer puts the intermediate point of G28 into a move of the same block, once
        // a move has set its motion mode; the reference return lines of the output do that
        // motion.
        if (origin_ == WriterFamily::Iso && moved_ && isMove(record)) {
            moveTo(moveEnd(record));
            placement_.reset(position_);
            return;
        }
    }
    const bool afterInlineBody = afterInlineBody_;
    afterInlineBody_ = false;
    if (record.problem != RecordProblem::None) {
        problemComment(record);
        return;
    }
    if (record.kind->role == RecordRole::SubprogramCall) {
        handleSubprogramCall(record, afterInlineBody);
        return;
    }
    dispatch(record);
}

void PostEngine::finish() {
    if (!started_) {
        started_ = true;
        out_.begin(settings_.programName);
    }
    if (pending_) flushCycleCall();
    out_.end();
}

void PostEngine::moveTo(const Point& to) {
    if (cycleArtifactZ_ && !same(to.z, *cycleArtifactZ_)) cycleArtifactZ_.reset();
    position_ = to;
    placement_.moveTo(to);
    moved_ = true;
}

void PostEngine::dispatch(const NciRecord& r) {
    switch (r.kind->role) {
        case RecordRole::Rapid:
        case RecordRole::Linear:
            handleMove(r);
            return;
        case RecordRole::ArcClockwise:
        case RecordRole::ArcCounter:
            handleArc(r);
            return;
        case RecordRole::Dwell:
            out_.dwell(r.fieldCount > 0 ? r.field(0) : std::nan(""));
            return;
        case RecordRole::OperationStart:
            position_ = toolPosition(r);
            return;
        case RecordRole::ToolChange:
            position_ = toolPosition(r);
            out_.toolChange(wordToInt32(r.field(kToolNumber)), r.field(kToolSpeed));
            return;
        case RecordRole::OperationEnd:
        case RecordRole::ProgramEnd:
            return;  // the end of the program closes the output
        case RecordRole::Comment:
            afterInlineBody_ = r.text == kInlineBodyEnd;
            out_.comment(r.text);
            return;
        case RecordRole::Message:
            out_.comment(r.text);
            return;
        case RecordRole::Tolerance:
            out_.tolerance(r.field(kToleranceValue));
            return;
        case RecordRole::SubprogramLabel:
            out_.subprogramLabel(wordToInt32(r.field(0)));
            return;
        case RecordRole::SubprogramReturn:
            out_.subprogramReturn();
            return;
        case RecordRole::StockBlank: {
            const Point min = pointAt(r, kStockMin);
            const Point extent = pointAt(r, kStockExtent);
            const Point max{min.x + extent.x, min.y + extent.y, min.z + extent.z};
            out_.stockBlank(min, max);
            // Both writers put the tool at 0 0 0 after a blank definition.
            cycleArtifactZ_.reset();
            position_ = {};
            placement_.reset(position_);
            return;
        }
        case RecordRole::ReferenceReturn:
            out_.referenceReturn();
            afterReferenceReturn_ = true;
            cycleArtifactZ_.reset();
            // The machine stands at its reference point; the NCI goes on with the position
            // before the return (or, next, the point of the return's own block).
            placement_.reset(position_);
            return;
        case RecordRole::Mirror:
            out_.mirror(r.field(0) != 0.0, r.field(1) != 0.0, r.field(2) != 0.0);
            return;
        case RecordRole::Chamfer:
            out_.corner(true, r.field(0));
            return;
        case RecordRole::Rounding:
            out_.corner(false, r.field(0));
            return;
        case RecordRole::DatumSelect:
            out_.datum(wordToInt32(r.field(0)));
            return;
        case RecordRole::CycleEnd:
            out_.cycleEnd();
            return;
        case RecordRole::CycleCall:
            handleCycleCall(r);
            return;
        case RecordRole::CycleCallRepeat:
            handleCycleRepeat(r);
            return;
        case RecordRole::SpindleLimit:
            out_.spindle(SpindleSetting::Limit, r.field(0));
            return;
        case RecordRole::SurfaceSpeed:
            out_.spindle(SpindleSetting::SurfaceSpeed, r.field(0));
            return;
        case RecordRole::Scaling:
        case RecordRole::Rotation:
        case RecordRole::PlaneRotation:
            // The writers fill these from the axis words of the block, which do not describe
            // the transformation the program asked for: no control word can be derived.
        case RecordRole::CycleCallByNumber:
        case RecordRole::SubprogramCall:
            commentf("not written", r);
            return;
    }
}

void PostEngine::handleMove(const NciRecord& r) {
    const bool rapid = r.kind->role == RecordRole::Rapid;
    // A rapid move carries -2 (or, inside a cycle expansion, the cycle's feed): never a feed.
    if (!rapid && r.field(kMoveFeed) >= 0.0) feed_ = r.field(kMoveFeed);
    LinearMove move;
    move.to = moveEnd(r);
    move.rapid = rapid;
    move.feed = feed_;
    move.comp = compensationOf(r.field(kMoveComp));
    moveTo(move.to);
    move.placed = placement_.placed();
    out_.move(move);
}

void PostEngine::handleArc(const NciRecord& r) {
    const std::optional<Plane> plane = arcPlane(r);
    if (!plane) {
        commentf("skipped, its plane code is not 0, 1 or 2", r);
        return;
    }
    ArcMove arc;
    arc.plane = *plane;
    arc.clockwise = r.kind->role == RecordRole::ArcClockwise;
    arc.comp = compensationOf(r.field(kArcComp));
    if (r.field(kArcFeed) >= 0.0) feed_ = r.field(kArcFeed);
    arc.feed = feed_;
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
        commentf(fault, r);
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

void PostEngine::handleCycleCall(const NciRecord& r) {
    std::optional<DrillCycle> cycle = decodeCycleLine(r, origin_);
    const double zAfter = callMoveZ(r, origin_);
    if (!cycle) {
        lastCycle_.reset();
        commentf("skipped, the converter has no word for this cycle line", r);
        if (r.fieldCount > 2) moveTo({r.field(1), r.field(2), zAfter});
        return;
    }
    if (origin_ == WriterFamily::Iso) {
        // The ISO writer gives no retract level; the tool returns to where the cycles began.
        if (!cycleArtifactZ_) initialZ_ = position_.z;
        cycle->clearanceZ = initialZ_;
    }
    lastCycle_ = cycle;
    // F of a G81..G76 block stays in force on a Fanuc control; a Heidenhain cycle's feed
    // (Q206) is the cycle's own.
    if (origin_ == WriterFamily::Iso && cycle->feed >= 0.0) feed_ = cycle->feed;
    CycleCall call;
    call.cycle = *cycle;
    call.origin = origin_;
    call.toolZ = position_.z;
    call.zAfter = zAfter;
    pending_ = call;
    position_ = {cycle->x, cycle->y, zAfter};
    placement_.moveTo(position_);
    if (origin_ == WriterFamily::Iso) cycleArtifactZ_ = zAfter;
}

void PostEngine::handleCycleRepeat(const NciRecord& r) {
    const double zAfter = callMoveZ(r, origin_);
    if (!lastCycle_) {
        commentf("skipped, no cycle was called before", r);
        moveTo({r.field(kRepeatX), r.field(kRepeatY), zAfter});
        return;
    }
    CycleCall call;
    call.cycle = *lastCycle_;
    call.cycle.x = r.field(kRepeatX);
    call.cycle.y = r.field(kRepeatY);
    call.cycle.startZ = r.field(kRepeatStartZ);
    call.origin = origin_;
    call.repeat = true;
    call.toolZ = position_.z;
    call.zAfter = zAfter;
    pending_ = call;
    position_ = {call.cycle.x, call.cycle.y, zAfter};
    placement_.moveTo(position_);
    if (origin_ == WriterFamily::Iso) cycleArtifactZ_ = zAfter;
}

bool PostEngine::takeCycleMove(const NciRecord& r) {
    // The writers put the calling block's move at the hole, at the Z the call leaves; any
    // other move (a retract at the hole after CYCL CALL) is a block of its own.
    const Point to = moveEnd(r);
    if (!isMove(r) || !same(to.x, pending_->cycle.x) || !same(to.y, pending_->cycle.y) ||
        !same(to.z, pending_->zAfter))
        return false;
    const bool rapid = r.kind->role == RecordRole::Rapid;
    if (!rapid && r.field(kMoveFeed) >= 0.0) feed_ = r.field(kMoveFeed);
    pending_->withMove = true;
    pending_->rapidMove = rapid;
    pending_->moveFeed = feed_;
    position_ = to;
    if (origin_ == WriterFamily::Iso) cycleArtifactZ_ = position_.z;
    flushCycleCall();
    return true;
}

void PostEngine::flushCycleCall() {
    const CycleCall call = *pending_;
    pending_.reset();
    out_.cycle(call);
}

void PostEngine::handleSubprogramCall(const NciRecord& r, bool afterInlineBody) {
    // The plug-in writes the body of every subprogram it enrols inline and then the call record
    // of the calling block: calling it again would machine the body twice.
    if (afterInlineBody) return;
    const std::int32_t number = wordToInt32(r.field(kCallNumber));
    if (number <= 0) {
        commentf("skipped, it calls no subprogram number", r);
        return;
    }
    out_.subprogramCall(number, std::max(1, wordToInt32(r.field(kCallRepeats))));
}

void PostEngine::commentf(std::string_view what, const NciRecord& r) {
    text_.clear();
    text_ += "NCI line ";
    appendInteger(text_, static_cast<std::int64_t>(r.line));
    text_ += ": ";
    text_ += r.kind != nullptr && r.kind->role != RecordRole::CycleCallByNumber ? r.kind->name
                                                                                : "record";
    text_ += ' ';
    appendInteger(text_, r.code);
    for (std::uint32_t i = 0; i < r.fieldCount && i < 3; ++i) {
        text_ += ' ';
        appendNumber(text_, r.fields[i], kCommentNumber);
    }
    if (r.fieldCount > 3) text_ += " ...";
    text_ += ' ';
    text_ += what;
    out_.comment(text_);
}

void PostEngine::problemComment(const NciRecord& r) {
    text_.clear();
    text_ += "NCI line ";
    appendInteger(text_, static_cast<std::int64_t>(r.line));
    text_ += ": ";
    if (r.codeRead) {
        text_ += "record ";
        appendInteger(text_, r.code);
        text_ += ' ';
    }
    text_ += "skipped, ";
    text_ += describeProblem(r.problem);
    if (r.badField >= 0) {
        text_ += " (field ";
        appendInteger(text_, r.badField + 1);
        text_ += ')';
    }
    out_.comment(text_);
}

}  // namespace morvane::post
