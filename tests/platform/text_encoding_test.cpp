// UTF-8 to wide text and back: valid text converts exactly, any byte sequence survives the
// round trip, and nothing invalid crashes.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "text/text_encoding.h"

namespace morvane {
namespace {

// Valid text converts exactly both ways; invalid bytes become escapes that convert back to them.
TEST(TextEncoding, TextConvertsBothWays) {
    const auto escaped = [](unsigned char b) { return static_cast<wchar_t>(0xDC00 + b); };
    const std::pair<std::string, std::wstring> cases[] = {
        {"", L""},
        {"G&L Numeripath", L"G&L Numeripath"},
        {"Fr\xC3\xA4se \xC3\x98"
         "6",
         L"Fräse Ø6"},                                                         // two bytes
        {"\xE2\x82\xAC \xE2\x88\x85", L"\u20AC \u2205"},                       // three bytes
        {"\xF0\x9F\x94\xA7", std::wstring(1, static_cast<wchar_t>(0x1F527))},  // four bytes
        {"\xF4\x8F\xBF\xBF", std::wstring(1, static_cast<wchar_t>(0x10FFFF))},
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"\x80", {escaped(0x80)}},                                        // lone continuation
        {"\xC3", {escaped(0xC3)}},                                        // truncated
        {"\xC3x", {escaped(0xC3), L'x'}},                                 // broken sequence
        {"\xC0\xAF", {escaped(0xC0), escaped(0xAF)}},                     // overlong '/'
        {"\xE0\x80\xAF", {escaped(0xE0), escaped(0x80), escaped(0xAF)}},  // overlong
        {"\xED\xA0\x80", {escaped(0xED), escaped(0xA0), escaped(0x80)}},  // encoded surrogate
        {"\xF4\x90\x80\x80", {escaped(0xF4), escaped(0x90), escaped(0x80), escaped(0x80)}},
        {"\xFF\xFE", {escaped(0xFF), escaped(0xFE)}},
        {"a\xE2\x82", {L'a', escaped(0xE2), escaped(0x82)}},  // cut at the end of the text
    };
    for (const auto& [utf8, wide] : cases) {
        EXPECT_EQ(utf8ToWide(utf8), wide) << testing::PrintToString(utf8);
        EXPECT_EQ(wideToUtf8(wide), utf8) << testing::PrintToString(utf8);
    }
}

TEST(TextEncoding, AnyByteSequenceRoundTrips) {
    for (int b = 0; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(wideToUtf8(utf8ToWide(one)), one) << b;
    }
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int trial = 0; trial < 2000; ++trial) {
        std::string bytes(static_cast<std::size_t>(trial % 40), '\0');
        for (char& c : bytes)
            c = static_cast<char>(byte(random));
        ASSERT_EQ(wideToUtf8(utf8ToWide(bytes)), bytes) << trial;
    }
}

TEST(TextEncoding, WideCharactersOutsideUnicodeBecomeReplacementCharacters) {
    const std::string replacement = "\xEF\xBF\xBD";
    const wchar_t invalid[] = {static_cast<wchar_t>(0xD800),   static_cast<wchar_t>(0xDBFF),
                               static_cast<wchar_t>(0xDC7F),   static_cast<wchar_t>(0xDD00),
                               static_cast<wchar_t>(0x110000), static_cast<wchar_t>(-1)};
    for (wchar_t wc : invalid)
        EXPECT_EQ(wideToUtf8(std::wstring(1, wc)), replacement) << static_cast<long>(wc);
}

}  // namespace
}  // namespace morvane
