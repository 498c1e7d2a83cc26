// The ISO block parser: which words a line leaves in the block, per dialect, with the distance
// mode and the tracked position before and after.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "parsers/iso/block_parser.h"
#include "support/block_words.h"

namespace morvane::iso {
namespace {

using namespace addr;

// A line parsed from a distance mode and tracked position ("abs 100 0 0"): the words it leaves
// in the block ("G91 X-90": G codes in order, then every defined slot in slot order, "#" before
// an integer word), the mode and position afterwards (null: as before) and the comment read
// (null: none).
struct BlockCase {
    const Dialect* dialect;
    const char* line;
    const char* before;
    const char* words;
    const char* after = nullptr;
    const char* comment = nullptr;
};

std::string stateOf(const AxisState& axes) {
    return std::string(axes.absolute ? "abs" : "inc") + " " + test::exactNumber(axes.position[0]) +
           " " + test::exactNumber(axes.position[1]) + " " + test::exactNumber(axes.position[2]);
}

void checkCases(std::initializer_list<BlockCase> cases) {
    for (const BlockCase& c : cases) {
        const std::string where = std::string(c.dialect->name) + " [" + c.line + "]";
        GCodeReader reader(*c.dialect);
        AxisState axes;
        std::istringstream before(c.before);
        std::string mode;
        before >> mode >> axes.position[0] >> axes.position[1] >> axes.position[2];
        axes.absolute = mode == "abs";
        BlockParser parser(reader, axes);
        block b;
        b.reset();
        parser.parse(c.line, 0, b);
        EXPECT_EQ(test::blockWords(b), c.words) << where;
        EXPECT_EQ(stateOf(axes), c.after != nullptr ? c.after : c.before) << where;
        EXPECT_EQ(reader.hasComment(), c.comment != nullptr) << where;
        EXPECT_EQ(reader.comment(), c.comment != nullptr ? c.comment : "") << where;
    }
}

const Dialect* const Fc = &kFanuc;
const Dialect* const Sn = &kSinumerik;
const Dialect* const Np = &kNumeripath;
constexpr const char* kOrigin = "abs 0 0 0";

TEST(FanucBlock, RecordsWordsAndAppliesTheDistanceModeWhereItStands) {
    checkCases({
        {Fc, "G91 X10", "abs 100 0 0", "G91 X10", "inc 100 0 0"},
        {Fc, "X10 G91", "abs 100 0 0", "G91 X-90", "inc 100 0 0"},
        {Fc, "X10 G90", "inc 100 0 0", "G90 X110", "abs 100 0 0"},
        {Fc, "X10 G90", "abs 100 0 0", "G90 X10"},
        {Fc, "G90 G90", kOrigin, "G90"},
        {Fc, "G91 G90", kOrigin, "G90"},
        {Fc, "G90 G1 G91", "inc 0 0 0", "G91 G1"},
        // Arc centres follow their axes: I with X, J with Y, K with Z.
        {Fc, "G91 I5 J6 K7 G90", "abs 1 2 3", "G90 I6 J8 K10"},
        {Fc, "X1 Y2 Z3 G91", "abs 1 2 3", "G91 X0 Y0 Z0", "inc 1 2 3"},
        {Fc, "G28 X0", "abs 5 6 7", "G28 X0", kOrigin},
        {Fc, "G91 G28 Z0", "abs 1 2 3", "G91 G28 Z0", "inc 0 0 0"},
        {Fc, "G2.6", kOrigin, "G3"},
        {Fc, "G2.4", kOrigin, "G2"},
        {Fc, "G1 X", kOrigin, "G1 X0"},
        {Fc, "g1x10", kOrigin, "G1 X10"},
        {Fc, "X1 X2", kOrigin, "X2"},
        {Fc, "G17 G18 G19 G2 G3", kOrigin, "G17 G18 G19 G2 G3"},
        {Fc, "G98 G81 X0 Y0 Z-5 R2 F100", kOrigin, "G98 G81 F100 R2 X0 Y0 Z-5"},
        {Fc, "G65 P9010 A1", kOrigin, "G65 A1 P9010"},
        {Fc, "G99999999999", kOrigin, "G2147483647"},
    });
}

TEST(FanucBlock, KeepsOnlyTheMWordsTheRunActsOnAndToolNumbersAsIntegers) {
    checkCases({
        {Fc, "M3 S1000", kOrigin, "S1000"},
        {&kSiemens, "M3 S1000", kOrigin, "S1000"},
        {Fc, "M30", kOrigin, "M#30"},
        {Fc, "M91", kOrigin, "M#91"},
        {Fc, "M92", kOrigin, ""},
        {Fc, "M98.6", kOrigin, "M#99"},
        {Fc, "M98 P1000 L2", kOrigin, "L2 M#98 P1000"},
        {Fc, "M6 T1", kOrigin, "T#1"},
        {Fc, "T0101", kOrigin, "T#101"},
        {Fc, "T2.5", kOrigin, "T#3"},
    });
}

TEST(FanucBlock, StopsAtTheFirstWordItCannotRead) {
    checkCases({
        {Fc, "#100=5", kOrigin, ""},
        {Fc, "G1 X#100 Y5", kOrigin, "G1 X0"},
        {Fc, "X Y10", kOrigin, ""},
        {Fc, "X,5", kOrigin, "X0"},
        {Fc, "N10 G1 X10 ; RAPID", kOrigin, "G1 N10 X10"},
        {Fc, "/N20 G0 X5", kOrigin, ""},
        {Fc, "G0 X5 / Y7", kOrigin, "G0 X5"},
        {Fc, "G1 X1 (A)(B) Y2", kOrigin, "G1 X1 Y2", nullptr, "AB"},
        {Fc, "%", kOrigin, ""},
        {Fc, "O1000 (PART)", kOrigin, "O1000", nullptr, "PART"},
    });
}

TEST(FanucBlock, TakesUVWAsIncrementsInBothModes) {
    checkCases({
        {Fc, "U5", "abs 10 0 0", "X15"},
        {Fc, "U5 V-1 W2", "abs 1 2 3", "X6 Y1 Z5"},
        // Under G91 a U word is a plain increment, exactly like X: the run adds the position.
        {Fc, "G91 U5", "abs 10 0 0", "G91 X5", "inc 10 0 0"},
        {Fc, "U5", "inc 10 0 0", "X5"},
        // A mode change after the word re-expresses it like any X word.
        {Fc, "U5 G91", "abs 10 0 0", "G91 X5", "inc 10 0 0"},
        {Fc, "U5 G90", "inc 10 0 0", "G90 X15", "abs 10 0 0"},
    });
}

TEST(SinumerikBlock, ReadsLatheWordsAndExchangesTheAxes) {
    checkCases({
        {Sn, "G2 X40 Z-5 I0 K-2", kOrigin, "G3 I0 J-2 X20 Y-5"},
        {Sn, "G3", kOrigin, "G2"},
        {Sn, "G17 G1 X20", kOrigin, "G1 X10"},
        {Sn, "G18 G19", kOrigin, ""},
        {Sn, "T5", kOrigin, "M#6 T#5"},
        {Sn, "T3 M8", kOrigin, "M#8 T#3"},
        {Sn, "TC(7) X10", kOrigin, "M#6 T#7"},
        {Sn, "LIMS=3000", kOrigin, "G92 S3000"},
        {Sn, "CR=12.5", kOrigin, "R12.5"},
        {Sn, "M3 S500", kOrigin, "M#3 S500"},
        {Sn, "N10 G1 X20 ; FINISH", kOrigin, "G1 N10 X10", nullptr, " FINISH"},
        {Sn, "R1=5", kOrigin, "R1"},
        {Sn, "U4", "abs 3 0 0", "X7"},
        {Sn, "CYCLE81(10,0,2,-5)", kOrigin, ""},
        {Sn, "G1 X20 MSG(DONE)", kOrigin, "G1 X10", nullptr, "DONE"},
        {Sn, "/N20 G0 X5", kOrigin, "", nullptr, "N20 G0 X5"},
        {Sn, "J1", kOrigin, "K1"},
        {Sn, "LF", kOrigin, "LF0"},
        {Sn, "%_N_PART_MPF", kOrigin, ""},
        {Sn, "$P_UIFR[1]=5", kOrigin, ""},
        // Diameter words are halved before the mode change adds the (radius) position.
        {Sn, "X10 G90", "inc 5 0 0", "G90 X10", "abs 5 0 0"},
    });
}

TEST(SinumerikBlock, PairsIncrementsWithThePositionOfTheSameProgramAxis) {
    // The tracked position is held in block axes: its Y is the program's Z and its Z the
    // program's Y. Position (10, 20, 30): program Y is at 30, program Z at 20.
    checkCases({
        {Sn, "V5", "abs 10 20 30", "Z35"},
        {Sn, "W5", "abs 10 20 30", "Y25"},
        {Sn, "G91 W2", "abs 10 20 30", "G91 Y2", "inc 10 20 30"},
        {Sn, "Z5 G91", "abs 10 20 30", "G91 Y-15", "inc 10 20 30"},
        {Sn, "Y5 K1 G90", "inc 10 20 30", "G90 J21 Z35", "abs 10 20 30"},
    });
}

TEST(NumeripathBlock, KeepsEveryMWordAndTakesSpeedsAsSurfaceSpeed) {
    checkCases({
        {Np, "G96 S200 M3", kOrigin, "G96 G96 M#3 S200"},
        {Np, "G92 S2500", kOrigin, "G92 S2500"},
        {Np, "S2500 G92", kOrigin, "G96 G92 S2500"},
        {Np, "T0101", kOrigin, "T#101"},
        {Np, "G2 X10 Y5 I2 J0", kOrigin, "G2 I2 K0 X10 Z5"},
        {Np, "G17 G18 G19", kOrigin, "G17 G18 G19"},
        {Np, "M8", kOrigin, "M#8"},
        {Np, "X10", kOrigin, "X10"},
        {Np, "LF5", kOrigin, "LF5"},
        {Np, "G1 X10 ! FAST", kOrigin, "G1 X10", nullptr, " FAST"},
        {Np, "G1 X10 ; FAST", kOrigin, "G1 X10"},
        {Np, "TC(3)", kOrigin, "", nullptr, "3"},
        {Np, "/N20 G0 X5", kOrigin, "", nullptr, "N20 G0 X5"},
        {Np, "V5", "abs 10 20 30", "Z35"},
    });
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
