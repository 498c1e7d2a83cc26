// The longhand cycle writers: each expands one cycle call into a bracketed operation (comment
// label, operation start with the tool line, the drilling head line, the moves of the cycle
// class, operation end). What differs between cycles is described by cycle_table.
#include <algorithm>
#include <memory>
#include <string>

#include "cycles/cycle_writers.h"

#include "cycles/cycle_writer_table.h"
#include "cycles/iso_drilling.h"
#include "nci/q_numbers.h"
#include "nci/diagnostics.h"
#include "nci/int_conversion.h"
#include "nci/nci_format.h"

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
        const double side = q[qn::kSideAllowance], floor = q[qn::kFloorAllowance];
        add(qn::kMachiningOperation, q[qn::kMachiningOperation] != 0.0);
        add(qn::kSideAllowance, side != 0.0);
        add(qn::kFloorAllowance, floor != 0.0);
        // The finishing infeed counts where there is a finishing pass of the walls.
        const auto operation =
            static_cast<MachiningOperation>(wordToInt32(q[qn::kMachiningOperation]));
        const bool finishes =
            operation == MachiningOperation::Finish ||
            (operation != MachiningOperation::Rough && (side > 0.0 || floor > 0.0));
        add(qn::kFinishingInfeed,
            q[qn::kFinishingInfeed] > 0.0 && finishes && (side > 0.0 || floor <= 0.0));
    }
    add(qn::kMillingDirection, q[qn::kMillingDirection] < 0.0);
    add(qn::kPlunging, q[qn::kPlunging] != 0.0);
    if (given.empty()) return;
    const std::string name = "cycle " + std::to_string(cycle);
    const std::string reciprocating =
        cycle == 252 &&
                static_cast<Plunging>(wordToInt32(q[qn::kPlunging])) == Plunging::Reciprocating
            ? " (a round pocket plunges on a helix)"
            : "";
    diagnostics.correction(
        diagnostic::kPocketParameters,
        name + " ignores " + given + ": it is cut climb, plunging straight down" +
            (cycle != 252 ? ", roughed and finished to size layer by layer" : "") +
            " (the corrected semantics follows them" + reciprocating + ")",
        name + " follows " + given + reciprocating);
}

// Reports a correction of the parameters a cycle is handed (the recipe's corrected list).
void reportArgCorrection(std::int32_t cycle, ParamMap& q, Diagnostics& diagnostics) {
    if (!diagnostics.wanted()) return;
    if (cycle >= 251 && cycle <= 254) reportPocketParameters(cycle, q, diagnostics);
    if ((cycle == 1003 || cycle == 1004) && q[qn::kFirstSideLength] != q[qn::kSecondSideLength]) {
        const std::string length = preciseRealToString(q[qn::kSecondSideLength]),
                          width = preciseRealToString(q[qn::kFirstSideLength]);
        diagnostics.correction(
            diagnostic::kOldPocketAxes,
            "the old-style pocket " + length + " long (X) and " + width + " wide (Y) is cut " +
                width + " along X and " + length +
                " along Y (the corrected semantics cuts the length along X)",
            "the old-style pocket is cut " + length + " along X and " + width + " along Y");
    }
    if (cycle == 203 && q[qn::kPlungingDepth] > 1e-9 && q[qn::kPlungingDepth] < -q[qn::kDepth])
        diagnostics.correction(
            diagnostic::kPeckDepth203,
            "cycle 203 drills with an infeed of Q203 - Q201 = " +
                preciseRealToString(q[qn::kSurface] - q[qn::kDepth]) + ", not the plunging depth " +
                qText(q, qn::kPlungingDepth) +
                " (the corrected semantics pecks by Q202 less Q212 down to Q205, breaking chips "
                "Q213 times before each retract)",
            "cycle 203 pecks by " + qText(q, qn::kPlungingDepth) + ", less " +
                qText(q, qn::kDecrement) + " down to " + qText(q, qn::kMinimumPlungingDepth) +
                ", with " + qText(q, qn::kChipBreaks) + " chip breaks before each retract");
    if (cycle == 200 && q[qn::kPlungingDepth] > 1e-9 && q[qn::kPlungingDepth] < -q[qn::kDepth])
        diagnostics.correction(diagnostic::kPeckDepth200,
                               "cycle 200 drills to " + qText(q, qn::kDepth) +
                                   " in one plunge, not by the plunging depth " +
                                   qText(q, qn::kPlungingDepth) +
                                   " (the corrected semantics pecks by Q202, rapiding back to the "
                                   "set-up clearance between pecks)",
                               "cycle 200 pecks by " + qText(q, qn::kPlungingDepth) +
                                   ", rapiding back to the set-up clearance and "
                                   "dwelling " +
                                   qText(q, qn::kDwellAtTop) + " there between pecks");
}

void openOperation(std::string_view label, const CycleCall& call, const MachineState& tool,
                   NciStream& out) {
    out << rec::Comment << eol << label << eol << rec::OperationStart << eol;
    out << "0 0 0 " << call.tool << ' ' << tool.toolDiameter << " 0 " << planeCode(call.plane) << ' '
        << call.spindleSpeed << ' ' << call.feed << " 0 " << tool.x << ' ' << tool.y << ' '
        << tool.z << " 0 0 " << eol;
}

