#include "nci/nci_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace morvane {
namespace {

struct RealCase {
    double value;
    const char* text;
};

// What a default-configured output stream writes for a double: 6 significant digits, general
// notation, trailing zeros dropped, negative zero kept.
TEST(FormatReal, MatchesDefaultStreamFormatting) {
    const RealCase cases[] = {
        {12.5, "12.5"},         {100.0, "100"},           {-0.25, "-0.25"},
        {1234567.0, "1.23457e+06"}, {0.00001, "1e-05"},   {-0.0, "-0"},
        {0.0, "0"},             {1234.568, "1234.57"},    {123456.0, "123456"},
        {999999.5, "1e+06"},    {0.0001, "0.0001"},       {-1.235, "-1.235"},
        {1e100, "1e+100"},      {2147483.648, "2.14748e+06"},
    };
    for (const auto& c : cases) EXPECT_EQ(realToString(c.value), c.text) << c.value;
}

TEST(FormatReal, NonNumbersNeverReachTheText) {
    EXPECT_EQ(realToString(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(realToString(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(realToString(-std::numeric_limits<double>::infinity()), "0");
}

TEST(NciStream, ComposesRecordsInMemory) {
    NciStream out;
    out << std::int32_t{1} << eol << std::int32_t{0} << ' ' << 10.0 << ' ' << -0.0 << ' '
        << std::int32_t{-1} << " 0" << eol;
    out.record(1003, "0 0 0");
    EXPECT_EQ(out.view(), "1\n0 10 -0 -1 0\n1003\n0 0 0\n");
    out.clear();
    EXPECT_TRUE(out.empty());
}

}  // namespace
}  // namespace morvane
