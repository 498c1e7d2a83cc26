// The block writer of NCIFrame and the record lines both frames share: queued comment, special
// records of the catalogue, and the move records.
#include <cstddef>
#include <string>

#include "nci/int_conversion.h"
#include "writer/frame_rules.h"
#include "writer/nci_frame.h"

namespace morvane {
namespace {

// Special records of the conversational frame. Cycle calls of cycles 210 and up are found by
// number (WriteCycleByNumber) rather than listed here.
constexpr RecordLayout kFrameRecords[] = {
    {rec::ToolChange, Layout::ToolLine},
    {rec::ProgramEnd, Layout::Empty},
    {rec::SubprogramReturn, Layout::Empty},
    {rec::Tolerance, Layout::Tolerance},
    {rec::SubprogramLabel, Layout::SubprogramLabelL},
    {rec::StockBlank, Layout::StockBlank},
    {rec::Message, Layout::Message},
    {rec::SubprogramCall, Layout::SubprogramCallL},
    {rec::Scaling, Layout::Scaling},
    {rec::Mirror, Layout::Mirror},
    {rec::Rotation, Layout::Rotation},
    {rec::Chamfer, Layout::Radius},
    {rec::Rounding, Layout::Radius},
    {rec::DatumSelect, Layout::Datum},
    {rec::CycleCall, Layout::CycleCall},
    {rec::CycleCallRepeat, Layout::CycleCallRepeat},
    {rec::PlaneRotation, Layout::PlaneRotation},
};

// Fixed tails of the subprogram records: zeros around a 3 x 3 identity matrix.
constexpr const char* kIdentityTailA = " 0 0 0 0 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0";
constexpr const char* kIdentityTailB = " 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0";

// Words that make a block a move.
constexpr std::uint32_t kAxisWords[] = {addr::X, addr::Y, addr::Z, addr::U, addr::V, addr::W};

}  // namespace

void NCIFrame::WriteBlock(NciStream& out) {
    WritePendingComment(out);
    const std::int32_t code = ResolveBlockCode();
    previousRecordCode_ = recordCode_;
    if (code != rec::None) {
        if (IsLonghandCycleCall(code)) {
            WriteCycleByNumber(code - rec::CycleByNumberBase, out);
            return;
        }
        // The corrected semantics writes the whole cycle record again where the short repeat
        // record cannot say what changed since the last call.
        const bool recall = code == rec::CycleCallRepeat && CycleChangedSinceRecord() &&
                            diagnostics_->corrected();
        const std::int32_t written = recall ? rec::CycleCall : code;
        const RecordLayout* entry = findRecordLayout(kFrameRecords, written);
        const Layout layout = entry != nullptr ? entry->layout : Layout::Nothing;
        if (!ComposeRecordLine(layout, &NCIFrame::WriteLonghandDrilling, out)) return;
        if (written == rec::CycleCall) cycleTail_ = FieldsAfterPosition(recordLine_.view());
        WriteRecord(out, written);
    }
    if (BlockHasAxisWord()) WriteMove(out, false, false);
}

void NCIFrame::WritePendingComment(NciStream& out) {
    if (!commentPending_) return;
    out << rec::Comment << eol << storedText_ << eol;
    commentPending_ = false;
}

void NCIFrame::WriteRecord(NciStream& out, std::int32_t code) {
    out << code << eol << recordLine_.view() << eol;
    recordLine_.clear();
}

bool NCIFrame::ComposeRecordLine(Layout layout, CycleWriter longhand, NciStream& out) {
    NciStream& line = recordLine_;
    switch (layout) {
        case Layout::Nothing:
            break;
        case Layout::CycleCall:
        case Layout::CycleCallRepeat:
        case Layout::CycleCallRepeatAtZ:
            return ComposeCycleCallLine(layout, longhand, out);
        case Layout::Empty:
            line << "0 0 0";
            break;
        case Layout::ToolLine:
        case Layout::ToolLineDirected:
            ComposeToolLine(layout == Layout::ToolLineDirected);
            break;
        case Layout::Tolerance:
            line << "0 0 0 0 0 0 " << GetDouble(addr::T) << " 0 0 0";
            break;
        case Layout::SubprogramLabelL:
            line << GetInt(addr::L) << kIdentityTailA;
            break;
        case Layout::SubprogramLabelP:
            line << GetInt(addr::P) << kIdentityTailA;
            break;
        case Layout::SubprogramCallL:
            ComposeSubprogramCallL();
            break;
        case Layout::SubprogramCallP:
            line << GetInt(addr::P) << " 0 0 0 0 " << std::int32_t{1} << kIdentityTailB;
            break;
        case Layout::StockBlank:
            line << blankMax_[0] - blankMin_[0] << ' ' << blankMax_[1] - blankMin_[1] << ' '
                 << blankMax_[2] - blankMin_[2] << ' ' << blankMin_[0] << ' ' << blankMin_[1] << ' '
                 << blankMin_[2] << " 8 0 0 0 0 0 0 0 ";
            break;
        case Layout::Message:
            line << "0 0 0 0 0 0 0 0 " << storedText_;
            break;
        case Layout::Radius:
            line << GetDouble(addr::R);
            break;
        case Layout::Datum:
            line << Q(339);
            break;
        case Layout::SpindleDirected:
            line << GetDouble(addr::S) * spindleDirection_;
            break;
        case Layout::Scaling:
        case Layout::Mirror:
        case Layout::Rotation:
        case Layout::PlaneRotation:
            ComposeTransformLine(layout);
            break;
    }
    return true;
}

// A native cycle call's line; false when the cycle is written longhand instead.
bool NCIFrame::ComposeCycleCallLine(Layout layout, CycleWriter longhand, NciStream& out) {
    NciStream& line = recordLine_;
    const bool native =
        layout == Layout::CycleCall ? WriteSupportedCycle(line) : IsListedAsSupported(activeCycle_);
    if (!native) {
        (this->*longhand)(out);
        return false;
    }
    if (layout == Layout::CycleCall) return true;
    line << current_.x << ' ' << current_.y << ' ' << previous_.z << ' '
         << (layout == Layout::CycleCallRepeat ? Q(203) + Q(204) : current_.z);
    return true;
}

void NCIFrame::ComposeToolLine(bool directed) {
    NciStream& line = recordLine_;
    const std::int32_t tool = GetInt(addr::T);
    double spindle = GetDouble(addr::S);
    if (directed) spindle *= spindleDirection_;
    // Tool 0 is the spindle's own tool, which the post-processors know as tool 1.
    line << "0 0 0 " << (tool == 0 ? 1 : tool) << " 0 0 " << planeCode(plane_) << ' ' << spindle << ' '
         << GetDouble(addr::F) << " 0 " << current_.x << ' ' << current_.y << ' ' << current_.z
         << " 0 0 ";
}

void NCIFrame::ComposeSubprogramCallL() {
    NciStream& line = recordLine_;
    // L carries the label number and, in its thousandths, the repeat count.
    const double l = GetDouble(addr::L);
    const std::int32_t label = truncToInt32(l);
    const std::int32_t repeats = truncToInt32((l - label) * 1000.0);
    line << label << " 0 0 0 0 " << (repeats < 1 ? 1 : repeats) << kIdentityTailB;
}

// The lines of the coordinate transformations: scaling, mirror, rotation, tilted plane.
void NCIFrame::ComposeTransformLine(Layout layout) {
    NciStream& line = recordLine_;
    switch (layout) {
        case Layout::Scaling: {
            // CYCL DEF 11 gives one factor (SCL) for every axis.
            const bool factor =
                Given(addr::F) && !Given(addr::X) && !Given(addr::Y) && !Given(addr::Z);
            const double others = factor && diagnostics_->corrected() ? GetDouble(addr::F) : 1.0;
            for (const std::uint32_t axis : {addr::X, addr::Y, addr::Z}) {
                if (axis != addr::X) line << ' ';
                line << (Given(axis) ? GetDouble(axis) : others);
            }
            if (factor) ReportTransform("scaling factor", GetDouble(addr::F), 1.0);
            break;
        }
        case Layout::Mirror:
            // An axis counts when it has a value or is named without one (CYCL DEF 8.1 X Y).
            line << (Given(addr::X) || (namedAxes_ & 1) != 0) << ' '
                 << (Given(addr::Y) || (namedAxes_ & 2) != 0) << ' '
                 << (Given(addr::Z) || (namedAxes_ & 4) != 0) << " 0 0 0 0 0 0";
            break;
        case Layout::Rotation: {
            // CYCL DEF 10 turns about the tool axis by its angle (ROT): C of the record.
            const bool angle = Given(addr::H);
            line << GetDouble(addr::A) << ' ' << GetDouble(addr::B) << ' '
                 << (angle && diagnostics_->corrected() ? GetDouble(addr::H) : GetDouble(addr::C));
            if (angle) ReportTransform("rotation angle", GetDouble(addr::H), 0.0);
            break;
        }
        case Layout::PlaneRotation:
            // The tilted plane's three angles are the axis vector's 4th to 6th values.
            for (std::size_t i = 3; i < 6; ++i) {
                if (i != 3) line << ' ';
                line << (i < axes_.size() ? axes_[i] : 0.0);
            }
            break;
        default:
            break;
    }
}

void NCIFrame::ReportTransform(std::string_view what, double value, double neutral) {
    if (value == neutral || !diagnostics_->wanted()) return;
    const std::string v = preciseRealToString(value);
    diagnostics_->correction(
        diagnostic::kRotationScaling,
        "the " + std::string(what) + " " + v + " is not written: the record holds " +
            preciseRealToString(neutral) + " (the corrected semantics writes it)",
        "the record carries the " + std::string(what) + " " + v);
}

bool NCIFrame::BlockHasAxisWord() const {
    for (const std::uint32_t word : kAxisWords) {
        if (Given(word)) return true;
    }
    return false;
}

void NCIFrame::WriteMove(NciStream& out, bool mFlag, bool fullCircle) {
    if (motionMode_ == -1) return;
    // Nothing else is composed for a move: its fields go straight to the output.
    NciStream& line = out;
    line << motionMode_ << eol;
    switch (motionMode_) {
        case rec::RapidMove:
            vars_[addr::F].setDouble(-2.0);
            [[fallthrough]];
        case rec::LinearMove:
            line << compensation_ << ' ' << current_.x << ' ' << current_.y << ' ' << current_.z
                 << ' ' << GetDouble(addr::F) << ' ' << mFlag;
            break;
        case rec::ArcCW:
        case rec::ArcCCW: {
            const PlaneAxes& axes = planeAxes(plane_);
            line << planeCode(plane_) << ' ' << compensation_ << ' ' << current_.*axes.horizontal << ' '
                 << current_.*axes.vertical << ' ' << GetDouble(axes.centreH) << ' '
                 << GetDouble(axes.centreV) << ' ' << axes.depthSign * current_.*axes.depth << ' '
                 << GetDouble(addr::F) << " 0 " << fullCircle;
            ReportOffCircle();
            break;
        }
        default:
            break;  // a dwell carries no fields
    }
    line << eol;
}

}  // namespace morvane
