#include "nci/nci_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace morvane {
namespace {

// Non-numbers reach no record: they are written as 0.
TEST(FormatReal, NonNumbersNeverReachTheText) {
    EXPECT_EQ(realToString(std::numeric_limits<double>::quiet_NaN()), "0");
    EXPECT_EQ(realToString(std::numeric_limits<double>::infinity()), "0");
    EXPECT_EQ(realToString(-std::numeric_limits<double>::infinity()), "0");
}

// A file receives exactly what memory would hold, across many spills of the buffer; a text
// longer than the buffer's spill size goes through whole.
TEST(NciStream, FileOutputEqualsTheTextInMemory) {
    const std::string path = testing::TempDir() + "nci_stream_test.nci";
    NciStream file;
    ASSERT_TRUE(file.open(path));
    NciStream memory;
    const std::string longText(3 << 20, 'c');
    for (NciStream* out : {&file, &memory}) {
        for (std::int32_t i = 0; i < 200000; ++i)
            *out << i % 4 << eol << std::int32_t{0} << ' ' << i * 0.001 << ' ' << -i * 1.5 << ' '
                 << 1e7 + i << eol;
        out->record(1005, longText);
        out->record(1003, "0 0 0");
    }
    EXPECT_EQ(file.bytesWritten(), memory.bytesWritten());
    file.close();
    std::FILE* in = std::fopen(path.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    std::string written;
    char chunk[1 << 16];
    for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, in)) > 0;)
        written.append(chunk, got);
    std::fclose(in);
    std::remove(path.c_str());
    EXPECT_TRUE(written == memory.view());
    EXPECT_EQ(written.size(), memory.view().size());
}

}  // namespace
}  // namespace morvane

namespace morvane {
namespace {

// What the C library's general format writes for `v`: the reference for every real field.
std::string printfGeneral(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// Values on the 0.001 grid take an integer-arithmetic path; it must agree with the general
// format everywhere: small and large magnitudes, 6 and 7 significant digits, the 1e6 switch to
// exponent notation, and negative zero.
TEST(FormatReal, ThousandthsAgreeWithTheGeneralFormat) {
    std::vector<double> values;
    for (std::int64_t n = -200000; n <= 200000; ++n)
        values.push_back(static_cast<double>(n) / 1000.0);
    for (std::int64_t n = -2147483647; n <= 2147483647; n += 21467) {
        values.push_back(static_cast<double>(n) / 1000.0);
    }
    for (const double v :
         {999999.0, 999999.4,  999999.499,  999999.5, 999999.501, 1000000.0, 99999.95, 99999.949,
          123456.7, 12345.675, 0.001,       -0.001,   0.0005,     -0.0,      0.0,      100000.0,
          654321.0, -999999.0, 2147483.647, 0.00001,  1234567.0,  1e100}) {
        values.push_back(v);
    }
    for (const double v : values)
        EXPECT_EQ(realToString(v), printfGeneral(v)) << v;
}

TEST(FormatReal, ArbitraryDoublesAgreeWithTheGeneralFormat) {
    std::mt19937_64 random(20240611);
    int checked = 0;
    while (checked < 200000) {
        const std::uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (!std::isfinite(v)) continue;
        ASSERT_EQ(realToString(v), printfGeneral(v)) << bits;
        // Sums of rounded values sit just off the 0.001 grid.
        const double near =
            static_cast<double>(static_cast<std::int32_t>(bits % 2000000001) - 1000000000) /
                1000.0 +
            0.1;
        ASSERT_EQ(realToString(near), printfGeneral(near)) << near;
        ++checked;
    }
}

}  // namespace
}  // namespace morvane
