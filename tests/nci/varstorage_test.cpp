// The variable value and the block's variable array: reading rules, the last index standing for
// every larger one, and what a new block keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "nci/block.h"
#include "nci/varstorage.h"

namespace morvane {
namespace {

struct ReadCase {
    const char* what;
    varstorage value;
    double asNumber;
    std::int32_t asInteger;
};

TEST(Varstorage, ReadingAsNumberAndAsInteger) {
    varstorage text;
    text.setString("12");
    const ReadCase cases[] = {
        {"int 7", varstorage(std::int32_t{7}), 7.0, 7},
        {"double 2.5", varstorage(2.5), 2.5, 0},  // not 2: a double is no int
        {"double 3.0", varstorage(3.0), 3.0, 0},
        {"string", text, 0.0, 0},
        {"undefined", varstorage(), 0.0, 0},
        {"int minimum", varstorage(std::int32_t{-2147483647 - 1}), -2147483648.0, -2147483647 - 1},
    };
    for (const ReadCase& c : cases) {
        EXPECT_EQ(c.value.numeric(), c.asNumber) << c.what;
        EXPECT_EQ(c.value.integral(), c.asInteger) << c.what;
    }
}

TEST(Block, IndicesFrom511UpShareTheLastVariable) {
    block b;
    b.setDouble(700, 4.5);
    EXPECT_TRUE(b.has(511));
    EXPECT_TRUE(b.has(600));
    EXPECT_EQ(b.getDouble(511), 4.5);
    EXPECT_EQ(b.getDouble(100000), 4.5);
}

TEST(Block, ResetClearsCodesAndDefinedBitsButKeepsValues) {
    block b;
    b.setDouble(addr::X, 10.0);
    b.setInt(addr::M, 30);
    b.gcodes = {1, 41};
    b.line = 12;
    b.reset();
    EXPECT_FALSE(b.has(addr::X));
    EXPECT_FALSE(b.has(addr::M));
    EXPECT_TRUE(b.gcodes.empty());
    EXPECT_EQ(b.line, 0u);
    EXPECT_EQ(b.getDouble(addr::X), 10.0);
    EXPECT_EQ(b.getMCode(), 30);
    b.setDouble(addr::M, 6.0);
    EXPECT_EQ(b.getMCode(), 0);  // an M stored as a double is no M code
}

TEST(Block, WrittenWordsAreVisitedInOrderAcrossWords) {
    VariableSet words;
    for (const std::uint32_t i : {511u, 0u, 64u, 63u, 200u, 65u})
        words.set(i);
    words.set(200, false);
    std::vector<std::uint32_t> visited;
    words.forEach([&](std::uint32_t i) { visited.push_back(i); });
    EXPECT_EQ(visited, (std::vector<std::uint32_t>{0, 63, 64, 65, 511}));
    EXPECT_TRUE(words.test(511));
    EXPECT_FALSE(words.test(200));
    words.set();
    std::size_t all = 0;
    words.forEach([&](std::uint32_t) { ++all; });
    EXPECT_EQ(all, kVariableCount);
    words.reset();
    words.forEach([](std::uint32_t i) { ADD_FAILURE() << i; });
}

}  // namespace
}  // namespace morvane
