// The ISO block parser: which words a line leaves in the block, per dialect, with the distance
// mode and the tracked position before and after.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "parsers/iso/block_parser.h"

namespace morvane::iso {
namespace {

struct Word {
    std::uint32_t slot;
    double value;
    bool integer = false;
};

Word integerWord(std::uint32_t slot, std::int32_t value) {
    return {slot, double(value), true};
}

using Position = std::array<double, 3>;

struct BlockCase {
    const Dialect* dialect;
    const char* line;
    bool absoluteBefore;
    Position positionBefore;
    std::vector<std::int32_t> gcodes;
    std::vector<Word> words;  // exactly the slots the block defines
    bool absoluteAfter;
    Position positionAfter;
    const char* comment = nullptr;  // null: no comment read
};

constexpr Position kOrigin{0, 0, 0};
constexpr Position kX100{100, 0, 0};
constexpr Position kX10{10, 0, 0};
constexpr Position kXYZ{10, 20, 30};
constexpr bool kAbs = true;
constexpr bool kInc = false;

using namespace addr;

void checkCase(const BlockCase& c) {
    const std::string where = std::string(c.dialect->name) + " [" + c.line + "]";
    GCodeReader reader(*c.dialect);
    AxisState axes{c.absoluteBefore,
                   {c.positionBefore[0], c.positionBefore[1], c.positionBefore[2]}};
    BlockParser parser(reader, axes);
    block b;
    b.reset();
    parser.parse(c.line, 0, b);

    EXPECT_EQ(b.gcodes, c.gcodes) << where;
    std::bitset<kVariableCount> expectedDefined;
    for (const Word& w : c.words) {
        expectedDefined.set(w.slot);
        EXPECT_TRUE(b.has(w.slot)) << where << ": slot " << w.slot << " not defined";
        EXPECT_EQ(b.vars[w.slot].Kind(), w.integer ? varstorage::kInt : varstorage::kDouble)
            << where << ": kind of slot " << w.slot;
        EXPECT_EQ(b.getDouble(w.slot), w.value) << where << ": slot " << w.slot;
        if (w.integer) {
            EXPECT_EQ(b.vars[w.slot].AsInt(), static_cast<std::int32_t>(w.value)) << where;
        }
    }
    EXPECT_EQ(b.defined, expectedDefined) << where << ": other slots defined";
    EXPECT_EQ(axes.absolute, c.absoluteAfter) << where;
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(axes.position[i], c.positionAfter[i]) << where << " axis " << i;
    EXPECT_EQ(reader.hasComment(), c.comment != nullptr) << where;
    EXPECT_EQ(reader.comment(), c.comment != nullptr ? c.comment : "") << where;
}

TEST(FanucBlock, RecordsWordsAndAppliesTheDistanceModeWhereItStands) {
    const BlockCase cases[] = {
        {&kFanuc, "G91 X10", kAbs, kX100, {91}, {{X, 10}}, kInc, kX100},
        {&kFanuc, "X10 G91", kAbs, kX100, {91}, {{X, -90}}, kInc, kX100},
        {&kFanuc, "X10 G90", kInc, kX100, {90}, {{X, 110}}, kAbs, kX100},
        {&kFanuc, "X10 G90", kAbs, kX100, {90}, {{X, 10}}, kAbs, kX100},
        {&kFanuc, "G90 G90", kAbs, kOrigin, {90}, {}, kAbs, kOrigin},
        {&kFanuc, "G91 G90", kAbs, kOrigin, {90}, {}, kAbs, kOrigin},
        {&kFanuc, "G90 G1 G91", kInc, kOrigin, {91, 1}, {}, kInc, kOrigin},
        // Arc centres follow their axes: I with X, J with Y, K with Z.
        {&kFanuc,
         "G91 I5 J6 K7 G90",
         kAbs,
         {1, 2, 3},
         {90},
         {{I, 6}, {J, 8}, {K, 10}},
         kAbs,
         {1, 2, 3}},
        {&kFanuc, "X1 Y2 Z3 G91", kAbs, {1, 2, 3}, {91}, {{X, 0}, {Y, 0}, {Z, 0}}, kInc, {1, 2, 3}},
        {&kFanuc, "G28 X0", kAbs, {5, 6, 7}, {28}, {{X, 0}}, kAbs, kOrigin},
        {&kFanuc, "G91 G28 Z0", kAbs, {1, 2, 3}, {91, 28}, {{Z, 0}}, kInc, kOrigin},
        {&kFanuc, "G2.6", kAbs, kOrigin, {3}, {}, kAbs, kOrigin},
        {&kFanuc, "G2.4", kAbs, kOrigin, {2}, {}, kAbs, kOrigin},
        {&kFanuc, "G1 X", kAbs, kOrigin, {1}, {{X, 0}}, kAbs, kOrigin},
        {&kFanuc, "g1x10", kAbs, kOrigin, {1}, {{X, 10}}, kAbs, kOrigin},
        {&kFanuc, "X1 X2", kAbs, kOrigin, {}, {{X, 2}}, kAbs, kOrigin},
        {&kFanuc, "G17 G18 G19 G2 G3", kAbs, kOrigin, {17, 18, 19, 2, 3}, {}, kAbs, kOrigin},
        {&kFanuc,
         "G98 G81 X0 Y0 Z-5 R2 F100",
         kAbs,
         kOrigin,
         {98, 81},
         {{X, 0}, {Y, 0}, {Z, -5}, {R, 2}, {F, 100}},
         kAbs,
         kOrigin},
        {&kFanuc, "G65 P9010 A1", kAbs, kOrigin, {65}, {{P, 9010}, {A, 1}}, kAbs, kOrigin},
        {&kFanuc,
         "G99999999999",
         kAbs,
         kOrigin,
         {std::numeric_limits<std::int32_t>::max()},
         {},
         kAbs,
         kOrigin},
    };
    for (const BlockCase& c : cases)
        checkCase(c);
}

TEST(FanucBlock, KeepsOnlyTheMWordsTheRunActsOnAndToolNumbersAsIntegers) {
    const BlockCase cases[] = {
        {&kFanuc, "M3 S1000", kAbs, kOrigin, {}, {{S, 1000}}, kAbs, kOrigin},
        {&kSiemens, "M3 S1000", kAbs, kOrigin, {}, {{S, 1000}}, kAbs, kOrigin},
        {&kFanuc, "M30", kAbs, kOrigin, {}, {integerWord(M, 30)}, kAbs, kOrigin},
        {&kFanuc, "M91", kAbs, kOrigin, {}, {integerWord(M, 91)}, kAbs, kOrigin},
        {&kFanuc, "M92", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kFanuc, "M98.6", kAbs, kOrigin, {}, {integerWord(M, 99)}, kAbs, kOrigin},
        {&kFanuc,
         "M98 P1000 L2",
         kAbs,
         kOrigin,
         {},
         {integerWord(M, 98), {P, 1000}, {L, 2}},
         kAbs,
         kOrigin},
        {&kFanuc, "M6 T1", kAbs, kOrigin, {}, {integerWord(T, 1)}, kAbs, kOrigin},
        {&kFanuc, "T0101", kAbs, kOrigin, {}, {integerWord(T, 101)}, kAbs, kOrigin},
        {&kFanuc, "T2.5", kAbs, kOrigin, {}, {integerWord(T, 3)}, kAbs, kOrigin},
    };
    for (const BlockCase& c : cases)
        checkCase(c);
}

TEST(FanucBlock, StopsAtTheFirstWordItCannotRead) {
    const BlockCase cases[] = {
        {&kFanuc, "#100=5", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kFanuc, "G1 X#100 Y5", kAbs, kOrigin, {1}, {{X, 0}}, kAbs, kOrigin},
        {&kFanuc, "X Y10", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kFanuc, "X,5", kAbs, kOrigin, {}, {{X, 0}}, kAbs, kOrigin},
        {&kFanuc, "N10 G1 X10 ; RAPID", kAbs, kOrigin, {1}, {{N, 10}, {X, 10}}, kAbs, kOrigin},
        {&kFanuc, "/N20 G0 X5", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kFanuc, "G0 X5 / Y7", kAbs, kOrigin, {0}, {{X, 5}}, kAbs, kOrigin},
        {&kFanuc, "G1 X1 (A)(B) Y2", kAbs, kOrigin, {1}, {{X, 1}, {Y, 2}}, kAbs, kOrigin, "AB"},
        {&kFanuc, "%", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kFanuc, "O1000 (PART)", kAbs, kOrigin, {}, {{O, 1000}}, kAbs, kOrigin, "PART"},
    };
    for (const BlockCase& c : cases)
        checkCase(c);
}

TEST(FanucBlock, TakesUVWAsIncrementsInBothModes) {
    const BlockCase cases[] = {
        {&kFanuc, "U5", kAbs, kX10, {}, {{X, 15}}, kAbs, kX10},
        {&kFanuc, "U5 V-1 W2", kAbs, {1, 2, 3}, {}, {{X, 6}, {Y, 1}, {Z, 5}}, kAbs, {1, 2, 3}},
        // Under G91 a U word is a plain increment, exactly like X: the run adds the position.
        {&kFanuc, "G91 U5", kAbs, kX10, {91}, {{X, 5}}, kInc, kX10},
        {&kFanuc, "U5", kInc, kX10, {}, {{X, 5}}, kInc, kX10},
        // A mode change after the word re-expresses it like any X word.
        {&kFanuc, "U5 G91", kAbs, kX10, {91}, {{X, 5}}, kInc, kX10},
        {&kFanuc, "U5 G90", kInc, kX10, {90}, {{X, 15}}, kAbs, kX10},
    };
    for (const BlockCase& c : cases)
        checkCase(c);
}

TEST(SinumerikBlock, ReadsLatheWordsAndExchangesTheAxes) {
    const BlockCase cases[] = {
        {&kSinumerik,
         "G2 X40 Z-5 I0 K-2",
         kAbs,
         kOrigin,
         {3},
         {{X, 20}, {Y, -5}, {I, 0}, {J, -2}},
         kAbs,
         kOrigin},
        {&kSinumerik, "G3", kAbs, kOrigin, {2}, {}, kAbs, kOrigin},
        {&kSinumerik, "G17 G1 X20", kAbs, kOrigin, {1}, {{X, 10}}, kAbs, kOrigin},
        {&kSinumerik, "G18 G19", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kSinumerik,
         "T5",
         kAbs,
         kOrigin,
         {},
         {integerWord(T, 5), integerWord(M, 6)},
         kAbs,
         kOrigin},
        {&kSinumerik,
         "T3 M8",
         kAbs,
         kOrigin,
         {},
         {integerWord(T, 3), integerWord(M, 8)},
         kAbs,
         kOrigin},
        {&kSinumerik,
         "TC(7) X10",
         kAbs,
         kOrigin,
         {},
         {integerWord(T, 7), integerWord(M, 6)},
         kAbs,
         kOrigin},
        {&kSinumerik, "LIMS=3000", kAbs, kOrigin, {92}, {{S, 3000}}, kAbs, kOrigin},
        {&kSinumerik, "CR=12.5", kAbs, kOrigin, {}, {{R, 12.5}}, kAbs, kOrigin},
        {&kSinumerik, "M3 S500", kAbs, kOrigin, {}, {integerWord(M, 3), {S, 500}}, kAbs, kOrigin},
        {&kSinumerik,
         "N10 G1 X20 ; FINISH",
         kAbs,
         kOrigin,
         {1},
         {{N, 10}, {X, 10}},
         kAbs,
         kOrigin,
         " FINISH"},
        {&kSinumerik, "R1=5", kAbs, kOrigin, {}, {{R, 1}}, kAbs, kOrigin},
        {&kSinumerik, "U4", kAbs, {3, 0, 0}, {}, {{X, 7}}, kAbs, {3, 0, 0}},
        {&kSinumerik, "CYCLE81(10,0,2,-5)", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kSinumerik, "G1 X20 MSG(DONE)", kAbs, kOrigin, {1}, {{X, 10}}, kAbs, kOrigin, "DONE"},
        {&kSinumerik, "/N20 G0 X5", kAbs, kOrigin, {}, {}, kAbs, kOrigin, "N20 G0 X5"},
        {&kSinumerik, "J1", kAbs, kOrigin, {}, {{K, 1}}, kAbs, kOrigin},
        {&kSinumerik, "LF", kAbs, kOrigin, {}, {{LF, 0}}, kAbs, kOrigin},
        {&kSinumerik, "%_N_PART_MPF", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        {&kSinumerik, "$P_UIFR[1]=5", kAbs, kOrigin, {}, {}, kAbs, kOrigin},
        // Diameter words are halved before the mode change adds the (radius) position.
        {&kSinumerik, "X10 G90", kInc, {5, 0, 0}, {90}, {{X, 10}}, kAbs, {5, 0, 0}},
    };
    for (const BlockCase& c : cases)
        checkCase(c);
}

TEST(SinumerikBlock, PairsIncrementsWithThePositionOfTheSameProgramAxis) {
    // The tracked position is held in block axes: its Y is the program's Z and its Z the
    // program's Y. Position (10, 20, 30): program Y is at 30, program Z at 20.
    const BlockCase cases[] = {
        {&kSinumerik, "V5", kAbs, kXYZ, {}, {{Z, 35}}, kAbs, kXYZ},
        {&kSinumerik, "W5", kAbs, kXYZ, {}, {{Y, 25}}, kAbs, kXYZ},
        {&kSinumerik, "G91 W2", kAbs, kXYZ, {91}, {{Y, 2}}, kInc, kXYZ},
        {&kSinumerik, "Z5 G91", kAbs, kXYZ, {91}, {{Y, -15}}, kInc, kXYZ},
        {&kSinumerik, "Y5 K1 G90", kInc, kXYZ, {90}, {{Z, 35}, {J, 21}}, kAbs, kXYZ},
    };
    for (const BlockCase& c : cases)
        checkCase(c);
}

TEST(NumeripathBlock, KeepsEveryMWordAndTakesSpeedsAsSurfaceSpeed) {
    const BlockCase cases[] = {
        {&kNumeripath,
         "G96 S200 M3",
         kAbs,
         kOrigin,
         {96, 96},
         {{S, 200}, integerWord(M, 3)},
         kAbs,
         kOrigin},
        {&kNumeripath, "G92 S2500", kAbs, kOrigin, {92}, {{S, 2500}}, kAbs, kOrigin},
        {&kNumeripath, "S2500 G92", kAbs, kOrigin, {96, 92}, {{S, 2500}}, kAbs, kOrigin},
        {&kNumeripath, "T0101", kAbs, kOrigin, {}, {integerWord(T, 101)}, kAbs, kOrigin},
        {&kNumeripath,
         "G2 X10 Y5 I2 J0",
         kAbs,
         kOrigin,
         {2},
         {{X, 10}, {Z, 5}, {I, 2}, {K, 0}},
         kAbs,
         kOrigin},
        {&kNumeripath, "G17 G18 G19", kAbs, kOrigin, {17, 18, 19}, {}, kAbs, kOrigin},
        {&kNumeripath, "M8", kAbs, kOrigin, {}, {integerWord(M, 8)}, kAbs, kOrigin},
        {&kNumeripath, "X10", kAbs, kOrigin, {}, {{X, 10}}, kAbs, kOrigin},
        {&kNumeripath, "LF5", kAbs, kOrigin, {}, {{LF, 5}}, kAbs, kOrigin},
        {&kNumeripath, "G1 X10 ! FAST", kAbs, kOrigin, {1}, {{X, 10}}, kAbs, kOrigin, " FAST"},
        {&kNumeripath, "G1 X10 ; FAST", kAbs, kOrigin, {1}, {{X, 10}}, kAbs, kOrigin},
        {&kNumeripath, "TC(3)", kAbs, kOrigin, {}, {}, kAbs, kOrigin, "3"},
        {&kNumeripath, "/N20 G0 X5", kAbs, kOrigin, {}, {}, kAbs, kOrigin, "N20 G0 X5"},
        {&kNumeripath, "V5", kAbs, kXYZ, {}, {{Z, 35}}, kAbs, kXYZ},
    };
    for (const BlockCase& c : cases)
        checkCase(c);
}

TEST(BlockParser, StartsReadingAtTheGivenOffset) {
    GCodeReader reader(kFanuc);
    AxisState axes;
    BlockParser parser(reader, axes);
    block b;
    const std::string line = "O100 G1 X5";
    parser.parse(line, 4, b);
    EXPECT_FALSE(b.has(O));
    EXPECT_EQ(b.gcodes, std::vector<std::int32_t>{1});
    EXPECT_EQ(b.getDouble(X), 5.0);
}

TEST(ExchangeSlots, SwapsValuesAndDefinedBits) {
    block b;
    b.setDouble(Y, 4.0);
    b.vars[Z].setDouble(9.0);  // a modal value, not given in this block
    exchangeSlots(b, Y, Z);
    EXPECT_FALSE(b.has(Y));
    EXPECT_TRUE(b.has(Z));
    EXPECT_EQ(b.getDouble(Z), 4.0);
    EXPECT_EQ(b.getDouble(Y), 9.0);
}

}  // namespace
}  // namespace morvane::iso
