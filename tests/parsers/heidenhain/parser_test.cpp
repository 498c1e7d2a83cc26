// The conversational program run: which lines are read, the label table, label calls with their
// repeat counts and nesting bound, and the NCI file handling. An undefined label run from the
// first line and the budget of lines label calls execute are golden programs
// (tests/golden/heidenhain/limits).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "parsers/heidenhain/parser.h"
#include "parsers/program_parser.h"
#include "support/memory_program.h"

namespace morvane::HHParser {
namespace {

using test::MemoryProgram;

class TempFile {
  public:
    TempFile() {
        path_ = ::testing::TempDir() + "hh-run-XXXXXX";
        const int fd = ::mkstemp(path_.data());
        if (fd >= 0) ::close(fd);
    }
    ~TempFile() { std::remove(path_.c_str()); }
    const std::string& path() const { return path_; }
    std::string text() const { return test::readFile(path_); }

  private:
    std::string path_;
};

std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

TEST(Run, ReadsEveryLineOnceForTheScanAndOnceForTheRun) {
    // Three lines: the run covers indices 0..4; index 3 is asked for (and answered empty),
    // index 4 is not read at all.
    MemoryProgram program(std::vector<std::string>{"L X+1", "L X+2", "L X+3"});
    TempFile file;
    Parser parser(program.source(), file.path(), {});
    EXPECT_EQ(parser.lineCount(), 4u);
    parser.run();
    const std::vector<std::int32_t> expected = {0, 1, 2, 3, 0, 1, 2, 3};
    EXPECT_EQ(program.requested(), expected);
}

TEST(Run, TheLabelScanPaysForTheRunsOwnPassOverTheProgram) {
    // With no text allowed beyond one more pass, every line is still run: each line the scan
    // passes over counts as read.
    const std::string program = "L X+1 F100\nL X+2\nL X+3 Y+4\nL X+5\n";
    RunLimits noRepeats;
    noRepeats.repeatedTextBytes = 0;
    // F is not modal (-1 when not given); Y keeps its last value.
    EXPECT_EQ(test::convertToNci(static_cast<int>(InputFormat::Heidenhain), program, {}, noRepeats),
              "1\n0 1 0 0 100 0\n1\n0 2 0 0 -1 0\n1\n0 3 4 0 -1 0\n1\n0 5 4 0 -1 0\n");
}

TEST(Run, WritesNothingWhenTheFileCannotBeOpened) {
    MemoryProgram program(std::vector<std::string>{"L X+1 F100"});
    Parser parser(program.source(), ::testing::TempDir() + "no/such/dir/out.nci", {});
    parser.run();
    // Only the label scan read the program.
    EXPECT_EQ(program.requested(), (std::vector<std::int32_t>{0, 1}));
}

TEST(Run, TruncatesAnExistingFile) {
    MemoryProgram program(std::vector<std::string>{""});
    TempFile file;
    {
        std::FILE* f = std::fopen(file.path().c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("old text\n", f);
        std::fclose(f);
    }
    Parser parser(program.source(), file.path(), {});
    parser.run();
    EXPECT_EQ(file.text(), "");
}

struct LabelCase {
    std::vector<std::string> lines;
    std::map<std::int32_t, std::uint32_t> labels;
};

class ScanLabels : public testing::TestWithParam<LabelCase> {};

TEST_P(ScanLabels, MapsLabelNumbersToTheirLines) {
    MemoryProgram program(GetParam().lines);
    Parser parser(program.source(), "", {});
    parser.scanLabels();
    EXPECT_EQ(parser.labels(), GetParam().labels);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, ScanLabels,
    testing::Values(LabelCase{{"0 BEGIN PGM A MM", "1 LBL 1", "2 L X+1", "3 LBL 2", "4 LBL 0"},
                              {{1, 1}, {2, 3}}},
                    // A later label of the same number wins; numbers are rounded.
                    LabelCase{{"LBL 1", "LBL 1", "LBL 2.6"}, {{1, 1}, {3, 2}}},
                    // Named labels go under the sum of their character codes.
                    LabelCase{{"LBL \"A\"", "LBL \"AB\""}, {{65, 0}, {131, 1}}},
                    // Not labels: label 0 and below, no number, a call, a comment.
                    LabelCase{{"LBL 0", "LBL -3", "LBL", "CALL LBL 5", "; LBL 4", "L X+1 LBL 6"},
                              {}},
                    // Words are read in either case, behind a block number or not.
                    LabelCase{{"5 lbl 7", "Lbl 8", "BLK FORM 0.1 Z", "7 L X+1 ; LBL 9", "lBL;x 4"},
                              {{7, 0}, {8, 1}}},
                    LabelCase{{}, {}}),
    [](const testing::TestParamInfo<LabelCase>& param) {
        return "Case" + std::to_string(param.index);
    });

TEST(LabelCalls, ARecursiveCallStopsAtTheFifteenthLevel) {
    MemoryProgram program(std::vector<std::string>{"LBL 1", "CALL LBL 1"});
    TempFile file;
    Parser parser(program.source(), file.path(), {});
    parser.run();
    const std::string nci = file.text();
    // Levels 1 to 15 each enrol one call; the call made at level 15 executes nothing.
    EXPECT_EQ(countOf(nci, "Enrolled subprogram start (1 repeats)\n"), 15u);
    EXPECT_EQ(countOf(nci, "Enrolled subprogram end\n"), 15u);
}

TEST(LabelCalls, RunTheSectionOncePerRepeat) {
    struct Case {
        const char* call;
        const char* startComment;
        std::size_t sectionRuns;
    };
    const Case cases[] = {
        {"CALL LBL 5", "Enrolled subprogram start (1 repeats)\n", 1},
        {"CALL LBL 5 REP 3", "Enrolled subprogram start (3 repeats)\n", 3},
        {"CALL LBL 5 REP 0", "Enrolled subprogram start (1 repeats)\n", 1},
        {"CALL LBL 5 REP 5000", "Enrolled subprogram start (999 repeats)\n", 999},
    };
    for (const Case& c : cases) {
        // The section is marked by a comment line that the writer queues each time it runs.
        MemoryProgram program(std::vector<std::string>{c.call, "CALL LBL 0", "LBL 5", "; body"});
        TempFile file;
        Parser parser(program.source(), file.path(), {});
        parser.run();
        const std::string nci = file.text();
        EXPECT_EQ(countOf(nci, c.startComment), 1u) << c.call;
        EXPECT_EQ(countOf(nci, "1005\n body\n"), c.sectionRuns) << c.call;
    }
}

}  // namespace
}  // namespace morvane::HHParser
