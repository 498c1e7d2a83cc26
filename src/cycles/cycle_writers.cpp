// The longhand cycle writers of NCIFrame: each expands one cycle call into a bracketed operation
// (comment label, operation start with the tool line, the drilling head line, the moves of the
// cycle class, operation end). What differs between cycles is described by cycle_table.
#include <memory>

#include "cycles/cycle_writer_table.h"
#include "cycles/iso_drilling.h"
#include "nci/diagnostics.h"
#include "nci/nci_frame.h"

namespace morvane {

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
    if (recipe.drillingHead) {
        out << rec::LinearMove << eol << compensation_ << ' ' << current_.x << ' ' << current_.y
            << ' ' << current_.z << ' ' << GetDouble(addr::F) << " 0" << eol;
    }

    // The old-style cycles measure their surface from the Z of the calling block.
    const double callZ = Given(addr::Z) ? GetDouble(addr::Z) : current_.z;
    const std::unique_ptr<NCIGeneralCycle> cycle =
        recipe.build({current_.toolDiameter, current_.x, current_.y, current_.z, current_.extra});
    passCycleArgs(*cycle, recipe.args, *params_, callZ);
    RunOperation(*cycle, out);
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
