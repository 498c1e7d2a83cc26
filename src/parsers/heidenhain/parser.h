// HHParser::Parser: converts a Heidenhain conversational program to NCI. It reads the program
// line by line through the host's line source, pre-scans it for labels, executes the lines in
// order and expands label calls inline between "Enrolled subprogram" comments; every executed
// block goes to its NCIFrame, which writes the records.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"
#include "nci/limits.h"
#include "writer/nci_frame.h"
#include "nci/nci_stream.h"
#include "parsers/heidenhain/block_parser.h"
#include "parsers/program_parser.h"
#include "parsers/program_source.h"

namespace morvane::HHParser {

// Ends a run early (a spent budget of the run); the run catches it.
struct endprogramException {};

class Parser final : public ProgramParser {
  public:
    // Asks the line source for its line count once; the program is run as that many lines plus
    // one empty line.
    Parser(const LineSource* lines, std::string nciPath, const SupportedCycleList& cycles);

    // Opens (truncates) the NCI file, runs the program and closes the file. Writes nothing when
    // the file cannot be opened. A spent budget of repeated text or NCI bytes ends the run at
    // once.
    void run() override;

    // Maps each label number (LBL n, or LBL "name" by the sum of its character codes) to the
    // index of its line; a later label of the same number wins.
    void scanLabels();
    // Executes the lines first..last inclusive, label calls expanded inline.
    void runLines(std::uint32_t first, std::uint32_t last);

    const std::map<std::int32_t, std::uint32_t>& labels() const { return labelTable_; }
    std::uint32_t lineCount() const { return lineCount_; }

  private:
    // The call line, kept while its label runs (the section reuses the block and comment).
    struct CallLine {
        block blk;
        std::string commentText;
        bool commentFlag = false;
        LineFlags flags;
    };

    void parseBlock(std::uint32_t index);
    bool chargeEnrolledLine();
    // Reports LBL 0 in a called section, or the call record after an enrolled section (rules of
    // label-section-end); true with the corrected semantics, which ends the section there or
    // drops the record.
    bool endsLabelSection(std::string_view exact, std::string_view corrected);
    // CALL LBL n REP m after LBL n, both in the section that began at line `first`, with no
    // LBL 0 between them: with the corrected semantics the lines from the label run m more
    // times, the run going back to the label line (`next` becomes its index); true when the
    // call line is done with. Reported in both semantics.
    bool repeatsSection(std::uint32_t index, std::uint32_t first, std::uint64_t& next);
    // Whether an LBL 0 line lies after line `from` and before line `to`.
    bool sectionEndsBetween(std::uint32_t from, std::uint32_t to) const;
    void enrolLabelCall(double labelValue);
    void writeBlock();
    void takeLineWords(std::uint32_t index);
    bool writeReferenceMove();
    void enrolCall(std::uint32_t index);
    void writeBlockAndUnits();
    // The whole turns of a polar arc of more than one turn, before the line's own record.
    void writeHelixTurns();
    // After a datum-shift line: its X Y Z A B C are shift values, not a position; the corrected
    // semantics restores the position `kept` and writes no move. Reports the rule.
    void holdDatumShift(const std::array<double, kAxisCount>& kept);
    // At the end of the main program: the cycle end of a drill cycle still open.
    void closeOpenCycle();

    ProgramSource source_;
    std::uint32_t lineCount_;  // lines of the program + 1
    BlockParser parser_;       // block, Q parameters, position, circle centre, axis vector
    std::map<std::int32_t, std::uint32_t> labelTable_;
    // The LBL 0 lines in order, at most limits::kLabels of them (labelEndsComplete_ then false).
    std::vector<std::uint32_t> labelEnds_;
    bool labelEndsComplete_ = true;
    // Repeats still to run of each section-repeat call line under way.
    std::map<std::uint32_t, std::int32_t> repeatsLeft_;
    std::uint32_t callDepth_ = 0;  // 1 in the main program, +1 per enrolled call
    // Lines label calls may still execute (RunLimits::enrolledLines at the start of the run),
    // so that nested repeated calls of a section cannot grow the output without bound; a call
    // beyond it writes its comments only.
    std::uint64_t enrolledLinesLeft_ = 0;
    std::uint64_t enrolledLines_ = 0;  // the budget at the start, for its report
    bool enrolledLinesSpent_ = false;
    std::vector<CallLine> callLines_;  // by call depth, reused
    bool drillCycleOpen_ = false;      // a drill cycle was called and no cycle end written since
    NciStream out_;
    NCIFrame frame_;
    SupportedCycleList cycles_;
    std::string nciPath_;
};

// The factory of the format list's "Heidenhain" entry.
std::unique_ptr<ProgramParser> makeParser(const LineSource* lines, std::string nciPath,
                                          const SupportedCycleList& cycles);

}  // namespace morvane::HHParser
