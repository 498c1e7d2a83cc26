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

PostEngine::PostEngine(PostOutput& output, const PostSettings& settings, PostWarnings& warnings)
    : out_(output), settings_(settings), warnings_(warnings), inch_(settings.inch) {}

void PostEngine::record(const NciRecord& record) {
    // Blank lines between records carry nothing.
    if (record.problem == RecordProblem::BlankLine) return;
    if (hold_.active()) {
        if (!hold_.take(record)) return;
        for (std::size_t axis = 0; axis < 3; ++axis)
            if (hold_.adopted()[axis]) placement_.adopt(axis);
        HeldRecords held;
        hold_.release(held);
        replay(held);
        return;
    }
    if (!started_ && takeBeforeStart(record)) return;
    process(record);
}

void PostEngine::replay(HeldRecords& held) {
    for (const NciRecord& record : held.records())
        this->record(record);
}

bool PostEngine::takeBeforeStart(const NciRecord& r) {
    const bool readable = r.problem == RecordProblem::None && r.kind != nullptr;
    const RecordRole role = readable ? r.kind->role : RecordRole::Comment;
    if (!sawFirst_) {
        sawFirst_ = true;
        origin_ = detectWriterFamily(r);
        // The program's name or the ISO run's header: said by the start of the output.
        if (readable && role == RecordRole::Message) {
            if (origin_ == WriterFamily::Heidenhain) programName_ = programNameFrom(r.text);
            return true;
        }
    }
    if (readable && role == RecordRole::Units) {
        inch_ = r.field(0) != 0.0;
        return true;
    }
    if (readable && (role == RecordRole::Comment || role == RecordRole::Message) &&
        beforeStart_.size() < UnplacedHold::kMaxHeld) {
        beforeStart_.keep(r);
        return true;
    }
    start();
    return false;
}

void PostEngine::start() {
    started_ = true;
    out_.begin(programName_.empty() ? settings_.programName : programName_, inch_);
    HeldRecords held;
    beforeStart_.release(held);
    replay(held);
}

void PostEngine::finish() {
    while (hold_.active()) {
        // The program ends without cutting at the held axes' values: they stay unwritten.
        HeldRecords held;
        hold_.release(held);
        replay(held);
    }
    if (!started_) start();
    if (pending_) flushCycleCall();
    out_.end();
}

void PostEngine::process(const NciRecord& record) {
    warnings_.atRecord(record.line);
    if (pending_) {
        if (takeCycleMove(record)) return;
        flushCycleCall();
    }
    if (afterReferenceReturn_) {
        afterReferenceReturn_ = false;
        // The exact semantics' ISO writer puts the intermediate point of G28 into a move of the
        // same block, once a move has set its motion mode; the reference return lines of the
        // output do that motion.
        if (origin_ == WriterFamily::Iso && moved_ && isMove(record)) {
            moveTo(moveEnd(record));
            resetPlacement();
            return;
        }
    }
    const bool afterInlineBody = afterInlineBody_;
    // The calling block's own comment stands between the enrolled body and its call record.
    afterInlineBody_ = afterInlineBody_ && record.kind != nullptr &&
                       record.kind->role == RecordRole::Comment;
    if (record.problem != RecordProblem::None) {
        problemWarning(record);
        return;
    }
    if (record.kind->role == RecordRole::SubprogramCall) {
        handleSubprogramCall(record, afterInlineBody);
        return;
    }
    if (record.kind->role == RecordRole::Rapid && startsHold(record)) return;
    dispatch(record);
}

bool PostEngine::startsHold(const NciRecord& r) {
    const Point to = moveEnd(r);
    std::array<bool, 3> pending{};
    bool any = false;
    for (std::size_t axis = 0; axis < 3; ++axis) {
        pending[axis] = !placement_.placed()[axis] && !holdDecided_[axis] &&
                        to[axis] == placement_.unplaced()[axis];
        any = any || pending[axis];
    }
    if (!any) return false;
    for (std::size_t axis = 0; axis < 3; ++axis)
        holdDecided_[axis] = holdDecided_[axis] || pending[axis];
    hold_.start(r, pending, placement_.unplaced());
    return true;
}

void PostEngine::resetPlacement() {
    placement_.reset(position_);
    holdDecided_ = {};
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
            if (r.text == kInlineBodyEnd) afterInlineBody_ = true;
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
            resetPlacement();
            return;
        }
        case RecordRole::ReferenceReturn:
            handleReferenceReturn(r);
            return;
        case RecordRole::Units:
            handleUnits(r);
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
            warn("not written", r);
            return;
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

