// The bounds of a conversion, each at its limit and one past it: the length of a line, the line
// count a host reports, the NCI bytes one conversion writes, and the program text that calls and
// repeats read again. Reaching a bound ends the conversion with whole records (and the ISO
// trailer), never in the middle of one. The NCI bytes of a whole run at the bound and one byte
// below are golden programs (golden/fanuc/limits/budget_*).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "nci/diagnostics.h"
#include "nci/limits.h"
#include "nci/nci_stream.h"
#include "parsers/program_parser.h"
#include "parsers/program_source.h"
#include "support/memory_program.h"
#include "support/nci_check.h"

namespace morvane::test {
namespace {

constexpr int kFanuc = 0;
constexpr int kHeidenhain = 1;
constexpr std::size_t kLimit = limits::kLineBytes;

std::size_t countOf(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

// `head`, blanks, then `tail`, `length` bytes in all.
std::string padded(const std::string& head, const std::string& tail, std::size_t length) {
    return head + std::string(length - head.size() - tail.size(), ' ') + tail;
}

struct CutCase {
    const char* what;
    std::string line;
    std::string read;
};

TEST(ProgramText, LinesAreCutAtTheLimitAndAtALineFeed) {
    const CutCase cases[] = {
        {"a line at the limit is read whole", std::string(kLimit, 'x'), std::string(kLimit, 'x')},
        {"one byte past it is cut", std::string(kLimit, 'x') + "y", std::string(kLimit, 'x')},
        {"ten megabytes are cut", std::string(10 << 20, 'z'), std::string(kLimit, 'z')},
        {"a line feed ends the line", "G1 X1\nY5", "G1 X1"},
        {"a line feed first leaves nothing", "\nG1", ""},
        {"a carriage return stays", "G1\rX1", "G1\rX1"},
    };
    for (const CutCase& c : cases) {
        MemoryProgram program(std::vector<std::string>{c.line});
        ProgramSource source(program.source());
        EXPECT_EQ(source.line(0), c.read) << c.what;
        EXPECT_EQ(source.bytesRead(), c.read.size() + 1) << c.what;
        // The quick look for characters sees the same line, cut at the same place.
        for (const std::string_view wanted : {"y", "Y5", "z\r", "x"}) {
            ProgramSource look(program.source());
            const bool seen = c.read.find_first_of(wanted) != std::string::npos;
            EXPECT_EQ(look.holdsAnyOf(0, wanted), seen) << c.what << " / " << wanted;
            if (!seen) {
                EXPECT_EQ(look.bytesRead(), c.read.size() + 1) << c.what;
            }
        }
    }
}

// A host that reports a given count and serves no text.
struct CountingHost {
    std::int32_t count;
    LineSource source{this, &CountingHost::reportCount, &CountingHost::noText};

    static std::int32_t reportCount(void* context, std::int32_t* n) {
        *n = static_cast<CountingHost*>(context)->count;
        return 1;
    }
    static std::int32_t noText(void*, std::int32_t, const char** text) {
        *text = nullptr;
        return 1;
    }
};

TEST(ProgramText, LineCountsAreBounded) {
    constexpr std::int32_t kMaxLines = limits::kProgramLines;
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {std::numeric_limits<std::int32_t>::min(), 0},
        {-1, 0},
        {0, 0},
        {7, 7},
        {kMaxLines, kMaxLines},
        {kMaxLines + 1, kMaxLines},
        {std::numeric_limits<std::int32_t>::max(), kMaxLines},
    };
    for (const auto& [reported, read] : cases) {
        CountingHost host{reported};
        EXPECT_EQ(ProgramSource(&host.source).askLineCount(), read) << reported;
    }
    const LineSource noFunctions{nullptr, nullptr, nullptr};
    EXPECT_EQ(ProgramSource(&noFunctions).askLineCount(), 0);
    EXPECT_EQ(ProgramSource(nullptr).askLineCount(), 0);
    EXPECT_EQ(ProgramSource(&noFunctions).line(3), "");
}

struct DialectLine {
    int format;
    const char* head;   // words read in every case
    const char* tail;   // a word whose last character lands on the limit
    const char* whole;  // the line as read up to the limit
    const char* cut;    // the line as read one byte past it
};

TEST(ProgramText, WordsBeyondTheLineLimitAreNotRead) {
    const DialectLine cases[] = {
        {kFanuc, "G1 X1", "Y5", "G1 X1 Y5", "G1 X1 Y"},
        {2, "G1 X1", "Y5", "G1 X1 Y5", "G1 X1 Y"},
        {3, "G1 X1", "Y5", "G1 X1 Y5", "G1 X1 Y"},
        {4, "G1 X1", "Y5", "G1 X1 Y5", "G1 X1 Y"},
        {kHeidenhain, "L X+1", "Y+5", "L X+1 Y+5", "L X+1 Y+"},
    };
    for (const DialectLine& c : cases) {
        const std::string atLimit = convertToNci(c.format, padded(c.head, c.tail, kLimit));
        const std::string pastLimit = convertToNci(c.format, padded(c.head, c.tail, kLimit + 1));
        EXPECT_EQ(atLimit, convertToNci(c.format, c.whole)) << c.format;
        EXPECT_EQ(pastLimit, convertToNci(c.format, c.cut)) << c.format;
        EXPECT_NE(atLimit, pastLimit) << c.format;  // the last byte mattered
    }
}

TEST(ProgramText, NumbersAreReadWholeHoweverLong) {
    const std::string zeros(260, '0');
    EXPECT_EQ(convertToNci(kFanuc, "G1 X" + zeros + "15 Y2"), convertToNci(kFanuc, "G1 X15 Y2"));
    EXPECT_EQ(convertToNci(kHeidenhain, "L X+" + zeros + "15 Y+2"),
              convertToNci(kHeidenhain, "L X+15 Y+2"));
}

// One linear move record as the ISO writer writes G1 X1 without feed.
constexpr std::string_view kMoveX1 = "1\n0 1 0 0 -1 0\n";
constexpr std::string_view kIsoHeader = "1050\n0 0 0 0 0 0 0 0 1\n";
constexpr std::string_view kIsoTrailer = "1003\n0 0 0\n";

std::string times(std::string_view record, std::size_t n) {
    std::string text;
    for (std::size_t i = 0; i < n; ++i)
        text += record;
    return text;
}

TEST(NciBudget, AFileEndsWithWholeRecordsWhateverWasBegun) {
    const std::string path = ::testing::TempDir() + "nci_budget.nci";
    {
        NciStream out;
        ASSERT_TRUE(out.open(path));
        out.setByteBudget(100000);
        for (int i = 0; i < 20000; ++i)
            out << 1 << eol << "0 1 0 0 -1 0" << eol;
        EXPECT_TRUE(out.exhausted());
        out << "a line begun after the end";  // never ended: not written
        out.close();
    }
    const std::string text = readFile(path);
    std::remove(path.c_str());
    // The first record boundary past 100000 bytes.
    EXPECT_EQ(text.size(), (100000 / kMoveX1.size() + 1) * kMoveX1.size());
    EXPECT_EQ(checkNciRecords(text), "");
}

TEST(NciBudget, NestedCallsThatMultiplyEndWithWholeRecords) {
    // Every section calls the next 999 times: 999^4 moves if nothing stopped them.
    const std::pair<int, const char*> programs[] = {
        {kHeidenhain,
         "CALL LBL 1 REP 999\nCALL LBL 0\nLBL 1\nCALL LBL 2 REP 999\nCALL LBL 0\nLBL 2\n"
         "CALL LBL 3 REP 999\nCALL LBL 0\nLBL 3\nL X+1 Y+2 F100\nCALL LBL 0\n"},
        {kFanuc,
         "M98 P1 L999\nM30\nO1\nM98 P2 L999\nM99\nO2\nM98 P3 L999\nM99\nO3\nG1 X1 Y2\nM99\n"},
    };
    for (const auto& [format, program] : programs) {
        RunLimits limits;
        limits.nciBytes = 200000;
        const std::string nci = convertToNci(format, program, {}, limits);
        EXPECT_GT(nci.size(), 200000u) << format;
        EXPECT_LT(nci.size(), 200100u) << format;
        EXPECT_EQ(format == kFanuc ? checkIsoProgram(nci) : checkNciRecords(nci), "") << format;
    }
}

TEST(RepeatedText, ReadingAgainIsBoundedInBytesNotOnlyInBlocks) {
    // The label scan reads the line and the empty line after it (n + 2 bytes); the run may read
    // that once more and R bytes beyond. Each repeat reads n + 1 bytes, so with
    // R = m (n + 1) - 1 the block is written m + 2 times, and with one byte less m + 1 times.
    const std::string line = padded("G1 X1 L100000000", "", 1000);
    const std::uint64_t n = line.size();
    constexpr std::uint64_t m = 50;
    const std::pair<std::uint64_t, std::size_t> cases[] = {{m * (n + 1) - 1, m + 2},
                                                           {m * (n + 1) - 2, m + 1}};
    for (const auto& [repeatedBytes, moves] : cases) {
        RunLimits limits;
        limits.repeatedTextBytes = repeatedBytes;
        const std::string nci = convertToNci(kFanuc, line, {}, limits);
        EXPECT_EQ(nci, std::string(kIsoHeader) + times(kMoveX1, moves) + std::string(kIsoTrailer))
            << repeatedBytes;
    }
}

TEST(RepeatedText, ALongConversationalLineRepeatedEndsTheRun) {
    // Label calls would execute 2^20 lines of 60 kB here; the text budget stops them first.
    const std::string program =
        "LBL 1\n" + padded("L X+1 F100", "", 60000) + "\nCALL LBL 1 REP 999\n";
    RunLimits limits;
    limits.repeatedTextBytes = 10 << 20;
    const std::string nci = convertToNci(kHeidenhain, program, {}, limits);
    EXPECT_EQ(checkNciRecords(nci), "");
    const std::size_t moves = countOf(nci, "\n1\n");
    EXPECT_GT(moves, 100u);
    EXPECT_LT(moves, 200u);  // (10 MB + twice the program) / 60 kB
}

// Every bound reached is reported at the line that reached it (the budgets of whole runs, with
// their NCI, are golden programs under tests/golden/*/limits).
struct ReportCase {
    const char* what;
    int format;
    std::vector<std::string> lines;
    std::string reports;  // as the host receives them, one a line
};

std::vector<std::string> numberedLabels(std::size_t count) {
    std::vector<std::string> lines;
    for (std::size_t i = 1; i <= count; ++i)
        lines.push_back("O" + std::to_string(i));
    return lines;
}

TEST(Reports, EveryBoundIsReportedWhereItIsReached) {
    const std::string tooLong = padded("G1 X1", "", kLimit + 1);
    const ReportCase cases[] = {
        {"a line past the length bound", kFanuc, {"G0 X0", tooLong},
         "2:limit-reached: the line is longer than the bound of 65,536 bytes; the rest of it is "
         "not read\n"},
        {"a line feed inside a line", kHeidenhain, {"L X+1\nY+5", "L X+2"},
         "1:line-feed-in-line: the line holds a line feed; the text after it is not read\n"},
        {"more labels than the bound", kFanuc, numberedLabels(limits::kLabels + 2),
         "65537:limit-reached: the program defines more labels than the bound of 65,536; this "
         "one and later ones are not entered\n"},
        {"a pecking cycle of more pecks than the bound", kHeidenhain,
         {"CYCL DEF 205 UNIVERSAL PECKING", "Q200=2", "Q201=-5000", "Q206=100", "Q202=1",
          "Q203=+0", "Q204=30", "Q211=0", "L X+0 Y+0 FMAX M99"},
         "9:limit-reached: the cycle reached its bound of 1,000 layers or pecks; the cutting "
         "stops there and the tool retracts\n9:cycle-end-record: a drill cycle is still open at "
         "the end of the program, and no cycle end (91080) is written (the corrected semantics "
         "writes it)\n"},
    };
    for (const ReportCase& c : cases) {
        Diagnostics diagnostics(true);
        convertLinesToNci(c.format, c.lines, {}, {}, &diagnostics);
        EXPECT_EQ(diagnosticLines(diagnostics), c.reports) << c.what;
    }
    // A host's count beyond the line bound, reported as the run starts.
    CountingHost host{limits::kProgramLines + 5};
    ProgramSource source(&host.source);
    source.askLineCount();
    Diagnostics diagnostics(true);
    source.startRun(0, &diagnostics);
    EXPECT_EQ(diagnosticLines(diagnostics),
              "67108865:limit-reached: the program has 67,108,869 lines, more than the bound of "
              "67,108,864; the lines from here on are not converted\n");
}

TEST(Reports, AFailedWriteOfTheNciFileIsAFailure) {
    // /dev/full takes the opening and refuses every write, as a full disk does.
    for (const int format : {kFanuc, kHeidenhain}) {
        MemoryProgram program(std::vector<std::string>{"G1 X1", "L X+1"});
        auto parser = makeParser(format, program.source(), "/dev/full", {});
        Diagnostics diagnostics;
        parser->setDiagnostics(diagnostics);
        parser->run();
        EXPECT_TRUE(diagnostics.failed()) << format;
        EXPECT_EQ(diagnostics.failure(),
                  "cannot write the NCI file /dev/full: No space left on device")
            << format;
    }
}

}  // namespace
}  // namespace morvane::test
