// The native cycles and subprogram calls: a call and its repeats, the moves a cycle record
// brings with it, the call held until they are read.
#include "post_engine.h"

#include <algorithm>
#include <cmath>

#include "nc_modal.h"
#include "nc_text.h"
#include "nci/int_conversion.h"
#include "post_engine_rules.h"

namespace morvane::post {

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

}  // namespace morvane::post
