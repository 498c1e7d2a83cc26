// NCIFrame: construction, taking over a block, variable access and the interpretation of the
// block's G and M codes into writer state and a record code.
#include "writer/nci_frame.h"

#include <cmath>
#include <utility>

#include "writer/frame_rules.h"
#include "nci/int_conversion.h"

namespace morvane {
namespace {

// G codes of the conversational dialect (after its parser has mapped its blocks onto them).
// G18 selects plane 1 and G19 plane 2 here; the ISO frame has them the other way round.
constexpr GCodeRule kFrameGCodes[] = {
    {0, 1, GEffect::Motion},
    {2, 3, GEffect::ArcMotion},
    {4, 4, GEffect::Motion},
    {17, 17, GEffect::Plane, 0},
    {18, 18, GEffect::Plane, 1},
    {19, 19, GEffect::Plane, 2},
    {24, 24, GEffect::Record, rec::Chamfer},
    {25, 25, GEffect::Record, rec::Rounding},
    {28, 28, GEffect::Record, rec::Mirror},
    {30, 30, GEffect::BlankMin},
    {31, 31, GEffect::BlankMax},
    {40, 42, GEffect::Compensation},
    {62, 62, GEffect::Record, rec::Tolerance},
    {72, 72, GEffect::Record, rec::Scaling},
    {73, 73, GEffect::Record, rec::Rotation},
    {80, 80, GEffect::Record, rec::Rotation},
    {99, 99, GEffect::ToolData},
    {200, 215, GEffect::DefineCycle},
    {221, 221, GEffect::DefineCycle},
    {230, 232, GEffect::DefineCycle},
    {247, 247, GEffect::Record, rec::DatumSelect},
    {251, 254, GEffect::DefineCycle},
    {262, 263, GEffect::DefineCycle},
    {267, 267, GEffect::DefineCycle},
    {1001, 1001, GEffect::DefineCycle},
    {1003, 1005, GEffect::DefineCycle},
    {1018, 1018, GEffect::Record, rec::SubprogramLabel},
    {1019, 1019, GEffect::Record, rec::SubprogramReturn},
    {1050, 1050, GEffect::Record, rec::Message},
    {5401, 5401, GEffect::Record, rec::PlaneRotation},
};

constexpr MCodeRule kFrameMCodes[] = {
    {6, MEffect::ToolChange},
    {30, MEffect::Record, rec::ProgramEnd},
    {98, MEffect::Record, rec::SubprogramCall},
    {99, MEffect::CycleCall},
};

// Below this magnitude a value times 1000 plus 0.5 still fits a 32-bit integer.
constexpr double kRoundableLimit = 2147483648.0;
// Below this magnitude a value in ten-thousandths is a whole number a double holds exactly.
constexpr double kTenThousandthsLimit = 1e18;

}  // namespace

NCIFrame::NCIFrame(const LonghandCycles& cycles) : cycles_(cycles) {
    for (varstorage& v : vars_)
        v.setDouble(0.0);
    gcodes_.reserve(16);
}

std::int32_t NCIFrame::ResolveBlockCode() {
    InterpretCodes();
    return recordCode_;
}

void NCIFrame::SetDiagnostics(Diagnostics& diagnostics) {
    diagnostics_ = &diagnostics;
    preciseRounding_ = diagnostics.corrected();
    watchRounding_ = diagnostics.wanted();
    precisionTold_ = false;
    // The lines the writer composes before they go out are where its numbers become text.
    for (NciStream* stream : {&line_, &recordLine_, &cycleLine_}) {
        stream->setDiagnostics(&diagnostics);
        stream->setRealForm(diagnostics.corrected(), diagnostics.wanted());
    }
}

double NCIFrame::RoundValue(double v) {
    const double rounded = preciseRounding_ ? RoundToTenThousandths(v) : RoundToThousandths(v);
    // A value the exact rounding leaves as it is has no 4th decimal to lose.
    if (watchRounding_ && (preciseRounding_ || v != rounded ||
                           !(std::fabs(v) < kRoundableLimit / 1000.0))) [[unlikely]]
        NoteKeptDecimal(v, rounded);
    return rounded;
}

double NCIFrame::RoundAsWritten(double v) const {
    return preciseRounding_ ? RoundToTenThousandths(v) : RoundToThousandths(v);
}

double NCIFrame::RoundToThousandths(double v) {
    const double scaled = std::fabs(v) * 1000.0 + 0.5;
    // NaN, infinities and magnitudes the 32-bit rounding cannot hold are written unrounded.
    if (!(scaled < kRoundableLimit)) return v;
    // `scaled` lies in [0.5, 2^31): its truncation to int is exact and defined.
    const double magnitude = static_cast<double>(static_cast<std::int32_t>(scaled)) / 1000.0;
    return v > 0.0 ? magnitude : (v < 0.0 ? -magnitude : 0.0);
}

double NCIFrame::RoundToTenThousandths(double v) {
    const double scaled = std::floor(std::fabs(v) * 10000.0 + 0.5);
    if (!(scaled < kTenThousandthsLimit)) return v;  // NaN, infinities and values beyond any part
    const double magnitude = scaled / 10000.0;
    return v > 0.0 ? magnitude : (v < 0.0 ? -magnitude : 0.0);
}

void NCIFrame::NoteUnrounded(double v) {
    const bool roundable = preciseRounding_
                               ? std::fabs(v) * 10000.0 + 0.5 < kTenThousandthsLimit
                               : std::fabs(v) * 1000.0 + 0.5 < kRoundableLimit;
    // A value runs away in steps (an incremental move repeated): said once, where it begins.
    if (roundable || !diagnostics_->firstOf(diagnostic::kNumberOutOfRange)) return;
    const std::string further = "; values this large further on are not rounded either";
    if (!std::isfinite(v)) {
        diagnostics_->report(diagnostic::kNumberOutOfRange,
                             "a value too large to compute with is written as 0" + further);
        return;
    }
    diagnostics_->report(diagnostic::kNumberOutOfRange,
                         "the value " + preciseRealToString(v) + " is too large to be rounded to " +
                             (preciseRounding_ ? "4" : "3") + " decimals and is written as " +
                             (preciseRounding_ ? preciseRealToString(v) : realToString(v)) +
                             further);
}

void NCIFrame::NoteKeptDecimal(double v, double rounded) {
    if (!std::isfinite(v) || !(std::fabs(v) < kRoundableLimit / 1000.0)) {
        NoteUnrounded(v);
        return;
    }
    if (precisionTold_) return;  // told once a run
    const double threeDecimals = std::trunc(std::fabs(v) * 1000.0 + 0.5) / 1000.0;
    const double fourDecimals = RoundToTenThousandths(std::fabs(v));
    if (!(std::fabs(fourDecimals - threeDecimals) > 1e-9)) return;
    precisionTold_ = true;
    if (!diagnostics_->firstOf(diagnostic::kNciPrecision)) return;
    const std::string value = preciseRealToString(v);
    diagnostics_->correction(
        diagnostic::kNciPrecision,
        "the value " + value + " is rounded to 3 decimals, " + realToString(rounded) +
            "; this and values like it further on lose their 4th decimal (the corrected "
            "semantics keeps 4 decimals)",
        "the value " + value + " keeps its 4th decimal, here and further on");
}

double NCIFrame::GetDouble(std::uint32_t index) {
    return RoundValue(vars_[clampVariableIndex(index)].numeric());
}

std::int32_t NCIFrame::GetInt(std::uint32_t index) {
    return vars_[clampVariableIndex(index)].integral();
}

std::int32_t NCIFrame::GetBlockCode() {
    return recordCode_;
}

void NCIFrame::SetSupportedCycles(SupportedCycleList patterns) {
    patterns_ = std::move(patterns);
    BuildSupportedCycleList();
}

void NCIFrame::QueueComment(std::string text) {
    storedText_ = std::move(text);
    commentPending_ = true;
}

void NCIFrame::SetMessageText(std::string text) {
    storedText_ = std::move(text);
    commentPending_ = false;
}

void NCIFrame::LoadBlock(const block& b, const std::vector<double>& axes) {
    TakeOverBlock(b, axes);
    recordCode_ = rec::None;
}

void NCIFrame::TakeOverBlock(const block& b, const std::vector<double>& axes) {
    axes_.assign(axes.begin(), axes.end());
    gcodes_.assign(b.gcodes.begin(), b.gcodes.end());
    compensation_ = 0;
    namedAxes_ = b.namedAxes;
    // F, M and R are not modal: a block without them must not repeat the last feed, M code or
    // radius.
    vars_[addr::F].setDouble(-1.0);
    vars_[addr::M].setInt(0);
    vars_[addr::R].setDouble(0.0);
    params_ = b.params != nullptr ? b.params : &ownParams_;
    defined_ = b.defined;
    b.defined.forEach([&](std::uint32_t i) { vars_[i] = b.vars[i]; });

    previous_ = current_;
    unroundedPrevious_ = unroundedCurrent_;
    static constexpr struct {
        std::uint32_t letter;
        double MachineState::*field;
    } kPositionWords[] = {
        {addr::X, &MachineState::x}, {addr::Y, &MachineState::y}, {addr::Z, &MachineState::z},
        {addr::A, &MachineState::a}, {addr::B, &MachineState::b}, {addr::C, &MachineState::c},
    };
    for (const auto& word : kPositionWords) {
        if (!Given(word.letter)) continue;
        current_.*word.field = GetDouble(word.letter);
        unroundedCurrent_.*word.field = vars_[word.letter].numeric();
    }
}

void NCIFrame::InterpretCodes() {
    for (const std::int32_t g : gcodes_) {
        if (const GCodeRule* rule = findGCodeRule(kFrameGCodes, g)) ApplyGCodeRule(*rule, g);
    }
    if (const MCodeRule* rule = findMCodeRule(kFrameMCodes, GetInt(addr::M))) ApplyMCodeRule(*rule);
}

void NCIFrame::ApplyGCodeRule(const GCodeRule& rule, std::int32_t g) {
    switch (rule.effect) {
        case GEffect::ArcMotion:
            if (RadiusGiven()) ArcCenterFromRadius(g == 2 ? -1 : 1);
            motionMode_ = g;
            break;
        case GEffect::Motion:
            motionMode_ = g;
            break;
        case GEffect::Plane:
            plane_ = planeOfCode(rule.value);
            break;
        case GEffect::Record:
            recordCode_ = rule.value;
            break;
        case GEffect::BlankMin:
        case GEffect::BlankMax: {
            double* corner = rule.effect == GEffect::BlankMin ? blankMin_ : blankMax_;
            corner[0] = GetDouble(addr::X);
            corner[1] = GetDouble(addr::Y);
            corner[2] = GetDouble(addr::Z);
            // The blank blocks describe the stock, not a position to move to.
            current_.x = current_.y = current_.z = 0.0;
            if (rule.effect == GEffect::BlankMax) recordCode_ = rec::StockBlank;
            break;
        }
        case GEffect::Compensation:
            compensation_ = static_cast<std::uint32_t>(g);
            break;
        case GEffect::ToolData:
            if (Given(addr::L)) current_.toolLength = GetDouble(addr::L);
            if (Given(addr::D)) {
                current_.toolDiameter = GetDouble(addr::D);
                vars_[addr::R].setDouble(current_.toolDiameter * 0.5);
            }
            break;
        case GEffect::DefineCycle:
            definedCycle_ = activeCycle_ = static_cast<std::uint32_t>(g);
            cycleCalled_ = false;
            break;
        case GEffect::Datum:
            (*params_)[339] = g - 53;
            recordCode_ = rec::DatumSelect;
            break;
        case GEffect::DrillCycle:
            // The block's Z is the hole bottom, not a position: the tool stays at its level.
            current_.z = previous_.z;
            recordCode_ = rec::CycleCall;
            noToolChangeYet_ = false;
            activeCycle_ = static_cast<std::uint32_t>(g);
            break;
        case GEffect::CancelDrill:
            break;  // the ISO frame handles it itself
    }
}

bool NCIFrame::RadiusGiven() {
    return Given(addr::R) && std::fabs(GetDouble(addr::R)) > 1e-10;
}

void NCIFrame::ApplyMCodeRule(const MCodeRule& rule) {
    switch (rule.effect) {
        case MEffect::Record:
            recordCode_ = rule.value;
            break;
        case MEffect::ToolChange:
            recordCode_ = rec::ToolChange;
            noToolChangeYet_ = false;
            break;
        case MEffect::Spindle:
            spindleDirection_ = rule.value;
            break;
        case MEffect::CycleCall:
            // Cycles from 210 up (except the old pecking cycle) are always expanded; a drill
            // cycle's first call opens it, later calls repeat it.
            if (definedCycle_ >= 210 && definedCycle_ != 1001)
                recordCode_ = rec::CycleByNumberBase + static_cast<std::int32_t>(definedCycle_);
            else
                recordCode_ = cycleCalled_ ? rec::CycleCallRepeat : rec::CycleCall;
            cycleCalled_ = true;
            break;
    }
}

}  // namespace morvane
