// What a conversion tells the user besides the NCI: every place where it drops, cuts short or
// could not deliver something, with the line of the program it comes from. The list of codes is
// the one definition of them for the plug-in and its hosts (docs/diagnostics.md describes each).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "nci/nci_line_map.h"

namespace morvane {

enum class Severity : std::uint8_t {
    Note,     // what was done, for the record
    Warning,  // the result may not cut what the program means
    Error,    // the result is cut short or was not delivered
};

// Which rules a conversion follows: the conversion rules as they stand, byte for byte, or with
// the documented corrections that make the tool path what the control would cut
// (docs/corrections.md).
enum class Semantics : std::uint8_t { Exact, Corrected };

struct DiagnosticCode {
    std::string_view name;  // stable kebab-case name, as hosts receive it
    Severity severity;
    // A correction rule: a warning in exact semantics (the path is likely wrong), a note in
    // corrected semantics (what was corrected); `severity` is not used.
    bool correction = false;
};

// The severity a host gives `code` under `semantics`.
constexpr Severity severityIn(const DiagnosticCode& code, Semantics semantics) {
    if (!code.correction) return code.severity;
    return semantics == Semantics::Exact ? Severity::Warning : Severity::Note;
}

namespace diagnostic {

// A bound of the conversion was reached (docs/limits.md): the output is cut short there.
inline constexpr DiagnosticCode kLimitReached{"limit-reached", Severity::Error};
// An output file could not be written whole: nothing of the result is delivered.
inline constexpr DiagnosticCode kWriteFailed{"write-failed", Severity::Error};
// No working file could be made in the temporary directory: nothing is converted.
inline constexpr DiagnosticCode kNoWorkingFile{"no-working-file", Severity::Error};
// The post-processor's reader library is missing or cannot be loaded: nothing is converted.
inline constexpr DiagnosticCode kPostProcessorUnavailable{"post-processor-unavailable",
                                                          Severity::Error};
// The post-processor says it did not write its whole result: nothing of it is delivered.
inline constexpr DiagnosticCode kPostProcessorFailed{"post-processor-failed", Severity::Error};
// A line served by the host holds a line feed: the text after it is not read.
inline constexpr DiagnosticCode kLineFeedInLine{"line-feed-in-line", Severity::Warning};
// Corrections of the ISO dialects (docs/corrections.md).
// Numbers rounded to 3 decimals and written with 6 significant digits / to 4 decimals with every
// digit they need.
inline constexpr DiagnosticCode kNciPrecision{"nci-precision", Severity::Note, true};
// G4 taken as a motion mode, its X as a position / a dwell of its block only.
inline constexpr DiagnosticCode kDwellNonmodal{"dwell-nonmodal", Severity::Note, true};
// A G80 block (or a motion code ending a drill cycle) loses its move / writes it after the end.
inline constexpr DiagnosticCode kG80WithMove{"g80-with-move", Severity::Note, true};
// Blocks without a position repeat the open drill cycle / only a position drills again.
inline constexpr DiagnosticCode kDrillRepeatPosition{"drill-repeat-position", Severity::Note, true};
// Longhand G73..G89 drilled from Heidenhain Q parameters / from the words of the blocks.
inline constexpr DiagnosticCode kDrillLonghandWords{"drill-longhand-words", Severity::Note, true};
// Native drill records with R as written and the tool left at Z0 - R / with the levels the
// control drills at and the tool at its return level.
inline constexpr DiagnosticCode kDrillNativeLevels{"drill-native-levels", Severity::Note, true};
// G28 followed by a move to work zero / the reference return alone, the position unknown.
inline constexpr DiagnosticCode kReferenceReturn{"reference-return", Severity::Note, true};
// M98 of a label not in the program runs the program again from its first line / is left out.
inline constexpr DiagnosticCode kMissingSubprogram{"missing-subprogram", Severity::Note, true};
// M2, M30 or M99 with other words: the block is lost / written, then the program ends.
inline constexpr DiagnosticCode kBlockBeforeEnd{"block-before-end", Severity::Note, true};
// M2 to M6 dropped / tool change, spindle direction and program end written.
inline constexpr DiagnosticCode kToolAndSpindle{"tool-and-spindle", Severity::Note, true};
// A word, or the rest of a line, that the ISO dialect reads past without converting it (an M
// word such as M8, a word that is no address, a macro variable ...).
inline constexpr DiagnosticCode kWordIgnored{"word-ignored", Severity::Warning};
// A number that cannot be held as read: a whole-number word beyond the 32-bit range, a value
// too large for the NCI's rounding.
inline constexpr DiagnosticCode kNumberOutOfRange{"number-out-of-range", Severity::Warning};
// A spindle stop, reversal or orientation of a drill cycle written as moves is not in the NCI.
inline constexpr DiagnosticCode kCycleSpindleAction{"cycle-spindle-action", Severity::Warning};
// An arc's omitted I, J or K keeps the previous arc's value / reads 0.
inline constexpr DiagnosticCode kArcIjkNonmodal{"arc-ijk-nonmodal", Severity::Note, true};
// How I J K are meant, found from 3-D lengths of rounded values / from the working plane's two
// axes, unrounded, with a start-relative reading when none fits.
inline constexpr DiagnosticCode kArcCentreDetection{"arc-centre-detection", Severity::Note, true};
// An R arc's centre from values rounded to 3 decimals / from the unrounded values.
inline constexpr DiagnosticCode kArcRadiusUnrounded{"arc-radius-unrounded", Severity::Note, true};
// An arc block with a centre word and no axis word writes nothing / a full circle.
inline constexpr DiagnosticCode kFullCircleNoAxis{"full-circle-no-axis", Severity::Note, true};
// The full-circle flag compares X and Y / the working plane's two axes.
inline constexpr DiagnosticCode kFullFlagPlane{"full-flag-plane", Severity::Note, true};
// An arc whose start and end lie at different distances from its centre.
inline constexpr DiagnosticCode kArcOffCircle{"arc-off-circle", Severity::Warning};
// A warning of the post-processor about a record of the NCI it could not write as it says.
inline constexpr DiagnosticCode kPostWarning{"post-warning", Severity::Warning};
// Corrections of the Heidenhain dialect (docs/corrections.md).
// RL and RR end the line / give 41 and 42 and the line is read on.
inline constexpr DiagnosticCode kRadiusCompensation{"radius-compensation", Severity::Note, true};
// FAUTO ends the line / keeps the feed and the line is read on.
inline constexpr DiagnosticCode kFautoFeed{"fauto-feed", Severity::Note, true};
// FN 0 to FN 4 end the line / assign and compute their Q parameter.
inline constexpr DiagnosticCode kFnAssign{"fn-assign", Severity::Note, true};
// LP lines end at LP / move straight to the polar point about the circle centre.
inline constexpr DiagnosticCode kPolarLine{"polar-line", Severity::Note, true};
// CT lines write nothing / an arc tangent to the previous contour element.
inline constexpr DiagnosticCode kTangentArc{"tangent-arc", Severity::Note, true};
// An arc about a CC in Y Z or X Z is written in the XY plane / in the plane of the CC's axes.
inline constexpr DiagnosticCode kArcPlane{"arc-plane", Severity::Note, true};
// A called label section runs past LBL 0 to the end of the program / ends at LBL 0.
inline constexpr DiagnosticCode kLabelSectionEnd{"label-section-end", Severity::Note, true};
// A label called from inside its own section with REP is enrolled as a call of itself / the
// lines from the label to the call are repeated (a program section repeat).
inline constexpr DiagnosticCode kSectionRepeat{"section-repeat", Severity::Note, true};
// A polar arc of more than one turn is one arc record / one full circle per turn, then the rest.
inline constexpr DiagnosticCode kMultiTurnHelix{"multi-turn-helix", Severity::Note, true};
// A TOOL word right behind a ";" is read as a tool line / as part of the comment.
inline constexpr DiagnosticCode kCommentTool{"comment-tool", Severity::Note, true};
// Corrections of the Heidenhain cycles (docs/corrections.md).
// A longhand cycle's first move is a diagonal rapid from where the tool stood / the tool rises,
// moves over the call point, then goes down.
inline constexpr DiagnosticCode kCycleApproach{"cycle-approach", Severity::Note, true};
// Without a plunging depth the infeed is the depth less 1 / one infeed to the full depth.
inline constexpr DiagnosticCode kDepthFallback{"depth-fallback", Severity::Note, true};
// A circular slot over 180 degrees or with a negative angle cut round the shorter arc's centre /
// round its own centre in the direction of the angle.
inline constexpr DiagnosticCode kSlotArcCentre{"slot-arc-centre", Severity::Note, true};
// Old-style slot and pocket (CYCL DEF 3, 4) with the first length along the second axis / along
// the first axis.
inline constexpr DiagnosticCode kOldPocketAxes{"old-pocket-axes", Severity::Note, true};
// Cycle 203 longhand in one plunge / pecks by Q202 with decrement, minimum and chip breaking.
inline constexpr DiagnosticCode kPeckDepth203{"peck-depth-203", Severity::Note, true};
// Cycle 200 longhand in one plunge / pecks by Q202 with rapid retracts.
inline constexpr DiagnosticCode kPeckDepth200{"peck-depth-200", Severity::Note, true};
// A datum shift (CYCL DEF 7) writes rapid moves to the shift values / its record alone.
inline constexpr DiagnosticCode kDatumShiftNoMove{"datum-shift-no-move", Severity::Note, true};
// Rotation (CYCL DEF 10) and scaling (CYCL DEF 11) records without their angle and factor / with
// them.
inline constexpr DiagnosticCode kRotationScaling{"rotation-scaling", Severity::Note, true};
// No cycle end at the end of a program with a drill cycle open / the cycle end written.
inline constexpr DiagnosticCode kCycleEndRecord{"cycle-end-record", Severity::Note, true};
// The old-style pecking cycle written natively leaves the tool at Z0 / at its retract height.
inline constexpr DiagnosticCode kOldPeckingRetract{"old-pecking-retract", Severity::Note, true};
// A native cycle called again after its parameters changed: the short repeat record, which
// cannot say the change / the whole cycle record again.
inline constexpr DiagnosticCode kCycleRecallParameters{"cycle-recall-parameters", Severity::Note,
                                                       true};
// The small circle that starts a pocket's finishing contour round a point beside the contour,
// into the wall / inside the contour.
inline constexpr DiagnosticCode kPocketWallCircle{"pocket-wall-circle", Severity::Note, true};
// Cycle 267's front countersink round the offset alone, inside the stud / at the thread's major
// radius plus the offset.
inline constexpr DiagnosticCode kStudCountersink{"stud-countersink", Severity::Note, true};
// Pocket cycles 251 and 252 ignore their operation, allowances, direction and plunging / follow
// them.
inline constexpr DiagnosticCode kPocketParameters{"pocket-parameters", Severity::Note, true};
// A cycle parameter the cycle cannot take (a negative dwell time): the conversion stops there.
inline constexpr DiagnosticCode kCycleParameterRejected{"cycle-parameter-rejected",
                                                        Severity::Error};
// More distinct diagnostics than are kept: the rest are counted only.
inline constexpr DiagnosticCode kTooManyDiagnostics{"too-many-diagnostics", Severity::Note};
// Found by the command line in the file it reads, before the plug-in sees the text.
inline constexpr DiagnosticCode kNulByte{"nul-byte", Severity::Warning};

inline constexpr DiagnosticCode kAll[] = {kLimitReached,
                                          kWriteFailed,
                                          kNoWorkingFile,
                                          kPostProcessorUnavailable,
                                          kPostProcessorFailed,
                                          kLineFeedInLine,
                                          kTooManyDiagnostics,
                                          kNulByte,
                                          kPostWarning,
                                          kNciPrecision,
                                          kDwellNonmodal,
                                          kG80WithMove,
                                          kDrillRepeatPosition,
                                          kDrillLonghandWords,
                                          kDrillNativeLevels,
                                          kReferenceReturn,
                                          kMissingSubprogram,
                                          kBlockBeforeEnd,
                                          kToolAndSpindle,
                                          kWordIgnored,
                                          kCycleSpindleAction,
                                          kNumberOutOfRange,
                                          kArcIjkNonmodal,
                                          kArcCentreDetection,
                                          kArcRadiusUnrounded,
                                          kFullCircleNoAxis,
                                          kFullFlagPlane,
                                          kArcOffCircle,
                                          kRadiusCompensation,
                                          kFautoFeed,
                                          kFnAssign,
                                          kPolarLine,
                                          kTangentArc,
                                          kLabelSectionEnd,
                                          kArcPlane,
                                          kCycleApproach,
                                          kDepthFallback,
                                          kSlotArcCentre,
                                          kOldPocketAxes,
                                          kPeckDepth203,
                                          kPeckDepth200,
                                          kDatumShiftNoMove,
                                          kRotationScaling,
                                          kCycleEndRecord,
                                          kOldPeckingRetract,
                                          kCycleRecallParameters,
                                          kPocketWallCircle,
                                          kStudCountersink,
                                          kCycleParameterRejected,
                                          kMultiTurnHelix,
                                          kCommentTool,
                                          kSectionRepeat,
                                          kPocketParameters};

}  // namespace diagnostic

// The code of `name`; null for a name this build does not know (a newer plug-in's).
constexpr const DiagnosticCode* findDiagnosticCode(std::string_view name) {
    for (const DiagnosticCode& code : diagnostic::kAll)
        if (code.name == name) return &code;
    return nullptr;
}

// "note", "warning" or "error".
constexpr std::string_view severityName(Severity severity) {
    return severity == Severity::Note      ? "note"
           : severity == Severity::Warning ? "warning"
                                           : "error";
}

// "134,217,728": a count as a machinist reads it in a message.
std::string groupedNumber(std::uint64_t n);

// The diagnostics of one conversion. Reports are cheap to skip: when the host did not ask for
// diagnostics, report() does nothing, and callers whose message costs work to build check
// wanted() first. Failures are always kept, as they decide whether the result is delivered.
//
// The run tells where it is (atLine, and enterCall / leaveCall around an enrolled subprogram),
// so that a report names the program line and, inside a subprogram, the line that called it.
// Identical reports (a subprogram run many times) are kept once with a count.
class Diagnostics {
  public:
    explicit Diagnostics(bool wanted = false, Semantics semantics = Semantics::Exact)
        : wanted_(wanted), semantics_(semantics) {}

