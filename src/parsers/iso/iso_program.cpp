#include "parsers/iso/iso_program.h"

#include <algorithm>
#include <limits>
#include <span>
#include <utility>

#include "cycles/cycle_writers.h"
#include "nci/int_conversion.h"

namespace morvane::iso {

namespace {

constexpr std::size_t kAxisVectorSize = 6;

std::uint32_t clampOffset(std::size_t offset) {
    return offset < std::numeric_limits<std::uint32_t>::max()
               ? static_cast<std::uint32_t>(offset)
               : std::numeric_limits<std::uint32_t>::max();
}

// A label line reads the address O, or G98 then the address L. Those addresses come only from
// the letters O and L (no dialect keyword stands for them), so a line without either letter
// defines no label and needs no reading.
constexpr bool keywordsLeaveOAndL(std::span<const Keyword> keywords) {
    for (const Keyword& keyword : keywords)
        if (keyword.index == static_cast<std::int32_t>(addr::O) ||
            keyword.index == static_cast<std::int32_t>(addr::L))
            return false;
    return true;
}
static_assert(keywordsLeaveOAndL(kSinumerikKeywords) && keywordsLeaveOAndL(kNumeripathKeywords));

// The letters of the label words: a line without them defines no label.
constexpr LineStops kLabelLetters{"OoLl"};

// Labels are unsigned: a negative label number wraps round, the same way on the label line and
// in its calls.
std::uint32_t labelNumber(double value) {
    return static_cast<std::uint32_t>(wordToInt32(value));
}

// Reports, at line `line` (1-based) or at the current line (0), a whole-number word beyond the
// 32-bit range.
void checkWholeNumber(Diagnostics& diagnostics, std::string_view word, double value,
                      std::uint32_t line = 0) {
    if (!diagnostics.wanted() || !wordBeyondInt32(value)) return;
    if (line == 0) {
        diagnostics.report(diagnostic::kNumberOutOfRange, wholeNumberBeyondRange(word, value));
    } else {
        diagnostics.reportAt(diagnostic::kNumberOutOfRange, line,
                             wholeNumberBeyondRange(word, value));
    }
}

}  // namespace

IsoProgram::IsoProgram(const Dialect& dialect, const LineSource* lines, std::string nciPath,
                       const SupportedCycleList& cycles)
    : source_(lines),
      reader_(dialect),
      blockParser_(reader_, axisState_),
      lineCount_(static_cast<std::uint32_t>(source_.askLineCount()) + 1),
      frame_(longhandCycles()),
      cycles_(cycles),
      nciPath_(std::move(nciPath)) {}

void IsoProgram::scanLabels() {
    labelTable_.clear();
    labelLineStarts_.clear();
    // A label beyond the bound is not entered; its line is then read as an ordinary block.
    const auto enter = [&](std::uint32_t label, std::uint32_t line, std::size_t cursor) {
        if (!admitsLabel(labelTable_, label, line)) return;
        labelTable_[label] = line + 1;
        labelLineStarts_.emplace_back(line, clampOffset(cursor));
    };
    for (std::uint32_t i = 0; i < lineCount_; ++i) {
        if (!source_.holdsAnyOf(static_cast<std::int32_t>(i), kLabelLetters)) continue;
        const std::string_view line = source_.line(static_cast<std::int32_t>(i));
        std::size_t cursor = 0;
        std::int32_t address = reader_.readAddress(line, cursor);
        if (address == static_cast<std::int32_t>(addr::N)) {
            reader_.readNumber(line, cursor);
            address = reader_.readAddress(line, cursor);
        }
        if (address == static_cast<std::int32_t>(addr::O)) {
            const double number = reader_.readNumber(line, cursor);
            checkWholeNumber(diagnostics(), "O", number, i + 1);
            enter(labelNumber(number), i, cursor);
        } else if (address == static_cast<std::int32_t>(addr::G) &&
                   wordToInt32(reader_.readNumber(line, cursor)) == 98 &&
                   reader_.readAddress(line, cursor) == static_cast<std::int32_t>(addr::L)) {
            // G98 L<n> opens a subprogram. G98 before any other word (a canned cycle's
            // return-to-initial-level) defines nothing: the line is read whole.
            const double number = reader_.readNumber(line, cursor);
            checkWholeNumber(diagnostics(), "L", number, i + 1);
            enter(labelNumber(number), i, cursor);
        }
        reader_.clearComment();
    }
    labelTable_[0] = 0;
}

std::uint32_t IsoProgram::lineStart(std::uint32_t index) const {
    const auto found = std::lower_bound(labelLineStarts_.begin(), labelLineStarts_.end(), index,
                                        [](const std::pair<std::uint32_t, std::uint32_t>& entry,
                                           std::uint32_t line) { return entry.first < line; });
    return found != labelLineStarts_.end() && found->first == index ? found->second : 0;
}

void IsoProgram::run() {
    out_.setDiagnostics(&diagnostics());
    out_.setRealForm(diagnostics().corrected(), diagnostics().wanted());
    frame_.SetDiagnostics(diagnostics());
    blockParser_.setDiagnostics(diagnostics());
    scanLabels();
    block_.params = &paramMap_;
    if (!openOutput(out_, nciPath_)) return;
    const RunLimits limits = limitsFor(source_.bytesRead());
    out_.setByteBudget(limits.nciBytes);
    source_.startRun(limits.repeatedTextBytes, &diagnostics());
    repeatedBlocks_ = limits.isoRepeatedBlocks;
    blockBudget_ = lineCount_ + limits.isoRepeatedBlocks;
    out_ << rec::Message << eol << "0 0 0 0 0 0 0 0 1" << eol;
    frame_.SetSupportedCycles(cycles_);
    // A cycle parameter that the cycle expansion rejects (CycleWrongValue, CycleWrongCode)
    // passes through: the conversion ends there, and the stream's destructor closes the file
    // with what it holds.
    executeGuarded();
    out_.liftBudget();
    out_ << rec::ProgramEnd << eol << "0 0 0" << eol;
    out_.close();
}

void IsoProgram::executeProgram() {
    callDepth_ = 1;
    axes_.assign(kAxisVectorSize, 0.0);
    // Two indices beyond the program: the host answers the first with no text, the second is
    // not read; both give empty blocks.
    for (std::uint32_t i = 0; i <= lineCount_; ++i) {
        const std::int32_t result = executeLine(i);
        if (result == kEnded) break;
        if (result == kConsumed || !block_.has(addr::L)) continue;
        // L repeats a block that was written: L more times, L + 1 in all.
        block_.clear(addr::L);
        checkWholeNumber(diagnostics(), "L", block_.getDouble(addr::L));
        for (std::int32_t n = wordToInt32(block_.getDouble(addr::L)); n > 0; --n)
            if (executeLine(i) == kEnded) break;
    }
    const std::int32_t code = frame_.GetBlockCode();
    if (code == rec::CycleCall || code == rec::CycleCallRepeat)
        out_ << rec::CycleEnd << eol << "0 0 0" << eol;
    callDepth_ = 0;
}

void IsoProgram::endAtSpentBudget() {
    if (executedLines_ > blockBudget_)
        endAtBound("calls and repeats reached their bound of " + groupedNumber(repeatedBlocks_) +
                   " blocks executed again");
    if (source_.readBudgetSpent())
        endAtBound("calls and repeats reached their bound of " +
                   groupedNumber(source_.repeatedBytes()) + " bytes of program text read again");
    if (out_.exhausted()) endProgram();  // reported by the stream
}

void IsoProgram::endAtBound(const std::string& bound) {
    diagnostics().report(diagnostic::kLimitReached,
                         bound + "; the rest of the program is not converted");
    endProgram();
}

std::int32_t IsoProgram::executeLine(std::uint32_t index) {
    // The two empty blocks after the program report at its last line.
    diagnostics().atLine(index + 1 < lineCount_ ? index : std::max(lineCount_, 2u) - 2);
    chargeBlock();
    block_.reset();
    reader_.clearComment();
    if (index < lineCount_)
        blockParser_.parse(source_.line(static_cast<std::int32_t>(index)), lineStart(index),
                           block_);

    double* position = axisState_.position;
    const std::uint32_t movingAxes = zIsDrillDepth() ? 2 : 3;
    if (!axisState_.absolute) {
        // Incremental words become absolute; a missing word still carries the position.
        for (std::uint32_t axis = 0; axis < movingAxes; ++axis) {
            varstorage& word = block_.vars[addr::X + axis];
            word.setDouble(position[axis] + (block_.has(addr::X + axis) ? word.numeric() : 0.0));
        }
    }
    block_.line = index;
    for (std::uint32_t axis = 0; axis < movingAxes; ++axis)
        if (block_.has(addr::X + axis)) position[axis] = block_.getDouble(addr::X + axis);

    if (block_.has(addr::M)) {
        switch (block_.getMCode()) {
            case 2:
                if (diagnostics().corrected()) return endAfterBlock("M2");
                break;
            case 30:
                return endAfterBlock("M30");
            case 99:
                return endAfterBlock("M99");
            case 91:
            case 92:
                return kConsumed;
            case 98:
                if (!block_.has(addr::P)) break;
                reportWordsOfCall();
                return enrolSubprogram();
            default:
                break;
        }
    }
    writeBlock();
    return kWritten;
}

void IsoProgram::writeBlock() {
    frame_.LoadBlock(block_, axes_);
    if (reader_.hasComment()) frame_.QueueComment(reader_.comment());
    frame_.WriteBlock(out_);
    if (zIsDrillDepth()) {
        const MachineState& tool = frame_.Position();
        axisState_.position[0] = tool.x;
        axisState_.position[1] = tool.y;
        axisState_.position[2] = tool.z;
    }
}

bool IsoProgram::blockHoldsMoreThanItsFlow() const {
    VariableSet rest = block_.defined;
    for (const std::uint32_t word : {addr::M, addr::N, addr::O, addr::P, addr::L})
        rest.reset(word);
    bool holdsMore = !block_.gcodes.empty();
    rest.forEach([&holdsMore](std::uint32_t) { holdsMore = true; });
    return holdsMore;
}

void IsoProgram::reportWordsOfCall() {
    // A control moves to the block's point and then calls; a program written for arguments
    // (G65 style) means them as the subprogram's values. Neither is converted: say so.
    if (diagnostics().wanted() && blockHoldsMoreThanItsFlow())
        diagnostics().report(diagnostic::kWordIgnored,
                             "M98 calls its subprogram, and the other words of its block are not "
                             "converted: a move of the block is not written, and no value is "
                             "handed to the subprogram");
}

std::int32_t IsoProgram::endAfterBlock(std::string_view end) {
    if (!blockHoldsMoreThanItsFlow()) return kEnded;
    // The control runs the block, its move included, and ends after it.
    if (diagnostics().wanted()) {
        const std::string what =
            std::string(end) + (end == "M99" ? " ends the subprogram" : " ends the program");
        diagnostics().correction(
            diagnostic::kBlockBeforeEnd,
            what +
                " before the rest of its block is written: the block's move and codes are lost "
                "(the corrected semantics writes the block, then ends)",
            what + " after the rest of its block is written");
    }
    if (!diagnostics().corrected()) return kEnded;
    block_.clear(addr::M);
    writeBlock();
    return kEnded;
}

std::int32_t IsoProgram::enrolSubprogram() {
    block_.clear(addr::P);
    checkWholeNumber(diagnostics(), "P", block_.getDouble(addr::P));
    const std::uint32_t label = labelNumber(block_.getDouble(addr::P));
    std::int32_t repeats = 1;
    if (block_.has(addr::L)) {
        block_.clear(addr::L);
        checkWholeNumber(diagnostics(), "L", block_.getDouble(addr::L));
        repeats = wordToInt32(block_.getDouble(addr::L));
    }
    // A label that is not in the program runs the program from its first line (the corrected
    // semantics leaves the call out: the subprogram is in a file of its own).
    const auto found = labelTable_.find(label);
    if (found == labelTable_.end()) {
        const std::string name = "O" + std::to_string(label);
        diagnostics().correction(
            diagnostic::kMissingSubprogram,
            "the call of " + name + ", which is not in this program, runs the program again from "
                "its first line",
            name + " is not in this program: the call is left out (its moves are missing; "
                   "convert it with the program that holds it)");
        if (diagnostics().corrected()) return kConsumed;
    }
    const std::uint32_t start = found != labelTable_.end() ? found->second : 0;

    // A subprogram that calls itself, or a call of a missing label (which restarts the main
    // program and meets the same call again), ends the run when it would open one level more.
    if (callDepth_ >= limits::kCallDepth)
        endAtBound("the call would open one more level of subprograms than the bound of " +
                   std::to_string(limits::kCallDepth));
    ++callDepth_;
    diagnostics().enterCall();
    writeComment("Enrolled subprogram start");
    // Each repeat is charged as a block, so that repeats of a call run within the block budget
    // whatever the called section holds.
    for (std::int32_t r = 0; r < repeats; ++r) {
        if (r > 0) chargeBlock();
        for (std::uint32_t j = start; j < lineCount_; ++j)
            if (executeLine(j) == kEnded) break;
    }
    writeComment("Enrolled subprogram end");
    diagnostics().leaveCall();
    --callDepth_;
    return kConsumed;
}

void IsoProgram::writeComment(const char* text) {
    out_ << rec::Comment << eol << text << eol;
}

}  // namespace morvane::iso
