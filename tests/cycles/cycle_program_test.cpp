// Whole conversational programs with cycle calls that must end safely: a rejected parameter ends
// the conversion with the NCI written so far, and no parameter makes a cycle write without end.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cstdio>
#include <string>
#include <string_view>

#include "cycles/cycle_errors.h"
#include "parsers/program_parser.h"
#include "support/memory_program.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

constexpr int kHeidenhain = static_cast<int>(InputFormat::Heidenhain);

// Runs `program` and returns what the NCI file holds afterwards; `rejected` tells whether the run
// ended with a rejected cycle parameter.
std::string runProgram(std::string_view program, bool& rejected) {
    test::MemoryProgram source(program);
    std::string path = "/tmp/morvane-cycles-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0) {
        ADD_FAILURE() << "no temporary file";
        return {};
    }
    ::close(fd);
    rejected = false;
    auto parser = makeParser(kHeidenhain, source.source(), path, {});
    EXPECT_NE(parser, nullptr);
    if (parser != nullptr) {
        try {
            parser->run();
        } catch (const CycleWrongValue&) {
            rejected = true;
        }
    }
    parser.reset();
    std::string nci = test::readFile(path);
    std::remove(path.c_str());
    return nci;
}

TEST(CyclePrograms, NegativeDwellEndsTheConversionAfterTheHeadLines) {
    bool rejected = false;
    const std::string nci = runProgram(
        "0 BEGIN PGM BAD MM\n"
        "1 L X+5 Y+5 Z+20 FMAX\n"
        "2 CYCL DEF 200 DRILLING\n"
        "  Q200=2 ;SET-UP CLEARANCE\n"
        "  Q201=-10 ;DEPTH\n"
        "  Q211=-1 ;DWELL TIME AT DEPTH\n"
        "3 CYCL CALL\n"
        "4 L X+50 FMAX\n",
        rejected);
    EXPECT_TRUE(rejected);
    EXPECT_EQ(nci,
              "1050\n0 0 0 0 0 0 0 0 BAD\n"
              "0\n0 5 5 20 -2 0\n"
              "1005\nDrilling cycle\n1000\n0 0 0 1 10 0 0 0 -1 0 5 5 20 0 0 \n1\n0 5 5 20 -1 0\n");
}

TEST(CyclePrograms, OldPeckingWithNegativeDwellIsRejectedToo) {
    bool rejected = false;
    const std::string nci = runProgram(
        "1 CYCL DEF 1.0 PECKING\n"
        "2 CYCL DEF 1.2 DEPTH -10\n"
        "3 CYCL DEF 1.4 DWELL -2\n"
        "4 CYCL DEF 1.5 F100\n"
        "5 L X+1 Y+1 Z+2 FMAX M99\n",
        rejected);
    EXPECT_TRUE(rejected);
    EXPECT_EQ(nci.substr(nci.size() - 16), "\n1\n0 1 1 2 -1 0\n");
}

TEST(CyclePrograms, HugeDepthsWithTinyInfeedsStayBounded) {
    struct Case {
        const char* what;
        const char* program;
        int code;
        int records;  // of `code`: the head line, 1000 pecks or turns, the fixed moves
    };
    const Case cases[] = {
        {"pecking 205",
         "1 CYCL DEF 205\n Q201=-100000000\n Q202=0.000001\n Q206=100\n2 CYCL CALL\n", 1,
         1 + 1000 * 2 + 2},
        {"old pecking",
         "1 CYCL DEF 1.0\n2 CYCL DEF 1.2 DEPTH -100000000\n3 CYCL DEF 1.3 PECKG -0.001\n"
         "4 CYCL DEF 1.5 F10\n5 CYCL CALL\n",
         1, 1 + 1000 + 1},
        {"bore milling", "1 CYCL DEF 208\n Q201=-100000000\n Q334=0.0001\n Q335=20\n2 CYCL CALL\n",
         3, 2 + 1000 + 2},
    };
    for (const Case& c : cases) {
        bool rejected = false;
        const std::string nci = runProgram(c.program, rejected);
        EXPECT_FALSE(rejected) << c.what;
        EXPECT_EQ(test::countCode(nci, c.code), c.records) << c.what;
        EXPECT_LT(nci.size(), 200000u) << c.what;
    }
}

}  // namespace
}  // namespace morvane
