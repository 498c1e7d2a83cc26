// The ISO block parser beyond one line's words (parsers/blocks.txt has those): the offset it
// starts at and the exchange of slots.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "parsers/iso/block_parser.h"

namespace morvane::iso {
namespace {

using namespace addr;

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