    bool wanted() const { return wanted_; }
    // The rules the run follows; every stage of the conversion asks here.
    Semantics semantics() const { return semantics_; }
    bool corrected() const { return semantics_ == Semantics::Corrected; }

    // The run is at line `index` (0-based, as the host serves it).
    void atLine(std::uint32_t index) { line_ = index + 1; }
    // The current line calls a subprogram / the subprogram returns to it.
    void enterCall();
    void leaveCall();

    // The NCI file's line `nciLine` (1-based) ends at the current line: kept only when
    // diagnostics are wanted, to name the program line of a report about the NCI.
    void nciLineEnded(std::uint64_t nciLine) {
        if (wanted_) nciLines_.note(nciLine, line_);
    }
    const NciLineMap& nciLines() const { return nciLines_; }

    // Reports at the current line (0 when the run has not begun).
    void report(const DiagnosticCode& code, std::string_view message);
    // Reports at a 1-based line, 0 for none, outside any call.
    void reportAt(const DiagnosticCode& code, std::uint32_t line, std::string_view message);
    // Reports that the correction `code` applies at the current line: `exact` says what the exact
    // semantics writes and that the path is likely wrong, `corrected` what the corrected
    // semantics wrote instead; the one of the run's semantics is reported.
    void correction(const DiagnosticCode& code, std::string_view exact,
                    std::string_view corrected) {
        report(code, this->corrected() ? corrected : exact);
    }
    // True the first time a run asks about `code`: for a rule reported once per run.
    bool firstOf(const DiagnosticCode& code);
    // Reports at line 0 and marks the conversion failed: its result must not reach the host.
    // Kept whether or not diagnostics were asked for.
    void fail(const DiagnosticCode& code, std::string_view message);
    bool failed() const { return failed_; }
    // The message of the first failure.
    const std::string& failure() const { return failure_; }

    struct Entry {
        std::uint32_t line;  // 1-based, 0: no line
        const DiagnosticCode* code;
        std::string message;  // with the calling line, when inside a subprogram
        std::uint64_t count;  // identical reports merged into this one
    };
    // In the order first reported; a last kTooManyDiagnostics entry counts those not kept.
    std::vector<Entry> entries() const;
    // "LINE:CODE: MESSAGE", the form the host receives; a count above 1 ends the message.
    static std::string hostText(const Entry& entry);

    // Distinct diagnostics kept; further ones are only counted.
    static constexpr std::size_t kMaxEntries = 1000;

  private:
    void add(const DiagnosticCode& code, std::uint32_t line, std::uint32_t caller,
             std::string_view message);

    bool wanted_;
    Semantics semantics_;
    bool failed_ = false;
    std::string failure_;
    std::uint32_t line_ = 0;
    std::vector<std::uint32_t> callers_;  // calling lines, innermost last
    std::vector<Entry> entries_;
    std::unordered_map<std::string, std::size_t> index_;  // host text to entry
    std::uint64_t dropped_ = 0;
    std::vector<std::string_view> asked_;  // codes firstOf was asked about
    NciLineMap nciLines_;
};

}  // namespace morvane