void PostEngine::handleCycleCall(const NciRecord& r) {
    std::optional<DrillCycle> cycle = decodeCycleLine(r, origin_);
    const double zAfter = callMoveZ(r, origin_);
    if (!cycle) {
        lastCycle_.reset();
        warn("skipped, the converter has no word for this cycle line", r);
        if (r.fieldCount > 2) moveTo({r.field(1), r.field(2), zAfter});
        return;
    }
    if (origin_ == WriterFamily::Iso) {
        // The exact semantics' ISO writer gives no return level (its field 4 is the start
        // level) and leaves the tool at a Z of its own: the tool returns to where the cycles
        // began. The corrected semantics gives the level the control returns to, G98 or G99.
        if (!cycleArtifactZ_) initialZ_ = position_.z;
        if (cycleArtifactZ_) cycle->clearanceZ = initialZ_;
        if (cycle->feed <= 0.0) cycle->feed = feedFor(cycle->feed, r);
        // F of a G81..G76 block stays in force on a Fanuc control; a Heidenhain cycle's feed
        // (Q206) is the cycle's own.
        feed_ = cycle->feed;
    } else if (cycle->feed <= 0.0) {
        cycle->feed = feedFor(cycle->feed, r);
    }
    lastCycle_ = cycle;
    CycleCall call;
    call.cycle = *cycle;
    call.origin = origin_;
    call.toolZ = position_.z;
    call.zAfter = zAfter;
    pending_ = call;
    position_ = {cycle->x, cycle->y, zAfter};
    placement_.moveTo(position_);
    lastCallZ_ = zAfter;
}

void PostEngine::handleCycleRepeat(const NciRecord& r) {
    const double zAfter = callMoveZ(r, origin_);
    if (!lastCycle_) {
        warn("skipped, no cycle was called before", r);
        moveTo({r.field(kRepeatX), r.field(kRepeatY), zAfter});
        return;
    }
    // The exact semantics' ISO writer puts the Z of a repeat block into the record's last
    // field, where it otherwise keeps the tool's Z: a new hole bottom.
    if (origin_ == WriterFamily::Iso && !same(zAfter, lastCallZ_)) {
        lastCycle_->depth += lastCycle_->bottomZ - zAfter;
        lastCycle_->bottomZ = zAfter;
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
    lastCallZ_ = zAfter;
}

bool PostEngine::takeCycleMove(const NciRecord& r) {
    // The writers put the calling block's move at the hole, at the Z the call leaves (the
    // corrected semantics' ISO writer: at the return level); any other move (a retract at the
    // hole after CYCL CALL) is a block of its own.
    const Point to = moveEnd(r);
    const bool iso = origin_ == WriterFamily::Iso;
    const bool atReturn = iso && same(to.z, pending_->cycle.clearanceZ);
    if (!isMove(r) || !same(to.x, pending_->cycle.x) || !same(to.y, pending_->cycle.y) ||
        !(same(to.z, pending_->zAfter) || atReturn))
        return false;
    const bool rapid = r.kind->role == RecordRole::Rapid;
    pending_->withMove = true;
    pending_->rapidMove = rapid;
    pending_->moveFeed = rapid ? feed_ : feedFor(r.field(kMoveFeed), r);
    pending_->zAfter = to.z;
    position_ = to;
    lastCallZ_ = to.z;
    // At the return level the tool is where the NCI says; elsewhere at the initial level.
    if (iso && !atReturn) {
        cycleArtifactZ_ = to.z;
    } else {
        cycleArtifactZ_.reset();
    }
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
        warn("skipped, it calls no subprogram number", r);
        return;
    }
    out_.subprogramCall(number, std::max(1, wordToInt32(r.field(kCallRepeats))));
}

void PostEngine::warn(std::string_view what, const NciRecord& r) {
    text_.clear();
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
    warnings_.add(text_);
    text_.insert(0, "NCI line " + std::to_string(r.line) + ": ");
    out_.comment(text_);
}

void PostEngine::problemWarning(const NciRecord& r) {
    text_.clear();
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
    warnings_.add(text_);
    text_.insert(0, "NCI line " + std::to_string(r.line) + ": ");
    out_.comment(text_);
}

}  // namespace morvane::post
