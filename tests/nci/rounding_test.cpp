// Rounding of block values to 3 decimals and their text in NCI records; variable access rules.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "frame_harness.h"
#include "nci/nci_frame.h"

namespace morvane {
namespace {

using test::FrameHarness;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct RoundCase {
    double value;
    double rounded;
    bool negativeZero;
};

TEST(RoundValue, RoundsHalfAwayFromZeroToThreeDecimals) {
    NCIFrame frame;
    const RoundCase cases[] = {
        {1.2345, 1.235, false},
        {-1.2345, -1.235, false},
        {1234.5678, 1234.568, false},
        {0.0004, 0.0, false},
        {-0.0004, 0.0, true},  // small negatives keep their sign
        {0.0, 0.0, false},
        {-0.0, 0.0, false},  // the sign of zero itself is 0: positive zero
        {2.0004, 2.0, false},
        {-7.9996, -8.0, false},
        {0.5, 0.5, false},
        {2147483.6474, 2147483.647, false},  // the largest magnitude that is still rounded
    };
    for (const RoundCase& c : cases) {
        const double r = frame.RoundValue(c.value);
        EXPECT_EQ(r, c.rounded) << c.value;
        EXPECT_EQ(std::signbit(r), c.negativeZero || c.rounded < 0.0) << c.value;
    }
}

TEST(RoundValue, ValuesBeyondThe32BitRoundingPassUnchanged) {
    NCIFrame frame;
    for (const double v : {2147483.6475, -2147483.6475, 3.0e9, -1.0e300, 1.0e300})
        EXPECT_EQ(frame.RoundValue(v), v) << v;
    EXPECT_TRUE(std::isnan(frame.RoundValue(kNaN)));
    EXPECT_EQ(frame.RoundValue(kInf), kInf);
    EXPECT_EQ(frame.RoundValue(-kInf), -kInf);
}

struct TextCase {
    const char* word;  // X word of a linear move
    const char* text;  // how X appears in the record
};

// The X field of "G1 X..": rounding first, then 6 significant digits in general notation.
TEST(NumberText, BlockValuesAreRoundedThenWrittenWithSixDigits) {
    const TextCase cases[] = {
        {"X12.5", "12.5"},
        {"X100", "100"},
        {"X-0.25", "-0.25"},
        {"X-0.0004", "-0"},
        {"X0.0004", "0"},
        {"X1.2345", "1.235"},
        {"X-1.2345", "-1.235"},
        {"X1234.5678", "1234.57"},
        {"X1234567", "1.23457e+06"},
        {"X0.00001", "0"},
        {"X99999.9996", "100000"},
        {"X999999.9996", "1e+06"},
        {"X2147483.6475", "2.14748e+06"},
        {"X-3e9", "-3e+09"},
        {"X1e300", "1e+300"},
        {"Xnan", "0"},
        {"Xinf", "0"},
        {"X-inf", "0"},
    };
    for (const TextCase& c : cases) {
        FrameHarness<NCIFrame> h;
        EXPECT_EQ(h.write(std::string("G1 ") + c.word),
                  std::string("1\n0 ") + c.text + " 0 0 -1 0\n")
            << c.word;
    }
}

TEST(VariableAccess, IntsDoublesStringsAndTheLastIndex) {
    FrameHarness<NCIFrame> h;
    block& b = h.currentBlock();
    h.write("");
    b.reset();
    b.setInt(addr::T, 7);
    b.setDouble(addr::D, 2.5);
    b.vars[addr::S].setString("FAST");
    b.defined.set(addr::S);
    b.setDouble(511, 4.0004);
    h.frame.LoadBlock(b, h.axes);

    EXPECT_EQ(h.frame.GetDouble(addr::T), 7.0);
    EXPECT_EQ(h.frame.GetInt(addr::T), 7);
    EXPECT_EQ(h.frame.GetDouble(addr::D), 2.5);
    EXPECT_EQ(h.frame.GetInt(addr::D), 0);  // a double is not an int, however whole
    EXPECT_EQ(h.frame.GetDouble(addr::S), 0.0);
    EXPECT_EQ(h.frame.GetInt(addr::S), 0);
    // Every index from 511 up reads the last variable.
    EXPECT_EQ(h.frame.GetDouble(511), 4.0);
    EXPECT_EQ(h.frame.GetDouble(600), 4.0);
    EXPECT_EQ(h.frame.GetDouble(700), 4.0);
    EXPECT_EQ(h.frame.GetDouble(0xFFFFFFFFu), 4.0);
}

TEST(VariableAccess, FMAndRAreResetPerBlockOtherWordsAreModal) {
    FrameHarness<NCIFrame> h;
    h.write("G1 X1 Y2 Z3 F100 S500 R4 M#17");
    EXPECT_EQ(h.frame.GetDouble(addr::F), 100.0);
    h.write("");
    EXPECT_EQ(h.frame.GetDouble(addr::F), -1.0);
    EXPECT_EQ(h.frame.GetDouble(addr::R), 0.0);
    EXPECT_EQ(h.frame.GetInt(addr::M), 0);
    EXPECT_EQ(h.frame.GetDouble(addr::S), 500.0);
    EXPECT_EQ(h.frame.GetDouble(addr::X), 1.0);
}

}  // namespace
}  // namespace morvane
