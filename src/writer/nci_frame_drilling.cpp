// NCIFrameFanuc with the corrected semantics: the drill cycles G73..G89 as a Fanuc control runs
// them. The cycle keeps R, Z, Q and P from block to block until G80 or a motion code ends it;
// under G91 R is the distance from the initial level and Z from R. Every block that gives a
// position drills K holes (one without K), natively when the post-processor writes the cycle,
// otherwise longhand; the tool then stands at the G98 or G99 level.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "nci/int_conversion.h"
#include "writer/iso_codes.h"
#include "nci/native_cycle_tables.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane {
namespace {

// How far G73 lifts after a peck and G83 stops above the last depth.
constexpr double kPeckClearanceMm = 0.254;
constexpr double kPeckClearanceInch = 0.01;

std::string level(double z) {
    return "Z" + realToString(z);
}

}  // namespace

void NCIFrameFanuc::OpenDrillCycle(std::int32_t g) {
    if (drilling_.cycle == 0) {
        // Until the blocks give R and Z the hole has no depth below the tool.
        drilling_.initialZ = drilling_.referenceZ = drilling_.bottomZ = previous_.z;
        drilling_.depthBelowR = drilling_.peck = drilling_.dwellMs = 0.0;
    }
    if (drilling_.cycle != g) drilling_.recordWritten = false;
    drilling_.cycle = g;
    activeCycle_ = static_cast<std::uint32_t>(g);
}

void NCIFrameFanuc::EndDrillCycle(std::int32_t g) {
    if (drilling_.cycle == 0) return;
    cycleEnded_ = true;
    endingCode_ = g;
    drilling_.cycle = 0;
}

void NCIFrameFanuc::TakeDrillWords() {
    // Z is the hole bottom, never a position: the tool stays at its level until it drills.
    current_.z = previous_.z;
    if (Given(addr::R)) {
        const double r = GetDouble(addr::R);
        drilling_.referenceZ = incremental_ ? drilling_.initialZ + r : r;
        if (incremental_) drilling_.bottomZ = drilling_.referenceZ + drilling_.depthBelowR;
        drilling_.recordWritten = false;
    }
    if (Given(addr::Z)) {
        const double z = GetDouble(addr::Z);
        if (incremental_) drilling_.depthBelowR = z;
        drilling_.bottomZ = incremental_ ? drilling_.referenceZ + z : z;
        drilling_.recordWritten = false;
    }
    if (Given(addr::Q)) {
        drilling_.peck = std::fabs(GetDouble(addr::Q));
        drilling_.recordWritten = false;
    }
    if (Given(addr::P) && !dwell_) {
        drilling_.dwellMs = std::max(0.0, GetDouble(addr::P));
        drilling_.recordWritten = false;
    }
    if (Given(addr::F)) drilling_.recordWritten = false;
}

void NCIFrameFanuc::DrillHoles(NciStream& out) {
    const std::string cycle = "G" + std::to_string(drilling_.cycle);
    if (!BlockHasAxisWord()) {
        if (diagnostics_->wanted())
            diagnostics_->report(diagnostic::kDrillRepeatPosition,
                                 "no hole is drilled: the block gives no position (the drill "
                                 "cycle " + cycle + " stays open)");
        return;
    }
    IsoHole hole;
    hole.cycle = drilling_.cycle;
    hole.referenceZ = drilling_.referenceZ;
    hole.bottomZ = drilling_.bottomZ;
    hole.returnZ = drilling_.cycle == 87 || drilling_.returnToInitial
                       ? std::max(drilling_.initialZ, drilling_.referenceZ)
                       : drilling_.referenceZ;
    hole.peck = drilling_.peck;
    hole.shift = drilling_.peck;
    hole.dwell = drilling_.dwellMs / 1000.0;
    hole.retract = inch_ ? kPeckClearanceInch : kPeckClearanceMm;

    const bool native = IsListedAsSupported(drilling_.cycle);
    if (diagnostics_->wanted()) {
        const std::string levels = "from R " + level(hole.referenceZ) + " to " +
                                   level(hole.bottomZ) + ", returning to " + level(hole.returnZ);
        if (native) {
            diagnostics_->report(diagnostic::kDrillNativeLevels,
                                 "the " + cycle + " record drills " + levels);
        } else {
            diagnostics_->report(diagnostic::kDrillLonghandWords,
                                 cycle + " is drilled longhand " + levels + " at F" +
                                     realToString(modalFeed_));
            if (const std::string_view lost = isoCycleSpindleAction(drilling_.cycle);
                !lost.empty())
                diagnostics_->report(diagnostic::kCycleSpindleAction,
                                     cycle + " is written as moves: the NCI cannot say " +
                                         std::string(lost) + "; check that part on the machine");
        }
    }

    // K holes (none for K0), each a step further under G91; the first at the block's point.
    const std::int32_t count = Given(addr::K) ? wordToInt32(GetDouble(addr::K)) : 1;
    const double firstX = current_.x, firstY = current_.y;
    const double stepX = incremental_ ? firstX - previous_.x : 0.0;
    const double stepY = incremental_ ? firstY - previous_.y : 0.0;
    current_.x = previous_.x;
    current_.y = previous_.y;
    for (std::int32_t k = 0; k < count && !out.exhausted(); ++k) {
        hole.x = firstX + k * stepX;
        hole.y = firstY + k * stepY;
        if (native)
            DrillNative(out, hole, drilling_.recordWritten);
        else
            ExpandIsoHole(hole, modalFeed_, out);
        current_.x = hole.x;
        current_.y = hole.y;
        current_.z = hole.returnZ;
    }
}

void NCIFrameFanuc::DrillNative(NciStream& out, const IsoHole& hole, bool repeat) {
    if (repeat) {
        recordLine_ << hole.x << ' ' << hole.y << ' ' << current_.z << ' ' << hole.returnZ;
        WriteRecord(out, rec::CycleCallRepeat);
    } else {
        hole_ = &hole;
        holeStartZ_ = current_.z;
        ComposeNativeCycleLine(std::begin(kFanucCycleLines), std::end(kFanucCycleLines),
                               recordLine_);
        hole_ = nullptr;
        WriteRecord(out, rec::CycleCall);
        drilling_.recordWritten = true;
    }
    // The tool stands over the hole at its return level.
    out << rec::RapidMove << eol << compensation_ << ' ' << hole.x << ' ' << hole.y << ' '
        << hole.returnZ << " -2 " << Given(addr::M) << eol;
}

double NCIFrameFanuc::CycleTermValue(const CycleTerm& term) {
    if (hole_ == nullptr) return NCIFrame::CycleTermValue(term);
    switch (term.kind) {
        case CycleOperand::CurrentX:
            return hole_->x;
        case CycleOperand::CurrentY:
            return hole_->y;
        case CycleOperand::StartZ:
            return holeStartZ_;
        case CycleOperand::ReturnZ:
            return hole_->returnZ;
        case CycleOperand::Letter:
            switch (static_cast<std::uint32_t>(term.index)) {
                case addr::R:
                    return hole_->referenceZ;
                case addr::Z:
                    return hole_->bottomZ;
                case addr::F:
                    return modalFeed_;
                case addr::P:
                    return drilling_.dwellMs;
                case addr::Q:
                    return drilling_.peck;
                default:
                    break;
            }
            break;
        default:
            break;
    }
    return NCIFrame::CycleTermValue(term);
}

}  // namespace morvane
