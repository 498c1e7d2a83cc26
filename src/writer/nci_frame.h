// NCIFrame: the NCI writer. It keeps the modal machine state, decides which NCI record each
// parsed block yields and writes it. One object per conversion, owned by the dialect's parser.
//
// Calling order per conversion: SetSupportedCycles once; then per executed block, optionally
// SetMessageText, LoadBlock, optionally QueueComment, WriteBlock; GetBlockCode after the last one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "nci/block.h"
#include "nci/diagnostics.h"
#include "nci/longhand_cycles.h"
#include "nci/machine_state.h"
#include "nci/nci_format.h"
#include "nci/nci_stream.h"
#include "nci/supported_cycle.h"
#include "nci/varstorage.h"

namespace morvane {

struct GCodeRule;
struct MCodeRule;
enum class Layout : std::uint8_t;
struct CycleMask;
struct NativeCycleLine;
struct CycleTerm;

// How a program means the I J K of its arcs: not found yet, the centre's coordinates, or offsets
// from the start or from the end point.
enum class CentreReading : std::uint8_t { Unknown, Absolute, FromStart, FromEnd };

class NCIFrame {
  public:
    // How a drill cycle call that the post-processor cannot write is written longhand.
    using CycleWriter = void (NCIFrame::*)(NciStream&);

    // `cycles` writes the cycle calls that are not written as records; it outlives the frame.
    explicit NCIFrame(const LonghandCycles& cycles);
    NCIFrame(const NCIFrame&) = delete;
    NCIFrame& operator=(const NCIFrame&) = delete;
    virtual ~NCIFrame() = default;

    // Interprets the loaded block's codes and returns the record code chosen for it.
    virtual std::int32_t ResolveBlockCode();
    // Rounds to 3 decimals (4 in the corrected semantics), half away from zero; small negatives
    // give negative zero. Values too large for the rounding (|v| >= 2147483.6475) and
    // non-numbers are returned unchanged.
    virtual double RoundValue(double v);
    // Variable `index` (511 for every larger index) as a rounded double; 0.0 for a string or an
    // undefined variable.
    virtual double GetDouble(std::uint32_t index);
    // Variable `index` as an int: the value of an int variable, 0 for every other kind.
    virtual std::int32_t GetInt(std::uint32_t index);
    // Arc centre from the radius word R between the start and the end point in the working plane;
    // `direction` is -1 for a clockwise, +1 for a counter-clockwise arc. Stores I J K.
    virtual void ArcCenterFromRadius(std::int32_t direction);
    // Finds how I J K are meant (absolute, from the start point, from the end point) and makes
    // them absolute; the mode found holds for the rest of the conversion.
    virtual void DetectArcCenterMode();
    // Makes I J K absolute by the arc centre mode found earlier (detects it when still unknown).
    virtual void ResolveArcCenter();
    virtual void InterpretCodes();
    // Expands a cycle that is always written longhand (210 and above, 1003..1005).
    virtual void WriteCycleByNumber(std::int32_t cycle, NciStream& out);
    // True when one of the post-processor's patterns accepts every field of `mask`.
    virtual bool IsCycleSupported(SupportedCycle mask);
    // Appends the cycles that the post-processor writes natively to the supported-cycle list.
    virtual void BuildSupportedCycleList();
    // Composes the native cycle line of the active cycle into `line`; false (and nothing
    // composed) when the cycle is not supported.
    virtual bool WriteSupportedCycle(NciStream& line);

    // Takes the post-processor's native cycle patterns and builds the supported-cycle list.
    virtual void SetSupportedCycles(SupportedCycleList patterns);
    // The next WriteBlock writes `text` as a Comment record first.
    virtual void QueueComment(std::string text);
    // Text of a Message record (G code 1050); no comment is queued.
    virtual void SetMessageText(std::string text);
    // Takes over one parsed block: its G codes, its defined words, the parser's Q-parameter
    // table and axis values. Words not given keep their value, except F, M and R.
    virtual void LoadBlock(const block& b, const std::vector<double>& axes);
    // Record code of the last block (91081 or 91083 while a drill cycle is open).
    virtual std::int32_t GetBlockCode();
    // Writes the loaded block: a queued comment, at most one special record, at most one move.
    virtual void WriteBlock(NciStream& out);

    // The run's diagnostics, which also say which semantics the writer follows; without, the
    // writer follows the exact semantics and reports nothing.
    void SetDiagnostics(Diagnostics& diagnostics);
    // Where the tool stands after the last block written.
    const MachineState& Position() const { return current_; }