// Writes the moves of `cycle`, takes over where they leave the tool and closes the operation;
// reports a bound the expansion reached.
void runOperation(NCIGeneralCycle& cycle, MachineState& tool, NciStream& out) {
    const CyclePosition end = cycle.Run(out);
    if (const NCIGeneralCycle::Bound* bound = cycle.reachedBound();
        bound != nullptr && out.diagnostics() != nullptr)
        out.diagnostics()->report(diagnostic::kLimitReached,
                                  "the cycle reached its bound of " + groupedNumber(bound->value) +
                                      " " + bound->what +
                                      "; the cutting stops there and the tool retracts");
    tool.toolDiameter = end.toolDiameter;
    tool.x = end.x;
    tool.y = end.y;
    tool.z = end.z;

    out << rec::OperationEnd << eol << "0 0 0" << eol;
}

// Corrected semantics: the tool goes from where it stood before the call block to the call point
// without a diagonal rapid; reports where the exact semantics writes one.
void approachCycle(NCIGeneralCycle& cycle, const CycleCall& call, const MachineState& tool,
                   NciStream& out) {
    const double clearance = cycle.clearanceHeight();
    if (!call.conversationalApproach || !cycle.hasClearance() || !finiteSetUp(cycle)) return;
    const MachineState& before = call.before;
    Diagnostics& diagnostics = *call.diagnostics;
    const double travel = std::max({before.z, tool.z, clearance});
    if (diagnostics.corrected()) cycle.Approach(out, before.x, before.y, before.z, travel);
    const bool moves = before.x != tool.x || before.y != tool.y;
    if (!moves || before.z == clearance || !diagnostics.wanted()) return;
    const std::string from = "X" + preciseRealToString(before.x) + " Y" +
                             preciseRealToString(before.y) + " Z" + preciseRealToString(before.z);
    const std::string to = "X" + preciseRealToString(tool.x) + " Y" + preciseRealToString(tool.y);
    diagnostics.correction(
        diagnostic::kCycleApproach,
        "the cycle is entered from " + from + " by a diagonal move to " + to +
            ": the call block's positioning is not written (the corrected semantics rises to "
            "the set-up clearance Z" +
            preciseRealToString(clearance) + " when below it, moves in X and Y, then goes down)",
        "the tool goes from " + from + " to " + to + " at Z" + preciseRealToString(travel) +
            ", then down to the set-up clearance Z" + preciseRealToString(clearance));
}

void expandCycle(const CycleRecipe& recipe, const CycleCall& call, MachineState& tool,
                 NciStream& out) {
    openOperation(recipe.label, call, tool, out);
    Diagnostics& diagnostics = *call.diagnostics;
    ParamMap& q = *call.q;
    const bool corrected = diagnostics.corrected();
    if (!recipe.correctedArgs.empty()) reportArgCorrection(recipe.cycle, q, diagnostics);
    const std::unique_ptr<NCIGeneralCycle> cycle =
        recipe.build({tool.toolDiameter, tool.x, tool.y, tool.z, tool.extra, corrected});
    // The corrected semantics reads the parameters first: the head line follows the approach.
    // The old-style cycles measure their surface from the Z of the calling block.
    if (corrected) {
        passCycleArgs(*cycle, recipe.correctedArgs.empty() ? recipe.args : recipe.correctedArgs, q,
                      call.callZ, diagnostics);
        approachCycle(*cycle, call, tool, out);
    }
    if (recipe.drillingHead) {
        out << rec::LinearMove << eol << call.compensation << ' ' << tool.x << ' ' << tool.y << ' '
            << (corrected ? cycle->z() : tool.z) << ' ' << call.feed << " 0" << eol;
    }
    if (!corrected) {
        passCycleArgs(*cycle, recipe.args, q, call.callZ, diagnostics);
        approachCycle(*cycle, call, tool, out);
    }
    runOperation(*cycle, tool, out);
}

// The longhand writers of the cycle table.
class CycleTableWriters final : public LonghandCycles {
  public:
    void Write(std::int32_t cycle, const CycleCall& call, MachineState& tool,
               NciStream& out) const override {
        // The pattern cycle 221 has no writer: not even a bracket is written.
        if (const CycleRecipe* recipe = cycle_table::findWriter(cycle))
            expandCycle(*recipe, call, tool, out);
    }

    void WriteIsoHole(const IsoHole& hole, const CycleCall& call, MachineState& tool,
                      NciStream& out) const override {
        openOperation(isoCycleLabel(hole.cycle), call, tool, out);
        NCIIsoDrilling cycle({tool.toolDiameter, tool.x, tool.y, tool.z, call.feed}, hole);
        runOperation(cycle, tool, out);
    }
};

}  // namespace

const LonghandCycles& longhandCycles() {
    static const CycleTableWriters writers;
    return writers;
}

}  // namespace morvane
