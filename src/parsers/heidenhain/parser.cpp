#include "parsers/heidenhain/parser.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <utility>

#include "cycles/cycle_writers.h"
#include "writer/corrected_records.h"
#include "nci/int_conversion.h"
#include "parsers/heidenhain/keyword_table.h"

namespace morvane::HHParser {

namespace {

// M91 and M92: a move in machine coordinates.
bool isReferenceMove(std::int32_t m) {
    return m == 91 || m == 92;
}

bool isDrillCycleOpen(std::int32_t code) {
    return code == rec::CycleCall || code == rec::CycleCallRepeat;
}

// A letter of the label word in either case that other lines seldom hold: a line without it
// defines no label and is passed over without a copy.
constexpr LineStops kLabelLetters{"Bb"};
static_assert(kKeywordWords[kw::LBL - 1].find('B') != std::string_view::npos);

}  // namespace

Parser::Parser(const LineSource* lines, std::string nciPath, const SupportedCycleList& cycles)
    : source_(lines),
      lineCount_(static_cast<std::uint32_t>(source_.askLineCount()) + 1),
      frame_(longhandCycles()),
      cycles_(cycles),
      nciPath_(std::move(nciPath)) {}

void Parser::run() {
    out_.setDiagnostics(&diagnostics());
    out_.setRealForm(diagnostics().corrected(), diagnostics().wanted());
    frame_.SetDiagnostics(diagnostics());
    parser_.setDiagnostics(diagnostics());
    scanLabels();
    parser_.blk.params = &parser_.params;
    if (!openOutput(out_, nciPath_)) return;
    const RunLimits limits = limitsFor(source_.bytesRead());
    out_.setByteBudget(limits.nciBytes);
    source_.startRun(limits.repeatedTextBytes, &diagnostics());
    enrolledLines_ = limits.enrolledLines;
    enrolledLinesLeft_ = limits.enrolledLines;
    frame_.SetSupportedCycles(cycles_);
    try {
        runLines(0, lineCount_);
    } catch (const endprogramException&) {
        // Ends the execution of lines; the file is closed as usual.
    } catch (...) {
        // A rejected cycle parameter: the file keeps what was written; the caller decides.
        out_.close();
        throw;
    }
    out_.close();
}

void Parser::scanLabels() {
    labelTable_.clear();
    labelEnds_.clear();
    labelEndsComplete_ = true;
    for (std::uint32_t i = 0; i < lineCount_; ++i) {
        if (!source_.holdsAnyOf(static_cast<std::int32_t>(i), kLabelLetters)) continue;
        const std::string_view line = source_.line(static_cast<std::int32_t>(i));
        std::uint32_t cursor = 0;
        Lexer::skipBlockNumber(line, cursor);
        if (parser_.lexer.readKeyword(line, cursor) != kw::LBL) continue;
        const std::int32_t label = wordToInt32(parser_.lexer.readValue(line, cursor));
        if (label > 0 && admitsLabel(labelTable_, label, i)) labelTable_[label] = i;
        if (label != 0) continue;
        if (labelEnds_.size() < limits::kLabels) labelEnds_.push_back(i);
        else labelEndsComplete_ = false;
    }
    // The scan reads comments and may enter Q references; neither belongs to the run.
    parser_.lexer.beginLine();
    parser_.params.clear();
}

void Parser::parseBlock(std::uint32_t index) {
    if (index < lineCount_) parser_.parseLine(source_.line(static_cast<std::int32_t>(index)));
}

// Counts one line executed inside a label call; false when the budget of such lines is spent
// (reported once).
bool Parser::chargeEnrolledLine() {
    if (enrolledLinesLeft_ == 0) {
        if (!std::exchange(enrolledLinesSpent_, true))
            diagnostics().report(diagnostic::kLimitReached,
                                 "label calls reached their bound of " +
                                     groupedNumber(enrolledLines_) +
                                     " lines executed; this call and the later ones are skipped");
        return false;
    }
    --enrolledLinesLeft_;
    return true;
}

void Parser::runLines(std::uint32_t first, std::uint32_t last) {
    if (++callDepth_ > limits::kCallDepth) {
        // A call refused for its depth costs a line, so that repeats of it are bounded too.
        --callDepth_;
        if (chargeEnrolledLine())
            diagnostics().report(diagnostic::kLimitReached,
                                 "the call would open one more level of label calls than the "
                                 "bound of " +
                                     std::to_string(limits::kCallDepth) + "; it is skipped");
        return;
    }
    parser_.axes.clear();
    block& blk = parser_.blk;
    for (std::uint64_t i = first; i <= last; ++i) {
        if (out_.exhausted()) throw endprogramException{};  // reported by the stream
        if (source_.readBudgetSpent()) {
            diagnostics().report(diagnostic::kLimitReached,
                                 "label calls reached their bound of " +
                                     groupedNumber(source_.repeatedBytes()) +
                                     " bytes of program text read again; the rest of the "
                                     "program is not converted");
            throw endprogramException{};
        }
        if (callDepth_ > 1 && !chargeEnrolledLine()) break;
        const auto index = static_cast<std::uint32_t>(i);
        diagnostics().atLine(index);
        parser_.beginLine();
        parseBlock(index);
        takeLineWords(index);
        if (parser_.flags.labelEnd && callDepth_ > 1 &&
            endsLabelSection("the called section runs on past LBL 0 to the end of the program; "
                             "the corrected semantics ends it here",
                             "the called section ends at LBL 0"))
            break;

        if (writeReferenceMove()) continue;
        if (parser_.flags.stop) {
            blk.clear(addr::L);
            break;
        }
        if (blk.has(addr::L) && parser_.flags.repeatGiven && repeatsSection(index, first, i))
            continue;
        if (blk.has(addr::L)) enrolCall(index);
        writeBlockAndUnits();
    }
    if (isDrillCycleOpen(frame_.GetBlockCode())) {
        out_ << rec::CycleEnd << eol << "0 0 0" << eol;
        drillCycleOpen_ = false;
    }
    if (callDepth_ == 1) closeOpenCycle();
    --callDepth_;
}

// What the line leaves for later: its message, whether its comment is written, the position it
// ends at (held back for a datum shift).
void Parser::takeLineWords(std::uint32_t index) {
    if (parser_.flags.message) {
        parser_.flags.message = false;
        frame_.SetMessageText(parser_.lexer.commentText);
    }
    // The comment of a Q assignment names the parameter; it is not written.
    if (parser_.flags.parameterComment) parser_.lexer.commentFlag = false;
    if (parser_.flags.datum) [[unlikely]] {
        const std::array<double, kAxisCount> kept = parser_.position;
        parser_.rememberLine();
        holdDatumShift(kept);
    } else {
        parser_.rememberLine();
    }
    parser_.blk.line = index;
}

// A block with a reference-point M code is written as a reference return and the block itself
// is dropped; false for any other block.
bool Parser::writeReferenceMove() {
    const block& blk = parser_.blk;
    if (!blk.has(addr::M) || !isReferenceMove(blk.getMCode())) return false;
    parser_.position[AxisX] = parser_.position[AxisY] = parser_.position[AxisZ] = 0.0;
    if (diagnostics().corrected()) {
        writeNamedReferenceReturn(out_, blk.has(addr::X), blk.has(addr::Y), blk.has(addr::Z));
    } else {
        out_ << rec::ReferenceReturn << eol << "0 0 0" << eol;
    }
    return true;
}

// A label call (L) on line `index`: the section enrolled, then what the call line still writes.
void Parser::enrolCall(std::uint32_t index) {
    block& blk = parser_.blk;
    blk.clear(addr::L);
    enrolLabelCall(blk.getDouble(addr::L));
    diagnostics().atLine(index);
    // The call line's M98 would write a call record, for label 0 (the label went to the
    // enrolment).
    if (endsLabelSection("after the enrolled section the call also writes a subprogram call "
                         "record for label 0; the corrected semantics writes none",
                         "the enrolled call writes no subprogram call record"))
        blk.clear(addr::M);
}

// The block's records (a helix turn by turn), then the units record of BEGIN PGM .. MM|INCH.
void Parser::writeBlockAndUnits() {
    if (parser_.flags.multiTurn) writeHelixTurns();
    const block& blk = parser_.blk;
    const auto units = std::find_if(blk.gcodes.begin(), blk.gcodes.end(),
                                    [](std::int32_t g) { return g == 20 || g == 21; });
    const bool unitsGiven = units != blk.gcodes.end() && diagnostics().corrected();
    const bool inch = unitsGiven && *units == 20;
    writeBlock();
    if (unitsGiven) writeUnitsRecord(out_, inch);
}

void Parser::closeOpenCycle() {
    if (!drillCycleOpen_) return;
    // Reported at the program's last line; the run reads one empty line beyond it.
    diagnostics().reportAt(diagnostic::kCycleEndRecord, lineCount_ - 1,
                           diagnostics().corrected()
                               ? "a drill cycle is still open at the end of the program: the "
                                 "cycle end (91080) is written"
                               : "a drill cycle is still open at the end of the program, and no "
                                 "cycle end (91080) is written (the corrected semantics writes "
                                 "it)");
    if (!diagnostics().corrected()) return;
    out_ << rec::CycleEnd << eol << "0 0 0" << eol;
    drillCycleOpen_ = false;
}

void Parser::holdDatumShift(const std::array<double, kAxisCount>& kept) {
    block& blk = parser_.blk;
    // Only a shift value that differs from the tool's position moves it in the exact semantics.
    bool moves = false;
    for (std::uint32_t k = 0; k < kAxisCount; ++k)
        moves = moves || (blk.has(kAxisSlot[k]) && parser_.position[k] != kept[k]);
    if (moves)
        diagnostics().correction(
            diagnostic::kDatumShiftNoMove,
            "the datum shift's values are taken as the tool's position and, once a motion mode "
            "is active, written as a rapid move there (the corrected semantics moves nothing)",
            "the datum shift moves nothing: the tool stays where it stood");
    if (!diagnostics().corrected()) return;
    parser_.position = kept;
    for (const std::uint32_t slot : kAxisSlot)
        blk.clear(slot);
}

// Reports a rule of label-section-end at the current line; true with the corrected semantics.
bool Parser::endsLabelSection(std::string_view exact, std::string_view corrected) {
    diagnostics().correction(diagnostic::kLabelSectionEnd, exact, corrected);
    return diagnostics().corrected();
}

bool Parser::sectionEndsBetween(std::uint32_t from, std::uint32_t to) const {
    const auto end = std::upper_bound(labelEnds_.begin(), labelEnds_.end(), from);
    return (end != labelEnds_.end() && *end < to) || !labelEndsComplete_;
}

bool Parser::repeatsSection(std::uint32_t index, std::uint32_t first, std::uint64_t& next) {
    const double labelValue = parser_.blk.getDouble(addr::L);
    const std::int32_t label = truncToInt32(labelValue);
    const auto found = labelTable_.find(label);
    if (label == 0 || found == labelTable_.end() || found->second >= index ||
        found->second < first || sectionEndsBetween(found->second, index))
        return false;
    const std::uint32_t start = found->second;
    const std::int32_t times = std::clamp(
        truncToInt32((labelValue - std::trunc(labelValue)) * 1000.0 + 0.5), 0, kMaxRepeatCount);
    const bool wanted = diagnostics().wanted();
    const std::string section =
        wanted ? "the lines from LBL " + std::to_string(label) + " (line " +
                     std::to_string(start + 1) + ") to this call"
               : std::string();
    if (!diagnostics().corrected()) {
        diagnostics().correction(diagnostic::kSectionRepeat,
                                 "the call of a label from inside its own section is enrolled as "
                                 "a subprogram that calls itself again, up to the bound of label "
                                 "calls; the corrected semantics repeats " +
                                     section + " " + std::to_string(times) + " more times",
                                 {});
        return false;
    }
    const auto [entry, fresh] = repeatsLeft_.try_emplace(index, times);
    if (fresh && wanted)
        diagnostics().correction(diagnostic::kSectionRepeat, {},
                                 section + " run " + std::to_string(times) +
                                     " more times (a program section repeat)");
    if (entry->second <= 0) {
        repeatsLeft_.erase(entry);
        return true;
    }
    // A repeat costs the lines it runs again, from the label-call budget.
    const std::uint64_t lines = index - start;
    if (enrolledLinesLeft_ < lines) {
        repeatsLeft_.erase(entry);
        diagnostics().report(diagnostic::kLimitReached,
                             "label calls reached their bound of " + groupedNumber(enrolledLines_) +
                                 " lines executed; the section is not repeated again");
        return true;
    }
    enrolledLinesLeft_ -= lines;
    --entry->second;
    next = start;
    return true;
}

// Runs the called label's section (from the label line to the end of the program, or to LBL 0
// with the corrected semantics) once per repeat, then brings back the call line so that it still goes to the writer.
void Parser::enrolLabelCall(double labelValue) {
    const std::int32_t label = truncToInt32(labelValue);
    if (label == 0) return;
    // The repeats are the thousandths behind the label number: 0 to 999 whatever the number,
    // also for a label beyond the 32-bit range, whose number saturates.
    const double whole = std::trunc(labelValue);
    const std::int32_t tenThousandths = truncToInt32((labelValue - whole) * 10000.0 + 0.5);
    std::int32_t repeats =
        std::clamp(truncToInt32(tenThousandths / 10000.0 * 1000.0), 0, kMaxRepeatCount);
    if (repeats == 0) repeats = 1;
    // A label that was never defined is entered at line 0: the call runs the whole program.
    const std::uint32_t start = labelTable_.try_emplace(label, 0u).first->second;

    // Nested calls below may grow callLines_, so the entry is looked up again afterwards.
    const std::size_t depth = callDepth_ - 1;
    if (callLines_.size() <= depth) callLines_.resize(depth + 1);
    callLines_[depth].blk = parser_.blk;
    callLines_[depth].commentText = parser_.lexer.commentText;
    callLines_[depth].commentFlag = parser_.lexer.commentFlag;
    callLines_[depth].flags = parser_.flags;

    out_ << rec::Comment << eol << "Enrolled subprogram start (" << repeats << " repeats)" << eol;
    diagnostics().enterCall();
    // Every repeat charges at least one line (a line run, or a call refused for its depth).
    for (std::int32_t r = 0; r < repeats && enrolledLinesLeft_ > 0; ++r)
        runLines(start, lineCount_ - 1);
    diagnostics().leaveCall();
    out_ << rec::Comment << eol << "Enrolled subprogram end" << eol;

    const CallLine& saved = callLines_[depth];
    parser_.blk = saved.blk;
    parser_.lexer.commentText = saved.commentText;
    parser_.lexer.commentFlag = saved.commentFlag;
    parser_.flags = saved.flags;
}

// A CC line only defines the centre for the arcs that follow: the writer takes its I J K but
// writes nothing for it.
void Parser::writeBlock() {
    frame_.LoadBlock(parser_.blk, parser_.axes.values);
    if (parser_.lexer.commentFlag) frame_.QueueComment(parser_.lexer.commentText);
    if (!parser_.flags.centreBlock) frame_.WriteBlock(out_);
    if (isDrillCycleOpen(frame_.GetBlockCode())) drillCycleOpen_ = true;
}

// Each turn is a full circle back to the start point; the first carries the line's feed, the
// line's own record its M functions and the rest of the arc.
void Parser::writeHelixTurns() {
    const HelixTurns& turns = parser_.helix;
    block& blk = parser_.blk;
    const block line = blk;
    blk.clear(addr::M);
    for (std::uint32_t a = 0; a < 3; ++a)
        blk.setDouble(kAxisSlot[a], turns.start[a]);
    for (std::int32_t k = 1; k <= turns.count; ++k) {
        blk.setDouble(kAxisSlot[turns.depthAxis], turns.start[turns.depthAxis] + turns.perTurn * k);
        writeBlock();
        blk.clear(addr::F);
        parser_.lexer.commentFlag = false;
    }
    blk = line;
    if (turns.count > 0) blk.clear(addr::F);
}

std::unique_ptr<ProgramParser> makeParser(const LineSource* lines, std::string nciPath,
                                          const SupportedCycleList& cycles) {
    return std::make_unique<Parser>(lines, std::move(nciPath), cycles);
}

}  // namespace morvane::HHParser
