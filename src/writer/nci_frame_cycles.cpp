// Cycle calls in NCIFrame: which cycles the post-processor writes natively (pattern matching of
// the record masks), the native cycle record line, and the routing of the other calls to the
// longhand cycle writers.
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>

#include "nci/int_conversion.h"
#include "nci/native_cycle_tables.h"
#include "writer/nci_frame.h"

namespace morvane {
namespace {

// Drill cycles: written natively when supported, otherwise expanded longhand.
constexpr std::int32_t kDrillingCycles[] = {200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 1001};

template <std::size_t N>
bool listed(const std::int32_t (&cycles)[N], std::int64_t cycle) {
    return std::find(std::begin(cycles), std::end(cycles), cycle) != std::end(cycles);
}

}  // namespace

bool NCIFrame::IsLonghandCycleCall(std::int32_t code) const {
    return listed(kExpandedCycleNumbers, std::int64_t{code} - rec::CycleByNumberBase);
}

void NCIFrame::WriteCycleByNumber(std::int32_t cycle, NciStream& out) {
    // Cycle 262 is milled as 263.
    if (listed(kExpandedCycleNumbers, cycle))
        cycles_.Write(cycle == 262 ? 263 : cycle, LonghandCall(GetDouble(addr::F)), current_, out);
}

void NCIFrame::WriteLonghandDrilling(NciStream& out) {
    if (listed(kDrillingCycles, activeCycle_))
        cycles_.Write(static_cast<std::int32_t>(activeCycle_), LonghandCall(GetDouble(addr::F)),
                      current_, out);
}

void NCIFrame::WriteLonghandCycle200(NciStream& out) {
    cycles_.Write(200, LonghandCall(GetDouble(addr::F)), current_, out);
}

void NCIFrame::ExpandIsoHole(const IsoHole& hole, double feed, NciStream& out) {
    cycles_.WriteIsoHole(hole, LonghandCall(feed), current_, out);
}

CycleCall NCIFrame::LonghandCall(double feed) {
    CycleCall call;
    const std::int32_t tool = GetInt(addr::T);
    call.tool = tool == 0 ? 1 : tool;
    call.spindleSpeed = GetDouble(addr::S);
    call.feed = feed;
    call.callZ = Given(addr::Z) ? GetDouble(addr::Z) : current_.z;
    call.plane = plane_;
    call.compensation = compensation_;
    call.conversationalApproach = conversationalApproach_;
    call.before = previous_;
    call.q = params_;
    call.diagnostics = diagnostics_;
    return call;
}

bool NCIFrame::IsCycleSupported(SupportedCycle mask) {
    return std::any_of(patterns_.begin(), patterns_.end(), [&](const SupportedCycle& pattern) {
        for (std::size_t i = 0; i < mask.size(); ++i) {
            // 2 in a pattern accepts whatever the field holds.
            if (pattern[i] != 2 && pattern[i] != mask[i]) return false;
        }
        return true;
    });
}

void NCIFrame::BuildSupportedCycleList() {
    CompileSupportedCycleList(std::begin(kFrameCycleMasks), std::end(kFrameCycleMasks));
}

void NCIFrame::CompileSupportedCycleList(const CycleMask* first, const CycleMask* last) {
    for (; first != last; ++first) {
        if (!IsCycleSupported(first->mask)) continue;
        supportedCycles_.push_back(first->cycle);
        if (first->alsoSupports != 0) supportedCycles_.push_back(first->alsoSupports);
    }
}

bool NCIFrame::IsListedAsSupported(std::int64_t cycle) const {
    return std::find(supportedCycles_.begin(), supportedCycles_.end(), cycle) !=
           supportedCycles_.end();
}

bool NCIFrame::WriteSupportedCycle(NciStream& line) {
    if (!IsListedAsSupported(activeCycle_)) return false;
    ComposeNativeCycleLine(std::begin(kFrameCycleLines), std::end(kFrameCycleLines), line);
    // After the holes the tool waits at the second set-up clearance; the old-style pecking
    // cycle has neither Q203 nor Q204 and returns to the height of its call.
    const double exactZ = Q(203) + Q(204);
    if (activeCycle_ == 1001 && exactZ != current_.z && diagnostics_->wanted())
        diagnostics_->correction(
            diagnostic::kOldPeckingRetract,
            "after the old-style pecking cycle the next move starts from Z" +
                preciseRealToString(exactZ) +
                " (the corrected semantics from the height of the "
                "call, Z" +
                preciseRealToString(current_.z) + ")",
            "after the old-style pecking cycle the tool stands at the height of the call, Z" +
                preciseRealToString(current_.z));
    if (activeCycle_ != 1001 || !diagnostics_->corrected()) current_.z = exactZ;
    return true;
}

std::string_view NCIFrame::FieldsAfterPosition(std::string_view line) {
    for (int field = 0; field < 4 && !line.empty(); ++field) {
        const std::size_t blank = line.find(' ');
        line.remove_prefix(blank == std::string_view::npos ? line.size() : blank + 1);
    }
    return line;
}

bool NCIFrame::CycleChangedSinceRecord() {
    // The old-style pecking cycle's record holds the Z of its call, which a repeat says itself.
    if (activeCycle_ == 1001 || !IsListedAsSupported(activeCycle_)) return false;
    cycleLine_.clear();
    ComposeNativeCycleLine(std::begin(kFrameCycleLines), std::end(kFrameCycleLines), cycleLine_);
    if (FieldsAfterPosition(cycleLine_.view()) == cycleTail_) return false;
    diagnostics_->correction(diagnostic::kCycleRecallParameters,
                             "the cycle is called again after its parameters changed: the short "
                             "repeat record keeps those of the last cycle record",
                             "the cycle is called again after its parameters changed: its whole "
                             "record is written again");
    return true;
}

double NCIFrame::CycleTermValue(const CycleTerm& term) {
    switch (term.kind) {
        case CycleOperand::Param:
            return Q(term.index);
        case CycleOperand::Letter:
            return GetDouble(static_cast<std::uint32_t>(term.index));
        case CycleOperand::CurrentX:
            return current_.x;
        case CycleOperand::CurrentY:
            return current_.y;
        case CycleOperand::CurrentZ:
            return current_.z;
        case CycleOperand::StartZ:
        case CycleOperand::ReturnZ:
            return previous_.z;
        case CycleOperand::None:
            break;
    }
    return 0.0;
}

void NCIFrame::ComposeNativeCycleLine(const NativeCycleLine* first, const NativeCycleLine* last,
                                      NciStream& line) {
    const auto* entry = std::find_if(first, last, [&](const NativeCycleLine& candidate) {
        return static_cast<std::int64_t>(candidate.cycle) == activeCycle_;
    });
    // A supported cycle without a layout gets an empty record line.
    if (entry == last) return;
    bool firstField = true;
    for (const CycleField& field : entry->fields) {
        if (!firstField) line << ' ';
        firstField = false;
        const double lhs = CycleTermValue(field.lhs);
        const double rhs = CycleTermValue(field.rhs);
        switch (field.op) {
            case CycleFieldOp::Integer:
                line << truncToInt32(field.constant);
                break;
            case CycleFieldOp::Real:
                line << field.constant;
                break;
            case CycleFieldOp::Value:
                line << lhs;
                break;
            case CycleFieldOp::Sum:
                line << lhs + rhs;
                break;
            case CycleFieldOp::Difference:
                line << lhs - rhs;
                break;
            case CycleFieldOp::Quotient:
                line << lhs / rhs;
                break;
            case CycleFieldOp::AbsProduct:
                line << std::fabs(lhs * rhs);
                break;
            case CycleFieldOp::Count:
                line << wordToInt32(lhs);
                break;
        }
    }
}

}  // namespace morvane
