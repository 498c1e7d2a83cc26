// Native cycle lines read back into holes. The lines are laid out by hand from the two writers'
// field lists: the ISO writer's G73..G83 lines (levels relative to the initial level and R) and
// the Heidenhain writer's cycle 200 and 203 lines (absolute levels, Q203 - Q201 as field 7).
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

TEST(NativeCycle, IsoLines) {
    struct Case {
        const char* what;
        const char* line;
        std::int32_t source;
        HoleKind kind;
        double x, y, reference, bottom, feed, peck, dwell, shift;
    };
    // Initial level Z0 = 10 (50 for the others), R and Z as the G-code block gave them.
    const Case cases[] = {
        {"G81 X5 Y5 Z-10 R2 F100 from Z10",
         "1 5 5 10 10 8 0 12 100 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1", 81, HoleKind::Drill, 5,
         5, 2, -10, 100, 0, 0, 0},
        {"G83 X0 Y0 Z-20 R1 Q3 F50 from Z20",
         "1 0 0 20 20 19 0 21 50 0 0 0 0 3 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1", 83, HoleKind::Drill, 0,
         0, 1, -20, 50, 3, 0, 0},
        {"G82 X50 Y20 Z-5 R1 P500 F60 from Z50",
         "1 50 20 50 50 49 0 6 60 0 500 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1", 82, HoleKind::Drill,
         50, 20, 1, -5, 60, 0, 0.5, 0},
        {"G74 X1 Y2 Z-12 R3 P200 F125 S1000 from Z50",
         "3 1 2 50 50 47 0 15 125 0 200 0 0 0 0 0 0 0 0 0 8 0 0 0 0 0 0 0 -1", 74, HoleKind::Tap, 1,
         2, 3, -12, 125, 0, 0.2, 0},
        {"G76 X1 Y2 Z-12 R3 Q0.5 P100 F40 from Z50",
         "2 1 2 50 50 47 0 15 40 0 100 0 0 0 0 0 0 0 0 0 0 0.5 0 0 0 0 0 0 -1", 76, HoleKind::Bore,
         1, 2, 3, -12, 40, 0, 0.1, 0.5},
    };
    for (const Case& c : cases) {
        const auto cycle = decode(c.line, WriterFamily::Iso);
        ASSERT_TRUE(cycle.has_value()) << c.what;
        EXPECT_EQ(cycle->source, c.source) << c.what;
        EXPECT_EQ(cycle->kind, c.kind) << c.what;
        EXPECT_DOUBLE_EQ(cycle->x, c.x) << c.what;
        EXPECT_DOUBLE_EQ(cycle->y, c.y) << c.what;
        EXPECT_DOUBLE_EQ(cycle->referenceZ, c.reference) << c.what;
        EXPECT_DOUBLE_EQ(cycle->surfaceZ, c.reference) << c.what;
        EXPECT_DOUBLE_EQ(cycle->bottomZ, c.bottom) << c.what;
        EXPECT_DOUBLE_EQ(cycle->depth, c.reference - c.bottom) << c.what;
        EXPECT_DOUBLE_EQ(cycle->feed, c.feed) << c.what;
        EXPECT_DOUBLE_EQ(cycle->peck, c.peck) << c.what;
        EXPECT_DOUBLE_EQ(cycle->dwellBottom, c.dwell) << c.what;
        EXPECT_DOUBLE_EQ(cycle->shift, c.shift) << c.what;
    }
}

TEST(NativeCycle, HeidenhainLines) {
    // Cycle 200: Q200=2 Q201=-10 Q206=150 Q202=5 Q210=0 Q203=+0 Q204=50 Q211=0.1, called at
    // X10 Y10 with the tool at Z5.
    auto c = decode("1 10 10 5 50 2 0 10 150 0 0.1 0 0 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1",
                    WriterFamily::Heidenhain);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->source, 200);
    EXPECT_DOUBLE_EQ(c->startZ, 5);
    EXPECT_DOUBLE_EQ(c->clearanceZ, 50);
    EXPECT_DOUBLE_EQ(c->referenceZ, 2);
    EXPECT_DOUBLE_EQ(c->surfaceZ, 0);
    EXPECT_DOUBLE_EQ(c->bottomZ, -10);
    EXPECT_DOUBLE_EQ(c->depth, 10);
    EXPECT_DOUBLE_EQ(c->feed, 150);
    EXPECT_DOUBLE_EQ(c->peck, 5);
    EXPECT_DOUBLE_EQ(c->dwellBottom, 0.1);

    // The same with the surface at Q203=5: field 7 is Q203 - Q201 = 15, the bottom 5 - 10.
    c = decode("1 10 10 60 55 7 5 15 150 0 0 0 0 5 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1",
               WriterFamily::Heidenhain);
    ASSERT_TRUE(c.has_value());
    EXPECT_DOUBLE_EQ(c->referenceZ, 7);
    EXPECT_DOUBLE_EQ(c->surfaceZ, 5);
    EXPECT_DOUBLE_EQ(c->bottomZ, -5);
    EXPECT_DOUBLE_EQ(c->depth, 10);
    EXPECT_DOUBLE_EQ(c->clearanceZ, 55);

    // Cycle 203: Q200=2 Q201=-20 Q206=150 Q202=5 Q210=0.5 Q203=0 Q204=50 Q212=0.2 Q213=3
    // Q205=3 Q211=0.25 Q208=500 Q256=0.2.
    c = decode("1 0 0 50 50 2 0 20 150 500 0.25 0.5 5 0 3 0.2 0 0.2 5 3 0 0 0 0 0 0 0 0 -1",
               WriterFamily::Heidenhain);
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->source, 203);
    EXPECT_DOUBLE_EQ(c->bottomZ, -20);
    EXPECT_DOUBLE_EQ(c->peck, 5);
    EXPECT_DOUBLE_EQ(c->retractFeed, 500);
    EXPECT_DOUBLE_EQ(c->dwellBottom, 0.25);
    EXPECT_DOUBLE_EQ(c->dwellTop, 0.5);
    EXPECT_DOUBLE_EQ(c->minPeck, 3);
    EXPECT_DOUBLE_EQ(c->decrement, 0.2);
    EXPECT_DOUBLE_EQ(c->chipBreak, 0.2);
    EXPECT_DOUBLE_EQ(c->breaks, 3);
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
