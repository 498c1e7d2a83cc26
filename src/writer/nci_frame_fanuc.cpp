// NCIFrameFanuc: the ISO meaning of the G and M codes, modal drill cycles and record codes that
// stay in force from block to block.
#include "writer/nci_frame_fanuc.h"

#include <iterator>

#include "writer/frame_rules.h"
#include "writer/iso_codes.h"
#include "nci/native_cycle_tables.h"

namespace morvane {

NCIFrameFanuc::NCIFrameFanuc(const LonghandCycles& cycles) : NCIFrame(cycles) {
    // ISO drill cycles start where the block positions the tool (corrections of their own).
    conversationalApproach_ = false;
}

void NCIFrameFanuc::LoadBlock(const block& b, const std::vector<double>& axes) {
    // The record code is kept: a drill cycle or a program end stays in force.
    TakeOverBlock(b, axes);
    cycleCancelled_ = false;
}

void NCIFrameFanuc::InterpretCodes() {
    if (diagnostics_->corrected()) {
        InterpretCorrected();
        return;
    }
    for (const std::int32_t g : gcodes_) {
        const GCodeRule* rule = findGCodeRule(kFanucGCodes, g);
        if (rule == nullptr) continue;
        if (rule->effect != GEffect::CancelDrill) {
            ApplyGCodeRule(*rule, g);
            continue;
        }
        if (isDrillCycleCall(previousRecordCode_)) cycleCancelled_ = true;
        if (isDrillCycleCall(recordCode_)) recordCode_ = rec::None;
    }
    if (const MCodeRule* rule = findMCodeRule(kFanucMCodes, GetInt(addr::M))) ApplyMCodeRule(*rule);
    // A block with only a new position drills the open cycle there again.
    if (gcodes_.empty() && recordCode_ == rec::CycleCall) recordCode_ = rec::CycleCallRepeat;
}

void NCIFrameFanuc::BuildSupportedCycleList() {
    CompileSupportedCycleList(std::begin(kFanucCycleMasks), std::end(kFanucCycleMasks));
}

bool NCIFrameFanuc::WriteSupportedCycle(NciStream& line) {
    if (!IsListedAsSupported(activeCycle_)) return false;
    ComposeNativeCycleLine(std::begin(kFanucCycleLines), std::end(kFanucCycleLines), line);
    // The tool comes back to the initial level less the reference distance.
    current_.z = previous_.z - GetDouble(addr::R);
    return true;
}

std::int32_t NCIFrameFanuc::GetBlockCode() {
    if (diagnostics_->corrected() && drilling_.cycle != 0) return rec::CycleCall;
    return recordCode_;
}

void NCIFrameFanuc::WriteBlock(NciStream& out) {
    WritePendingComment(out);
    const std::int32_t code = ResolveBlockCode();
    previousRecordCode_ = recordCode_;
    if (diagnostics_->corrected()) {
        WriteCorrectedBlock(out, code);
        return;
    }
    if (diagnostics_->wanted()) ReportExactBlock(code);
    if (cycleCancelled_) {
        out << rec::CycleEnd << eol << "0 0 0" << eol;
        return;
    }
    if (code != rec::None) {
        const RecordLayout* entry = findRecordLayout(kFanucRecords, code);
        const Layout layout = entry != nullptr ? entry->layout : Layout::Nothing;
        // A drill cycle the post-processor cannot write is drilled longhand, hole by hole.
        if (!ComposeRecordLine(layout, &NCIFrameFanuc::WriteLonghandCycle200, out)) return;
        WriteRecord(out, code);
        if (entry == nullptr || !entry->staysInForce) recordCode_ = rec::None;
    }
    WriteBlockMove(out);
}

void NCIFrameFanuc::WriteBlockMove(NciStream& out) {
    const bool arc = motionMode_ == rec::ArcCW || motionMode_ == rec::ArcCCW;
    if (!BlockHasAxisWord() && !(arc && FullCircleInPlace())) return;
    if (arc) ResolveIsoArc();
    WriteMove(out, Given(addr::M), FullCircleFlag());
}

}  // namespace morvane
