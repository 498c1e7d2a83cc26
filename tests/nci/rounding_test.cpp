// Rounding of block values to 3 decimals: half away from zero, the sign of small negatives, and
// the magnitudes beyond which values pass unrounded.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "frame_harness.h"
#include "writer/nci_frame.h"

namespace morvane {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

struct RoundCase {
    double value;
    double rounded;
    bool negativeZero;
};

TEST(RoundValue, RoundsHalfAwayFromZeroToThreeDecimals) {
    test::Writer<NCIFrame> frame;
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
    test::Writer<NCIFrame> frame;
    for (const double v : {2147483.6475, -2147483.6475, 3.0e9, -1.0e300, 1.0e300})
        EXPECT_EQ(frame.RoundValue(v), v) << v;
    EXPECT_TRUE(std::isnan(frame.RoundValue(kNaN)));
    EXPECT_EQ(frame.RoundValue(kInf), kInf);
    EXPECT_EQ(frame.RoundValue(-kInf), -kInf);
}

}  // namespace
}  // namespace morvane
