// Whole conversational programs with cycle calls that must end safely: no parameter makes a
// cycle write without end, and parameters beyond any real size leave no non-number in the NCI.
// (A rejected parameter ends the conversion with the NCI written so far: the golden programs
// golden/heidenhain/cycles_drilling/negative_dwell*.)
#include <gtest/gtest.h>

#include <string>

#include "cycles/nci_milling_cycles.h"
#include "parsers/program_parser.h"
#include "support/memory_program.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

constexpr int kHeidenhain = static_cast<int>(InputFormat::Heidenhain);

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
        const std::string nci = test::convertToNci(kHeidenhain, c.program);
        EXPECT_EQ(test::countCode(nci, c.code), c.records) << c.what;
        EXPECT_LT(nci.size(), 200000u) << c.what;
    }
}

TEST(CyclePrograms, FaceMillingLineBudgetAcrossLayers) {
    // Strategy 1 over b = 1e6 at s = 0.001: every layer would be a billion cuts. The budget ends
    // the first layer after 100,000 cuts (50,000 pairs), lifts and retracts.
    const std::string nci = test::convertToNci(
        kHeidenhain,
        "1 CYCL DEF 232\n Q218=1000000\n Q219=50\n Q370=0.0001\n Q386=-5\n Q202=1\n Q206=100\n"
        " Q389=1\n Q204=20\n2 CYCL CALL\n");
    EXPECT_EQ(test::countCode(test::readMoves(nci), 1), 2 * kMaxFaceLines + 1 + 1);
    EXPECT_TRUE(nci.ends_with("0\n0 -5 0 20 100 0\n999\n0 0 0\n")) << nci.substr(nci.size() - 300);
}

TEST(CyclePrograms, OverflowingParametersWriteNoNonNumbers) {
    // Parameters beyond the double range, or beyond a thousand kilometres, leave no geometry:
    // the operation is written without moves. Whatever the reader makes of 1e400, no "nan" or
    // "inf" reaches the NCI.
    const char* programs[] = {
        "1 CYCL DEF 252\n Q223=1e400\n Q201=-5\n2 CYCL CALL\n",
        "1 CYCL DEF 252\n Q223=-1e400\n Q201=-5\n2 CYCL CALL\n",
        "1 CYCL DEF 263\n Q335=1e300\n Q239=1e300\n Q201=-1e300\n2 CYCL CALL\n",
        "1 CYCL DEF 267\n Q335=12\n Q239=1e300\n Q201=-10\n2 CYCL CALL\n",
        "1 CYCL DEF 232\n Q218=1e300\n Q219=1e300\n Q370=1e-300\n2 CYCL CALL\n",
        "1 CYCL DEF 231\n Q225=1e300\n Q240=3\n2 CYCL CALL\n",
        "1 CYCL DEF 230\n Q218=1e10\n Q240=3\n2 CYCL CALL\n",
    };
    for (const char* program : programs) {
        const std::string nci = test::convertToNci(kHeidenhain, program);
        EXPECT_EQ(nci.find("nan"), std::string::npos) << program;
        EXPECT_EQ(nci.find("inf"), std::string::npos) << program;
        EXPECT_TRUE(test::checkToolPath(nci).empty()) << program;
        EXPECT_TRUE(nci.ends_with("999\n0 0 0\n")) << program;
        EXPECT_LT(nci.size(), 2'000u) << program;
    }
}

}  // namespace
}  // namespace morvane
