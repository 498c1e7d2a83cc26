// NCIFrameFanuc with the corrected semantics (docs/corrections.md): G4 a dwell of its block, G28
// through its intermediate point with no move after it, a block that ends a drill cycle keeps its
// move. The reports of the exact semantics for the same rules are here too.
#include <string>

#include "writer/corrected_records.h"
#include "writer/iso_codes.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane {
namespace {

std::string gWord(std::int32_t g) {
    return "G" + std::to_string(g);
}

}  // namespace

void NCIFrameFanuc::InterpretCorrected() {
    dwell_ = false;
    cycleEnded_ = false;
    unitsGiven_ = false;
    if (Given(addr::F)) modalFeed_ = GetDouble(addr::F);
    for (const std::int32_t g : gcodes_) {
        if (g == 4) {
            dwell_ = true;
        } else if (g == 20 || g == 21) {
            inch_ = g == 20;
            unitsGiven_ = true;
        } else if (g == 90 || g == 91) {
            incremental_ = g == 91;
        } else if (g == 98 || g == 99) {
            drilling_.returnToInitial = g == 98;
            drilling_.recordWritten = false;
        } else if (g == 80) {
            EndDrillCycle(g);
        } else if (isIsoDrillCycle(g)) {
            OpenDrillCycle(g);
        } else if (const GCodeRule* rule = findGCodeRule(kFanucGCodes, g)) {
            // A motion code ends a drill cycle, as G80 does.
            if (rule->effect == GEffect::Motion) EndDrillCycle(g);
            ApplyGCodeRule(*rule, g);
        }
    }
    const std::int32_t m = GetInt(addr::M);
    if (m == 5) spindleDirection_ = 0;
    if (const MCodeRule* rule = findMCodeRule(kFanucMCodes, m)) ApplyMCodeRule(*rule);
    if (drilling_.cycle != 0) TakeDrillWords();
}

void NCIFrameFanuc::WriteCorrectedBlock(NciStream& out, std::int32_t code) {
    if (unitsGiven_ && (!unitsWritten_ || writtenInch_ != inch_)) {
        writeUnitsRecord(out, inch_);
        unitsWritten_ = true;
        writtenInch_ = inch_;
    }
    if (cycleEnded_) {
        out << rec::CycleEnd << eol << "0 0 0" << eol;
        if (diagnostics_->wanted() && (BlockHasAxisWord() || code != rec::None))
            diagnostics_->report(diagnostic::kG80WithMove,
                                 gWord(endingCode_) +
                                     " ends the drill cycle, then the block is written");
    }
    if (code == rec::ReferenceReturn) {
        WriteReferenceReturn(out);
        recordCode_ = rec::None;
        return;
    }
    if (code != rec::None) {
        const RecordLayout* entry = findRecordLayout(kFanucRecords, code);
        ComposeRecordLine(entry != nullptr ? entry->layout : Layout::Nothing,
                          &NCIFrameFanuc::WriteLonghandCycle200, out);
        WriteRecord(out, code);
        if (entry == nullptr || !entry->staysInForce) recordCode_ = rec::None;
    }
    if (dwell_) out << rec::DwellTime << eol << GetDouble(addr::P) / 1000.0 << " 1 0" << eol;
    if (drilling_.cycle != 0) {
        DrillHoles(out);
        return;
    }
    WriteBlockMove(out);
}

void NCIFrameFanuc::WriteReferenceReturn(NciStream& out) {
    // The axes go to the intermediate point first (the block's words), at rapid.
    const bool moves =
        current_.x != previous_.x || current_.y != previous_.y || current_.z != previous_.z;
    if (BlockHasAxisWord() && moves)
        out << rec::RapidMove << eol << compensation_ << ' ' << current_.x << ' ' << current_.y
            << ' ' << current_.z << " -2 " << Given(addr::M) << eol;
    writeNamedReferenceReturn(out, Given(addr::X), Given(addr::Y), Given(addr::Z));
    if (diagnostics_->wanted())
        diagnostics_->report(diagnostic::kReferenceReturn,
                             moves ? "G28 moves to its intermediate point, then returns to the "
                                     "reference point; no move follows, and the axes' positions "
                                     "are unknown until a block gives them"
                                   : "G28 returns to the reference point; no move follows, and "
                                     "the axes' positions are unknown until a block gives them");
}

void NCIFrameFanuc::ReportExactBlock(std::int32_t code) {
    if (code == rec::ReferenceReturn && BlockHasAxisWord())
        diagnostics_->report(diagnostic::kReferenceReturn,
                             "G28 writes the reference return, then a move to the block's point "
                             "taken from a position of zero: under G91 the tool is sent to work "
                             "zero (the corrected semantics moves to the intermediate point "
                             "first, and not after the return)");
    if (cycleCancelled_ && (BlockHasAxisWord() || code != rec::None))
        diagnostics_->report(diagnostic::kG80WithMove,
                             "G80 writes only the cycle end: the rest of the block is lost (the "
                             "corrected semantics writes it after the cycle end)");
    if (!isDrillCycleCall(code)) return;
    for (const std::int32_t g : gcodes_) {
        if (g < 0 || g > 3) continue;
        diagnostics_->report(diagnostic::kG80WithMove,
                             gWord(g) + " does not end the drill cycle: the block drills another "
                                        "hole (the corrected semantics ends the cycle and writes "
                                        "the block's move)");
        return;
    }
    if (!BlockHasAxisWord())
        diagnostics_->report(diagnostic::kDrillRepeatPosition,
                             "the drill cycle " + gWord(static_cast<std::int32_t>(activeCycle_)) +
                                 " drills again here, though the block gives no position (the "
                                 "corrected semantics drills only where a block gives one)");
    if (!IsListedAsSupported(activeCycle_))
        diagnostics_->report(
            diagnostic::kDrillLonghandWords,
            gWord(static_cast<std::int32_t>(activeCycle_)) +
                " is drilled longhand from the Q parameters of a Heidenhain cycle 200, which the "
                "program never sets: to Z0 at feed 0 (the corrected semantics takes Z, R, Q, P, F "
                "and K from the blocks)");
    else
        diagnostics_->report(
            diagnostic::kDrillNativeLevels,
            "the cycle record takes R as written in this block and leaves the tool at Z" +
                realToString(code == rec::CycleCall ? previous_.z - GetDouble(addr::R)
                                                    : current_.z) +
                " (the corrected semantics keeps R and Z from block to block, reads them under "
                "G91 as the control does and returns the tool to the G98 or G99 level)");
}

}  // namespace morvane
