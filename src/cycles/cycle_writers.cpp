// The longhand cycle writers of NCIFrame: each expands one cycle call into a bracketed operation
// (comment label, operation start with the tool line, the drilling head line, the moves of the
// cycle class, operation end). What differs between cycles is described by cycle_table.
#include <algorithm>
#include <memory>
#include <string>

#include "cycles/cycle_writer_table.h"
#include "cycles/iso_drilling.h"
#include "nci/diagnostics.h"
#include "nci/int_conversion.h"
#include "writer/nci_frame.h"

namespace morvane {
namespace {

std::string qText(ParamMap& q, std::int32_t n) {
    return "Q" + std::to_string(n) + " = " + preciseRealToString(q[n]);
}

// Reports the pocket parameters that only the corrected semantics follows, when one of them
// asks for more than a climb-milled pocket roughed and finished in one go with a straight plunge.
void reportPocketParameters(std::int32_t cycle, ParamMap& q, Diagnostics& diagnostics) {
    std::string given;
    const auto add = [&](std::int32_t n, bool set) {
        if (set) given += (given.empty() ? "" : ", ") + qText(q, n);
    };
    if (cycle != 252) {
        add(215, q[215] != 0.0);
        add(368, q[368] != 0.0);
        add(369, q[369] != 0.0);
    }
    add(351, q[351] < 0.0);
    add(366, q[366] != 0.0);
    if (given.empty()) return;
    const std::string name = "cycle " + std::to_string(cycle);
    const std::string reciprocating =
        cycle == 252 && wordToInt32(q[366]) == 2 ? " (a round pocket plunges on a helix)" : "";
    diagnostics.correction(
        diagnostic::kPocketParameters,
        name + " ignores " + given +
            ": it is cut climb, plunging straight down" +
            (cycle != 252 ? ", roughed and finished to size layer by layer" : "") +
            " (the corrected semantics follows them" + reciprocating + ")",
        name + " follows " + given + reciprocating);
}

// Reports a correction of the parameters a cycle is handed (the recipe's corrected list).
void reportArgCorrection(std::int32_t cycle, ParamMap& q, Diagnostics& diagnostics) {
    if (!diagnostics.wanted()) return;
    if (cycle >= 251 && cycle <= 253) reportPocketParameters(cycle, q, diagnostics);
    if ((cycle == 1003 || cycle == 1004) && q[218] != q[219]) {
        const std::string length = preciseRealToString(q[219]), width = preciseRealToString(q[218]);
        diagnostics.correction(
            diagnostic::kOldPocketAxes,
            "the old-style pocket " + length + " long (X) and " + width + " wide (Y) is cut " +
                width + " along X and " + length +
                " along Y (the corrected semantics cuts the length along X)",
            "the old-style pocket is cut " + length + " along X and " + width + " along Y");
    }
    if (cycle == 203 && q[202] > 1e-9 && q[202] < -q[201])
        diagnostics.correction(
            diagnostic::kPeckDepth203,
            "cycle 203 drills with an infeed of Q203 - Q201 = " +
                preciseRealToString(q[203] - q[201]) + ", not the plunging depth " + qText(q, 202) +
                " (the corrected semantics pecks by Q202 less Q212 down to Q205, breaking chips "
                "Q213 times before each retract)",
            "cycle 203 pecks by " + qText(q, 202) + ", less " + qText(q, 212) + " down to " +
                qText(q, 205) + ", with " + qText(q, 213) + " chip breaks before each retract");
}

}  // namespace

void NCIFrame::OpenOperation(std::string_view label, double feed, NciStream& out) {
    out << rec::Comment << eol << label << eol << rec::OperationStart << eol;
    std::int32_t tool = GetInt(addr::T);
    if (tool == 0) tool = 1;
    const double speed = GetDouble(addr::S);
    out << "0 0 0 " << tool << ' ' << current_.toolDiameter << " 0 " << plane_ << ' ' << speed
        << ' ' << feed << " 0 " << current_.x << ' ' << current_.y << ' ' << current_.z << " 0 0 "
        << eol;
}

void NCIFrame::RunOperation(NCIGeneralCycle& cycle, NciStream& out) {
    const CyclePosition end = cycle.Run(out);
    if (const NCIGeneralCycle::Bound* bound = cycle.reachedBound();
        bound != nullptr && out.diagnostics() != nullptr)
        out.diagnostics()->report(diagnostic::kLimitReached,
                                  "the cycle reached its bound of " + groupedNumber(bound->value) +
                                      " " + bound->what +
                                      "; the cutting stops there and the tool retracts");
    current_.toolDiameter = end.toolDiameter;
    current_.x = end.x;
    current_.y = end.y;
    current_.z = end.z;

    out << rec::OperationEnd << eol << "0 0 0" << eol;
}

void NCIFrame::ExpandCycle(const CycleRecipe& recipe, NciStream& out) {
    OpenOperation(recipe.label, GetDouble(addr::F), out);
    const bool corrected = diagnostics_->corrected();
    if (!recipe.correctedArgs.empty()) reportArgCorrection(recipe.cycle, *params_, *diagnostics_);
    // The old-style cycles measure their surface from the Z of the calling block.
    const double callZ = Given(addr::Z) ? GetDouble(addr::Z) : current_.z;
    const std::unique_ptr<NCIGeneralCycle> cycle = recipe.build(
        {current_.toolDiameter, current_.x, current_.y, current_.z, current_.extra, corrected});
    // The corrected semantics reads the parameters first: the head line follows the approach.
    if (corrected) {
        passCycleArgs(*cycle, recipe.correctedArgs.empty() ? recipe.args : recipe.correctedArgs,
                      *params_, callZ, *diagnostics_);
        ApproachCycle(*cycle, out);
    }
    if (recipe.drillingHead) {
        out << rec::LinearMove << eol << compensation_ << ' ' << current_.x << ' ' << current_.y
            << ' ' << (corrected ? cycle->z() : current_.z) << ' ' << GetDouble(addr::F) << " 0"
            << eol;
    }
    if (!corrected) {
        passCycleArgs(*cycle, recipe.args, *params_, callZ, *diagnostics_);
        ApproachCycle(*cycle, out);
    }
    RunOperation(*cycle, out);
}

void NCIFrame::ApproachCycle(NCIGeneralCycle& cycle, NciStream& out) {
    const double clearance = cycle.clearanceHeight();
    if (!conversationalApproach_ || !cycle.hasClearance() || !finiteSetUp(cycle)) return;
    const double travel = std::max({previous_.z, current_.z, clearance});
    if (diagnostics_->corrected())
        cycle.Approach(out, previous_.x, previous_.y, previous_.z, travel);
    const bool moves = previous_.x != current_.x || previous_.y != current_.y;
    if (!moves || previous_.z == clearance || !diagnostics_->wanted()) return;
    const std::string from = "X" + preciseRealToString(previous_.x) + " Y" +
                             preciseRealToString(previous_.y) + " Z" +
                             preciseRealToString(previous_.z);
    const std::string to =
        "X" + preciseRealToString(current_.x) + " Y" + preciseRealToString(current_.y);
    diagnostics_->correction(
        diagnostic::kCycleApproach,
        "the cycle is entered from " + from + " by a diagonal move to " + to +
            ": the call block's positioning is not written (the corrected semantics rises to "
            "the set-up clearance Z" +
            preciseRealToString(clearance) + " when below it, moves in X and Y, then goes down)",
        "the tool goes from " + from + " to " + to + " at Z" + preciseRealToString(travel) +
            ", then down to the set-up clearance Z" + preciseRealToString(clearance));
}

void NCIFrame::ExpandIsoHole(const IsoHole& hole, double feed, NciStream& out) {
    OpenOperation(isoCycleLabel(hole.cycle), feed, out);
    NCIIsoDrilling cycle({current_.toolDiameter, current_.x, current_.y, current_.z, feed}, hole);
    RunOperation(cycle, out);
}

using cycle_table::writerFor;

void NCIFrame::WriteCycle200(NciStream& out) {
    ExpandCycle(writerFor(200), out);
}
void NCIFrame::WriteCycle201(NciStream& out) {
    ExpandCycle(writerFor(201), out);
}
void NCIFrame::WriteCycle202(NciStream& out) {
    ExpandCycle(writerFor(202), out);
}
void NCIFrame::WriteCycle203(NciStream& out) {
    ExpandCycle(writerFor(203), out);
}
void NCIFrame::WriteCycle204(NciStream& out) {
    ExpandCycle(writerFor(204), out);
}
void NCIFrame::WriteCycle205(NciStream& out) {
    ExpandCycle(writerFor(205), out);
}
void NCIFrame::WriteCycle206(NciStream& out) {
    ExpandCycle(writerFor(206), out);
}
void NCIFrame::WriteCycle207(NciStream& out) {
    ExpandCycle(writerFor(207), out);
}
void NCIFrame::WriteCycle208(NciStream& out) {
    ExpandCycle(writerFor(208), out);
}
void NCIFrame::WriteCycle209(NciStream& out) {
    ExpandCycle(writerFor(209), out);
}
void NCIFrame::WriteCycle1001(NciStream& out) {
    ExpandCycle(writerFor(1001), out);
}
void NCIFrame::WriteCycle1003(NciStream& out) {
    ExpandCycle(writerFor(1003), out);
}
void NCIFrame::WriteCycle1004(NciStream& out) {
    ExpandCycle(writerFor(1004), out);
}
void NCIFrame::WriteCycle1005(NciStream& out) {
    ExpandCycle(writerFor(1005), out);
}
void NCIFrame::WriteCycle210(NciStream& out) {
    ExpandCycle(writerFor(210), out);
}
void NCIFrame::WriteCycle211(NciStream& out) {
    ExpandCycle(writerFor(211), out);
}
void NCIFrame::WriteCycle212(NciStream& out) {
    ExpandCycle(writerFor(212), out);
}
void NCIFrame::WriteCycle213(NciStream& out) {
    ExpandCycle(writerFor(213), out);
}
void NCIFrame::WriteCycle214(NciStream& out) {
    ExpandCycle(writerFor(214), out);
}
void NCIFrame::WriteCycle215(NciStream& out) {
    ExpandCycle(writerFor(215), out);
}
// The pattern cycle 221 is not expanded: not even a bracket is written.
void NCIFrame::WriteCycle221(NciStream&) {}
void NCIFrame::WriteCycle230(NciStream& out) {
    ExpandCycle(writerFor(230), out);
}
void NCIFrame::WriteCycle231(NciStream& out) {
    ExpandCycle(writerFor(231), out);
}
void NCIFrame::WriteCycle232(NciStream& out) {
    ExpandCycle(writerFor(232), out);
}
void NCIFrame::WriteCycle251(NciStream& out) {
    ExpandCycle(writerFor(251), out);
}
void NCIFrame::WriteCycle252(NciStream& out) {
    ExpandCycle(writerFor(252), out);
}
void NCIFrame::WriteCycle253(NciStream& out) {
    ExpandCycle(writerFor(253), out);
}
void NCIFrame::WriteCycle254(NciStream& out) {
    ExpandCycle(writerFor(254), out);
}
void NCIFrame::WriteCycle263(NciStream& out) {
    ExpandCycle(writerFor(263), out);
}
void NCIFrame::WriteCycle267(NciStream& out) {
    ExpandCycle(writerFor(267), out);
}

}  // namespace morvane
