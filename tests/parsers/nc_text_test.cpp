// Decimal numbers as every dialect reads them: the "C" locale's reading of the longest valid
// prefix, without the locale of the process.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "parsers/nc_text.h"

namespace morvane::nctext {
namespace {

struct PrefixCase {
    const char* text;
    double value;
};

TEST(DecimalPrefix, TakesTheLongestValidPrefixAsTheCLocaleDoes) {
    const PrefixCase cases[] = {
        {"10", 10.0},
        {"1,5", 1.0},
        {"1-2", 1.0},
        {"--5", 0.0},
        {".5", 0.5},
        {"5.", 5.0},
        {"+5", 5.0},
        {"+.5", 0.5},
        {"+-5", 0.0},
        {"-+5", 0.0},
        {"++5", 0.0},
        {"", 0.0},
        {".", 0.0},
        {"-", 0.0},
        {"+", 0.0},
        {",5", 0.0},
        {"-.25", -0.25},
        {"007", 7.0},
        {"1.2.3", 1.2},
        {"12.5,", 12.5},
        {"-12.345", -12.345},
        // Far beyond any NC value, still an exact decimal reading.
        {"1000000000000000000000000000000000000000", 1e39},
    };
    for (const PrefixCase& c : cases)
        EXPECT_EQ(decimalPrefixValue(c.text), c.value) << c.text;
}

TEST(DecimalPrefix, AgreesWithTheCLibraryReadingBitForBit) {
    // The test process runs in the "C" locale, where strtod is the reference reading. Random
    // texts over the characters a number collects, and the edges of the exact short path:
    // 2^53 and 22 decimals.
    std::vector<std::string> texts = {
        "9007199254740991",
        "9007199254740992",
        "9007199254740993",
        "900719925474099.3",
        "0.1234567890123456789012",
        "0.12345678901234567890123",
        "1.7976931348623157",
        "123456789012345678901234567890",
        "-0.000",
        "0.30000000000000004",
        "2.675",
    };
    std::mt19937 random(12345);
    const std::string alphabet = "0123456789.-,+";
    for (int i = 0; i < 20000; ++i) {
        std::string text(1 + random() % 30, ' ');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        const double expected = std::strtod(text.c_str(), nullptr);
        const double actual = decimalPrefixValue(text);
        EXPECT_EQ(std::memcmp(&expected, &actual, sizeof(double)), 0)
            << text << ": " << actual << " instead of " << expected;
    }
}

TEST(DecimalPrefix, KeepsTheSignOfNegativeZero) {
    EXPECT_TRUE(std::signbit(decimalPrefixValue("-0")));
    EXPECT_TRUE(std::signbit(decimalPrefixValue("-0.000")));
    EXPECT_FALSE(std::signbit(decimalPrefixValue("0")));
}

}  // namespace
}  // namespace morvane::nctext
