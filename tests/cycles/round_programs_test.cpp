// Whole conversational programs with pocket, thread and surface cycles whose parameters ask for
// absurd amounts of tool path: the NCI stays bounded, closes its operation and never carries a
// non-number.
#include <gtest/gtest.h>

#include <string>

#include "cycles/nci_milling_cycles.h"
#include "parsers/program_parser.h"
#include "support/memory_program.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::countCode;
using test::readMoves;
constexpr int kHeidenhain = static_cast<int>(InputFormat::Heidenhain);

TEST(RoundCyclePrograms, AbsurdParametersStayBounded) {
    struct Case {
        const char* what;
        const char* program;
        int code;
        int records;  // of `code`
    };
    const Case cases[] = {
        {"circular pocket of radius 1e6 with a step-over of 0.001, 1000 layers",
         "1 TOOL CALL 1 Z\n2 CYCL DEF 252\n Q223=2000000\n Q370=0.0002\n Q201=-1000\n"
         " Q202=1\n Q206=100\n3 CYCL CALL\n",
         3, kMaxPocketRings},
        {"face milling 1e6 wide with a step of 0.001 in layers of 0.001",
         "1 CYCL DEF 232\n Q218=1000000\n Q219=50\n Q370=0.0001\n Q386=-1000000\n"
         " Q202=0.001\n Q206=100\n Q389=1\n2 CYCL CALL\n",
         0, 3},
        {"multipass milling with a billion cuts",
         "1 CYCL DEF 230\n Q218=50\n Q219=50\n Q240=1000000000\n Q206=100\n2 CYCL CALL\n", 1,
         2 * kMaxMultipassCuts + 2},
        {"ruled surface with a billion lines",
         "1 CYCL DEF 231\n Q228=50\n Q231=50\n Q232=50\n Q235=50\n Q240=1000000000\n"
         " Q206=100\n2 CYCL CALL\n",
         1, 5 * kMaxRuledLines},
        {"circular stud finishing in layers of 1e-6 down to 1e6",
         "1 CYCL DEF 215\n Q223=20\n Q222=30\n Q201=-1000000\n Q202=0.000001\n Q207=100\n"
         "2 CYCL CALL\n",
         2, kMaxInfeeds + 1},
    };
    for (const Case& c : cases) {
        const std::string nci = test::convertToNci(kHeidenhain, c.program);
        EXPECT_EQ(countCode(readMoves(nci), c.code), c.records) << c.what;
        EXPECT_LT(nci.size(), 16'000'000u) << c.what;
        EXPECT_TRUE(nci.ends_with("999\n0 0 0\n")) << c.what;
    }
}

TEST(RoundCyclePrograms, FaceMillingLineBudgetAcrossLayers) {
    // Strategy 1 over b = 1e6 at s = 0.001: every layer would be a billion cuts. The budget ends
    // the first layer after 100,000 cuts (50,000 pairs), lifts and retracts.
    const std::string nci = test::convertToNci(
        kHeidenhain,
        "1 CYCL DEF 232\n Q218=1000000\n Q219=50\n Q370=0.0001\n Q386=-5\n Q202=1\n Q206=100\n"
        " Q389=1\n Q204=20\n2 CYCL CALL\n");
    EXPECT_EQ(countCode(readMoves(nci), 1), 2 * kMaxFaceLines + 1 + 1);
    EXPECT_TRUE(nci.ends_with("0\n0 -5 0 20 100 0\n999\n0 0 0\n")) << nci.substr(nci.size() - 300);
}

TEST(RoundCyclePrograms, OverflowingParametersWriteNoNonNumbers) {
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
