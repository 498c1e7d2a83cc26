// NCIFrameFanuc: the ISO meaning of the G and M codes, modal drill cycles and record codes that
// stay in force from block to block.
#include "nci/nci_frame_fanuc.h"

#include <iterator>

#include "nci/frame_rules.h"
#include "nci/native_cycle_tables.h"

namespace morvane {
namespace {

constexpr GCodeRule kFanucGCodes[] = {
    {0, 4, GEffect::Motion},
    {17, 17, GEffect::Plane, 0},
    {18, 18, GEffect::Plane, 2},
    {19, 19, GEffect::Plane, 1},
    {24, 24, GEffect::Record, rec::Chamfer},
    {25, 25, GEffect::Record, rec::Rounding},
    {28, 28, GEffect::Record, rec::ReferenceReturn},
    {30, 30, GEffect::BlankMin},
    {31, 31, GEffect::BlankMax},
    {40, 42, GEffect::Compensation},
    {54, 59, GEffect::Datum},
    {73, 74, GEffect::DrillCycle},
    {76, 76, GEffect::DrillCycle},
    {80, 80, GEffect::CancelDrill},
    {81, 88, GEffect::DrillCycle},
    {92, 92, GEffect::Record, rec::SpindleLimit},
    {96, 96, GEffect::Record, rec::SurfaceSpeed},
    {1018, 1018, GEffect::Record, rec::SubprogramLabel},
};

constexpr MCodeRule kFanucMCodes[] = {
    {3, MEffect::Spindle, 1},
    {4, MEffect::Spindle, -1},
    {6, MEffect::ToolChange},
    {30, MEffect::Record, rec::ProgramEnd},
    {98, MEffect::Record, rec::SubprogramCall},
    {99, MEffect::Record, rec::SubprogramReturn},
};

// Special records of the ISO frame. Codes that stay in force are written again by the following
// blocks until their own codes choose another record.
constexpr RecordLayout kFanucRecords[] = {
    {rec::ToolChange, Layout::ToolLineDirected},
    {rec::ProgramEnd, Layout::Empty, true},
    {rec::SubprogramReturn, Layout::Empty, true},
    {rec::SubprogramLabel, Layout::SubprogramLabelP, true},
    {rec::StockBlank, Layout::StockBlank, true},
    {rec::SubprogramCall, Layout::SubprogramCallP},
    {rec::ReferenceReturn, Layout::Empty},
    {rec::Chamfer, Layout::Radius},
    {rec::Rounding, Layout::Radius},
    {rec::DatumSelect, Layout::Datum},
    {rec::SpindleLimit, Layout::SpindleDirected},
    {rec::SurfaceSpeed, Layout::SpindleDirected},
    {rec::CycleCall, Layout::CycleCall, true},
    {rec::CycleCallRepeat, Layout::CycleCallRepeatAtZ, true},
};

bool isDrillCycleCall(std::int32_t code) {
    return code == rec::CycleCall || code == rec::CycleCallRepeat;
}

}  // namespace

NCIFrameFanuc::NCIFrameFanuc() = default;

void NCIFrameFanuc::LoadBlock(const block& b, const std::vector<double>& axes) {
    // The record code is kept: a drill cycle or a program end stays in force.
    TakeOverBlock(b, axes);
    cycleCancelled_ = false;
}

void NCIFrameFanuc::InterpretCodes() {
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

void NCIFrameFanuc::WriteBlock(NciStream& out) {
    WritePendingComment(out);
    const std::int32_t code = ResolveBlockCode();
    previousRecordCode_ = recordCode_;
    if (cycleCancelled_) {
        out << rec::CycleEnd << eol << "0 0 0" << eol;
        return;
    }
    if (code != rec::None) {
        const RecordLayout* entry = findRecordLayout(kFanucRecords, code);
        const Layout layout = entry != nullptr ? entry->layout : Layout::Nothing;
        // A drill cycle the post-processor cannot write is drilled longhand, hole by hole.
        if (!ComposeRecordLine(layout, &NCIFrame::WriteCycle200, out)) return;
        WriteRecord(out, code);
        if (entry == nullptr || !entry->staysInForce) recordCode_ = rec::None;
    }

    const bool arc = motionMode_ == rec::ArcCW || motionMode_ == rec::ArcCCW;
    if (!BlockHasAxisWord() && !(arc && FullCircleInPlace())) return;
    if (arc) ResolveIsoArc();
    WriteMove(out, Given(addr::M), FullCircleFlag());
}

}  // namespace morvane
