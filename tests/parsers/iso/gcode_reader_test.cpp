// The G-code reader beyond the cases of parsers/words.txt: numbers of any length, words cut at
// 255 letters.
#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <utility>

#include "parsers/iso/gcode_reader.h"

namespace morvane::iso {
namespace {

TEST(ReadNumber, ReadsNumbersOfAnyLength) {
    const std::string zeros(300, '0');
    const std::pair<std::string, double> cases[] = {
        {zeros + "15", 15.0},
        {"0." + zeros + "5", 5e-301},
        {std::string(300, '1'), 1.1111111111111111e299},
        {"-" + std::string(400, '9'), -std::numeric_limits<double>::max()},  // beyond a double
        {"0." + std::string(400, '0') + "1", 0.0},                           // below one
        {"1" + zeros + " (a comment inside) 5", 1e301},  // collected across the comment
    };
    for (const auto& [text, value] : cases) {
        GCodeReader reader(kFanuc);
        std::size_t cursor = 0;
        EXPECT_DOUBLE_EQ(reader.readNumber(text, cursor), value) << text.substr(0, 20);
        EXPECT_EQ(cursor, text.size()) << text.substr(0, 20);
    }
}

TEST(ReadAddress, CutsAWordAfter255LettersAndGoesOnWithTheRest) {
    GCodeReader reader(kFanuc);
    const std::string line = std::string(255, 'A') + "X5";
    std::size_t cursor = 0;
    EXPECT_EQ(reader.readAddress(line, cursor), -1);
    EXPECT_EQ(cursor, 255u);
    EXPECT_EQ(reader.readAddress(line, cursor), static_cast<std::int32_t>(addr::X));
    EXPECT_EQ(reader.readNumber(line, cursor), 5.0);
}

// Several comments of one line, and the rest of a line after ";", "!" or "/", as the block
// parser meets them: tests/parsers/blocks.txt.

}  // namespace
}  // namespace morvane::iso
