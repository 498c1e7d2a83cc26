// Native cycle lines read back into holes, beyond what the output cases (tests/tools/data) show
// through the words they write: the Heidenhain writer's levels with the surface above zero,
// lines no output knows, and how the ISO run's header names its writer.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "line_reader.h"
#include "native_cycle.h"

namespace morvane::post {
namespace {

NciRecord record(const std::string& text) {
    LineReader lines(text);
    NciRecordReader reader(lines);
    NciRecord r;
    EXPECT_TRUE(reader.next(r));
    return r;
}

std::optional<DrillCycle> decode(const std::string& line, WriterFamily family) {
    return decodeCycleLine(record("91081\n" + line + "\n"), family);
}

TEST(NativeCycle, HeidenhainLinesWithTheSurfaceAboveZero) {
    // Cycle 200 with Q200=2 Q201=-10 Q203=5 Q204=50 (the outputs' cases have Q203=0): field 7
    // is Q203 - Q201 = 15, the bottom 5 - 10, the clearance Q203 + Q204.
    const auto c = decode("1 10 10 60 55 7 5 15 150 0 0 0 0 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1",
                          WriterFamily::Heidenhain);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->source, 200);
    EXPECT_DOUBLE_EQ(c->startZ, 60);
    EXPECT_DOUBLE_EQ(c->referenceZ, 7);
    EXPECT_DOUBLE_EQ(c->surfaceZ, 5);
    EXPECT_DOUBLE_EQ(c->bottomZ, -5);
    EXPECT_DOUBLE_EQ(c->depth, 10);
    EXPECT_DOUBLE_EQ(c->clearanceZ, 55);
}

TEST(NativeCycle, LinesItDoesNotKnow) {
    const std::string tail = " 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0";
    EXPECT_FALSE(decode("4" + tail, WriterFamily::Iso).has_value());         // no ISO kind 4
    EXPECT_FALSE(decode("2" + tail, WriterFamily::Heidenhain).has_value());  // cycle 202
    EXPECT_FALSE(decode("4" + tail, WriterFamily::Heidenhain).has_value());  // 204 .. 209
    EXPECT_FALSE(decodeCycleLine(record("91081\n\n"), WriterFamily::Iso).has_value());
    EXPECT_FALSE(decodeCycleLine(record("91081\n1 2\n"), WriterFamily::Iso).has_value());
}

TEST(NativeCycle, TheIsoRunsHeaderNamesItsWriter) {
    const std::pair<const char*, WriterFamily> cases[] = {
        {"1050\n0 0 0 0 0 0 0 0 1\n", WriterFamily::Iso},
        {"1050\n0 0 0 0 0 0 0 0 DRILL\n", WriterFamily::Heidenhain},
        {"1050\n0 0 0 0 0 0 0 1 1\n", WriterFamily::Heidenhain},
        {"1050\n0 0 0 0 0 0 0 0 11\n", WriterFamily::Heidenhain},
        {"0\n0 1 2 3 -2 0\n", WriterFamily::Heidenhain},
        {"1050\n0 0 0 0 x 0 0 0 1\n", WriterFamily::Heidenhain},
    };
    for (const auto& [text, family] : cases)
        EXPECT_EQ(detectWriterFamily(record(text)), family) << text;
}

}  // namespace
}  // namespace morvane::post