  protected:
    // Entry n of the Q-parameter table; a missing number is entered with 0.0.
    double Q(std::int32_t n) { return (*params_)[n]; }
    bool Given(std::uint32_t index) const { return defined_.test(clampVariableIndex(index)); }
    // True when `cycle` is in the supported-cycle list.
    bool IsListedAsSupported(std::int64_t cycle) const;
    // True when the block gives an arc radius; a radius this small (1e-10) counts as none and
    // the centre comes from I J K.
    bool RadiusGiven();
    // True for a record code 91000 + n that calls a cycle n that is always written longhand.
    bool IsLonghandCycleCall(std::int32_t code) const;

    // `v` rounded to 3 decimals (the exact semantics) or 4 (the corrected), half away from
    // zero; small negatives give negative zero; values the rounding cannot hold and non-numbers
    // come back unchanged.
    static double RoundToThousandths(double v);
    static double RoundToTenThousandths(double v);
    // `v` rounded as the run writes it, without a report.
    double RoundAsWritten(double v) const;
    // Reports, once a run, a value whose 4th decimal the exact rounding drops (and the corrected
    // one keeps); `rounded` is the value as the run rounded it. A value too large for the
    // 3-decimal rounding goes on to NoteUnrounded.
    void NoteKeptDecimal(double v, double rounded);
    // Reports, once a run, a value too large for the run's rounding, which is written unrounded.
    void NoteUnrounded(double v);

    // Shared by both frames' LoadBlock: everything except the record code handling.
    void TakeOverBlock(const block& b, const std::vector<double>& axes);
    // Applies one G-code rule of either frame's table (the effects both frames share).
    void ApplyGCodeRule(const GCodeRule& rule, std::int32_t g);
    void ApplyMCodeRule(const MCodeRule& rule);
    void CompileSupportedCycleList(const CycleMask* first, const CycleMask* last);
    // Composes the native record line of the active cycle from the frame's layout table.
    void ComposeNativeCycleLine(const NativeCycleLine* first, const NativeCycleLine* last,
                                NciStream& line);
    virtual double CycleTermValue(const CycleTerm& term);
    // A call of the native cycle whose record would now differ from the last one written in more
    // than X Y Z (a Q parameter changed between the calls); reports cycle-recall-parameters.
    bool CycleChangedSinceRecord();
    // A native cycle record line without its kind and X Y Z.
    static std::string_view FieldsAfterPosition(std::string_view line);

    // Pieces of WriteBlock that both frames share.
    void WritePendingComment(NciStream& out);
    // Writes the code line and the composed record line, then empties the record line.
    void WriteRecord(NciStream& out, std::int32_t code);
    // Composes the parameter line of a special record into the record line. A drill cycle call
    // that is not written natively is handed to `longhand` instead, and the result is false:
    // the block writes nothing more.
    bool ComposeRecordLine(Layout layout, CycleWriter longhand, NciStream& out);
    bool ComposeCycleCallLine(Layout layout, CycleWriter longhand, NciStream& out);
    void ComposeToolLine(bool directed);
    void ComposeSubprogramCallL();
    void ComposeTransformLine(Layout layout);
    bool BlockHasAxisWord() const;
    // Reports a rotation angle or scaling factor (not `neutral`) that the exact semantics leaves
    // out of its record.
    void ReportTransform(std::string_view what, double value, double neutral);
    // Writes the move record of the motion mode (nothing before the first motion code).
    // `mFlag` is the last field of a straight move, `fullCircle` the last field of an arc.
    void WriteMove(NciStream& out, bool mFlag, bool fullCircle);

