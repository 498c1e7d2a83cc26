// The engine's flow: records held until the program starts or a hold is decided, the start and
// the end of the output, the warnings of records it cannot use.
#include "post_engine.h"

#include <algorithm>
#include <cmath>

#include "converter_schema.h"
#include "nc_modal.h"
#include "nc_text.h"
#include "nci/int_conversion.h"
#include "post_engine_rules.h"

namespace morvane::post {

namespace {

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
