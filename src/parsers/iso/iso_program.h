// The program run shared by the four ISO dialects: reads the program through the host's line
// source, finds the subprogram labels, executes the lines in order, expands subprogram calls
// inline between "Enrolled subprogram" comments, repeats blocks with L, and hands every executed
// block to the NCI writer between a fixed header and trailer record.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "morvane/plugin_api.h"
#include "nci/block.h"
#include "nci/limits.h"
#include "writer/nci_frame_fanuc.h"
#include "nci/nci_stream.h"
#include "nci/supported_cycle.h"
#include "parsers/iso/block_parser.h"
#include "parsers/iso/dialect.h"
#include "parsers/iso/gcode_reader.h"
#include "parsers/program_parser.h"
#include "parsers/program_source.h"

namespace morvane::iso {

// What `executeLine` did with a line.
enum LineResult : std::int32_t {
    kWritten = 0,   // the block went to the writer
    kEnded = 1,     // M30 or M99: end of the program or of the subprogram
    kConsumed = 2,  // the line did not go to the writer (M91, M92, an enrolled M98 call)
};

class IsoProgram : public ProgramParser {
  public:
    // Asks the host for the line count once; the run reads one line more than the host has
    // (it answers that one with no text) and one further empty block after it.
    IsoProgram(const Dialect& dialect, const LineSource* lines, std::string nciPath,
               const SupportedCycleList& cycles);

    // Writes the whole NCI program into the file; writes nothing when it cannot be opened. A
    // spent budget (repeated blocks, repeated text, NCI bytes) ends the program as M30 would
    // not: at once, without closing an open drill cycle, but with the trailer.
    void run() override;

    // Finds the labels (O number, or G98 followed by L) and where each line's reading starts.
    void scanLabels();
    // Executes line `index` (see LineResult).
    std::int32_t executeLine(std::uint32_t index);

    // Label number to the first line of its body; label 0 is the main program at line 0.
    const std::map<std::uint32_t, std::uint32_t>& labels() const { return labelTable_; }
    // Offset at which the reading of line `index` begins: just after the label on a label line,
    // 0 on every other line.
    std::uint32_t lineStart(std::uint32_t index) const;
    std::uint32_t lineCount() const { return lineCount_; }

  protected:
    // Runs executeProgram and catches the dialect's own end-of-program exception.
    virtual void executeGuarded() = 0;
    // Ends the run at once by throwing the dialect's end-of-program exception: the trailer is
    // still written, an open drill cycle is not closed.
    [[noreturn]] virtual void endProgram() = 0;

    // Executes the main program and closes a drill cycle left open at its end.
    void executeProgram();

  private:
    std::int32_t enrolSubprogram();
    // With the corrected semantics the Z of an open drill cycle is its depth, never a move: the
    // writer reads it (under G91 as the distance below R) and says where the holes leave the tool.
    bool zIsDrillDepth() { return axisState_.drilling && diagnostics().corrected(); }
    // Hands the block to the writer; after a hole the run's position is where it left the tool.
    void writeBlock();
    // True when the block holds a word or a G code beside M, N, O, P and L.
    bool blockHoldsMoreThanItsFlow() const;
    // Reports the words of an M98 block that the call leaves unconverted.
    void reportWordsOfCall();
    // M2, M30 or M99 (`end`) ends the run of the program or the subprogram; with the corrected
    // semantics the rest of the block is written first.
    std::int32_t endAfterBlock(std::string_view end);
    void writeComment(const char* text);
    // Counts one executed block against the budgets of the run; ends the run when one is spent.
    void chargeBlock() {
        if (++executedLines_ > blockBudget_ || source_.readBudgetSpent() || out_.exhausted())
            [[unlikely]]
            endAtSpentBudget();
    }
    // Reports the budget that is spent and ends the run.
    void endAtSpentBudget();
    // Reports the bound reached and ends the run (endProgram does not return).
    void endAtBound(const std::string& bound);

    ProgramSource source_;
    GCodeReader reader_;
    AxisState axisState_;
    BlockParser blockParser_;
    std::vector<double> axes_;  // axis vector handed to the writer with every block
    block block_;
    std::uint32_t lineCount_;  // host's count + 1
    ParamMap paramMap_;
    std::map<std::uint32_t, std::uint32_t> labelTable_;
    // Label lines with the offset where their reading begins, in line order. Only label lines
    // are kept: an entry per line would grow with the program.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> labelLineStarts_;
    std::uint32_t callDepth_ = 0;  // 1 in the main program, +1 per enrolled subprogram
    // Blocks executed; at most one pass over the program plus the repeated-block budget. Repeat
    // counts multiply through nested calls, so without a bound a few words could ask for more
    // output than any disk holds.
    std::uint64_t executedLines_ = 0;
    std::uint64_t blockBudget_ = 0;
    std::uint64_t repeatedBlocks_ = 0;  // the budget beyond one pass, for its report
    NciStream out_;
    NCIFrameFanuc frame_;
    SupportedCycleList cycles_;
    std::string nciPath_;
};

}  // namespace morvane::iso