    // Arcs (nci_frame_arcs.cpp, nci_frame_arc_ends.cpp).
    // Stores the loaded arc's centre, absolute, in I J K: from the radius word, else from I J K
    // by the reading the program uses.
    void ResolveIsoArc();
    // For an arc block without an axis word: true when the corrected semantics writes it as a
    // full circle where the tool stands (it gives a centre word of the working plane).
    bool FullCircleInPlace();
    // The last field of an arc record: the end point meets the start point.
    bool FullCircleFlag();
    // Reports an arc whose start and end lie at different distances from its centre.
    void ReportOffCircle();
    // Coordinate `field` of the arc's end point (`end`) or start point: the unrounded word while
    // the position is the one the words gave, else the rounded position.
    double UnroundedCoordinate(bool end, double MachineState::*field) const;
    // In an arc block without a radius: I J K the block omits keep the previous arc's values in
    // the exact semantics and read 0 in the corrected one.
    void ReadOmittedCentreWords();
    // Adds to the plane's centre words (corrected semantics) the point `reading` refers to.
    void ResolvePlaneCentre(CentreReading reading);
    // Reports that the exact and the corrected reading of I J K differ at this arc.
    void ReportCentreReadings(CentreReading exact, CentreReading inPlane);
    // Expands a call of the active drill cycle longhand by its number (200..209, 1001).
    void WriteLonghandDrilling(NciStream& out);
    // Expands the active drill cycle as cycle 200 (the ISO frame's cycle record).
    void WriteLonghandCycle200(NciStream& out);
    // What the loaded block says to a longhand cycle; `feed` is the feed it cuts at.
    CycleCall LonghandCall(double feed);
    // One hole of an ISO drill cycle written longhand from the tool's position, at `feed`.
    void ExpandIsoHole(const IsoHole& hole, double feed, NciStream& out);

    const LonghandCycles& cycles_;                 // {NCIFrame}
    std::int32_t recordCode_ = rec::None;          // record chosen for the current block
    std::int32_t previousRecordCode_ = rec::None;  // record chosen for the block before
    std::int32_t motionMode_ = -1;                 // {G0,G1,G2,G3,G4}; -1 none yet; modal
    std::uint32_t compensation_ = 0;               // {G40,G41,G42} of this block, else 0
    std::uint8_t namedAxes_ = 0;                   // axes named without a value (block.h)
    WorkingPlane plane_ = WorkingPlane::XY;        // {G17,G18,G19}; modal
    std::uint32_t definedCycle_ = 0;               // {G200..G267, G1001, G1003..G1005}
    std::uint32_t activeCycle_ = 0;                // cycle a call refers to; also {G73..G88}
    bool cycleCalled_ = false;                     // {M99}: a call of the defined cycle written
    bool conversationalApproach_ = true;           // the cycle-approach rule applies
    bool noToolChangeYet_ = true;                  // {M6} clears it
    double blankMin_[3] = {0, 0, 0};               // {G30}: X Y Z
    double blankMax_[3] = {0, 0, 0};               // {G31}: X Y Z
    MachineState current_;                         // position after the block: X Y Z
    MachineState previous_{.toolDiameter = 0.0};   // position before the block: X0 Y0 Z0
    // X Y Z after and before the block as the words gave them, unrounded: the corrected
    // semantics computes arc centres from them.
    MachineState unroundedCurrent_;
    MachineState unroundedPrevious_;
    NciStream line_;                                        // scratch line for the cycle writers
    std::string storedText_;                                // {QueueComment, SetMessageText}
    bool commentPending_ = false;                           // {QueueComment}; WriteBlock clears it
    std::vector<double> axes_;                              // the parser's axis values
    CentreReading arcCentreMode_ = CentreReading::Unknown;  // found once, kept for the run
    SupportedCycleList patterns_;                           // {SetSupportedCycles}
    std::vector<std::int32_t> supportedCycles_;             // cycles written natively
    std::int32_t spindleDirection_ = 1;                     // {M3: +1, M4: -1}
    varstorage vars_[kVariableCount];   // the block's variables, modal between blocks
    VariableSet defined_;               // given in the current block
    std::vector<std::int32_t> gcodes_;  // G codes of the current block, in order
    // The parser's Q-parameter table, shared rather than copied per block: a missing entry is
    // entered as 0.0, which reads the same everywhere. Before the first block with a table the
    // writer reads its own empty one.
    ParamMap ownParams_;
    ParamMap* params_ = &ownParams_;
    Diagnostics ownDiagnostics_;
    Diagnostics* diagnostics_ = &ownDiagnostics_;  // {SetDiagnostics}
    bool preciseRounding_ = false;                 // {SetDiagnostics}: corrected semantics
    bool watchRounding_ = false;                   // {SetDiagnostics}: diagnostics wanted
    bool precisionTold_ = false;                   // {SetDiagnostics}: nci-precision asked
    NciStream recordLine_;  // parameter line of the block's special or move record
    NciStream cycleLine_;   // a native cycle record line composed to compare
    std::string cycleTail_;  // the last native cycle record's fields after X Y Z
};

}  // namespace morvane
