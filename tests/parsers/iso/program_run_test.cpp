// The ISO program run: labels, enrolled subprograms, block repeats, header and trailer, the
// lines asked of the host, and the bounds on nesting and repeated work.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "parsers/iso/iso_parsers.h"
#include "parsers/program_parser.h"
#include "support/memory_program.h"

namespace morvane::iso {
namespace {

using test::convertToNci;
using test::MemoryProgram;

constexpr const char* kHeader = "1050\n0 0 0 0 0 0 0 0 1\n";
constexpr const char* kTrailer = "1003\n0 0 0\n";
constexpr const char* kStart = "1005\nEnrolled subprogram start\n";
constexpr const char* kEnd = "1005\nEnrolled subprogram end\n";

std::string wrapped(const std::string& body) {
    return kHeader + body + kTrailer;
}

// Calls, repeats, M30 and M91 in whole programs: tests/golden/*/subprograms and */run. Here: what a
// golden program cannot show (an empty program, Sinumerik, whose notes are written).
TEST(ProgramRun, EmptyProgramsAndSinumerikRuns) {
    EXPECT_EQ(convertToNci(0, ""), wrapped(""));
    EXPECT_EQ(convertToNci(3, "M99\nG1 X20\n"), wrapped(""));  // M99 in the main program ends it
    // Sinumerik shares the run of the other dialects, and halves X: the steps are 5.
    EXPECT_EQ(convertToNci(3, "G0 X0\nM98 P7 L2\nM30\nO7\nG91 G1 X10\nM99\n"),
              wrapped("0\n0 0 0 0 -2 0\n" + std::string(kStart) + "1\n0 5 0 0 -1 0\n" +
                      "1\n0 10 0 0 -1 0\n" + kEnd));
}

TEST(ProgramRun, AsksTheHostForOneLineBeyondItsCountAndNoFurther) {
    MemoryProgram source(std::vector<std::string>{"G0 X1", "G1 X2"});
    const std::string path = ::testing::TempDir() + "iso_host_lines.nci";
    auto parser = makeParser(0, source.source(), path, {});
    ASSERT_NE(parser, nullptr);
    parser->run();
    // The label scan reads 0..2, the run executes 0..3 and reads 0..2 (3 is past the count).
    EXPECT_EQ(source.requested(), (std::vector<std::int32_t>{0, 1, 2, 0, 1, 2}));
    std::remove(path.c_str());
}

TEST(ProgramRun, WritesNothingWhenTheFileCannotBeOpened) {
    MemoryProgram source(std::vector<std::string>{"G0 X1"});
    const std::string path = "/nonexistent-morvane-dir/out.nci";
    auto parser = makeParser(0, source.source(), path, {});
    ASSERT_NE(parser, nullptr);
    parser->run();
    EXPECT_EQ(std::fopen(path.c_str(), "rb"), nullptr);
}

TEST(ProgramRun, EndsAnOpenDrillCycleBeforeTheTrailerButNotAfterAnEarlyEnd) {
    // A cycle call keeps its record code in force; the run closes it with CycleEnd.
    const std::string program = "G0 X0 Y0 Z10\nG81 X0 Y0 Z-5 R2 F100\nM30\n";
    const std::string nci = convertToNci(0, program);
    EXPECT_NE(nci.find("91080\n0 0 0\n1003\n0 0 0\n"), std::string::npos) << nci;
    // The same cycle left open when the nesting bound ends the run: no CycleEnd.
    const std::string runaway = "G81 X0 Y0 Z-5 R2 F100\nM98 P1\nM30\nO1\nM98 P1\nM99\n";
    const std::string ended = convertToNci(0, runaway);
    EXPECT_EQ(ended.find("91080"), std::string::npos) << ended;
    EXPECT_EQ(ended.substr(ended.size() - std::string(kTrailer).size()), kTrailer);
}

struct LabelCase {
    const char* program;
    std::map<std::uint32_t, std::uint32_t> labels;
    std::vector<std::uint32_t> starts;  // one per line, and one for the line past the count
};

TEST(ScanLabels, FindsOAndG98LLabelsAndWhereEachLineStarts) {
    const LabelCase cases[] = {
        // The label's number takes the comment behind it: the line starts after the comment.
        {"O100 (PART)\nG1 X1", {{0, 0}, {100, 1}}, {11, 0, 0}},
        {"O100 G1 X1", {{0, 0}, {100, 1}}, {5, 0}},
        {"N10 O20", {{0, 0}, {20, 1}}, {7, 0}},
        {"G98 L200\nN5 G98 L7 G1 X1", {{0, 0}, {200, 1}, {7, 2}}, {8, 10, 0}},
        {"G98 G81 X0 Y0 Z-5 R2 F100", {{0, 0}}, {0, 0}},
        {"G98 X1 L5", {{0, 0}}, {0, 0}},
        {"G1 O5", {{0, 0}}, {0, 0}},
        {"(NOTE) O5.6", {{0, 0}, {6, 1}}, {11, 0}},
        {"%\nO1\nG1\nO1", {{0, 0}, {1, 4}}, {0, 2, 0, 2, 0}},
        {"o3", {{0, 0}, {3, 1}}, {2, 0}},
        {"g98 l9\nN1 G98 X1", {{0, 0}, {9, 1}}, {6, 0, 0}},
    };
    for (const LabelCase& c : cases) {
        MemoryProgram source(c.program);
        FanucParser::Parser parser(source.source(), "", {});
        parser.scanLabels();
        EXPECT_EQ(parser.labels(), c.labels) << c.program;
        std::vector<std::uint32_t> starts;
        for (std::uint32_t i = 0; i < parser.lineCount(); ++i)
            starts.push_back(parser.lineStart(i));
        EXPECT_EQ(starts, c.starts) << c.program;
    }
}

}  // namespace
}  // namespace morvane::iso
