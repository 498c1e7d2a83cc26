// The settings a converter file may give the post-processor, with the values each accepts. A
// known key with a wrong value rejects the file; unknown sections and keys are kept and ignored,
// so that a newer converter file still reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morvane::post {

enum class ValueKind : std::uint8_t {
    Text,    // anything
    Choice,  // one of the blank-separated words in `choices`
    Whole,   // a whole number from `min` to `max`
    Name,    // 1 to 32 letters, digits, '_' or '-' (a program name)
};

struct SettingSpec {
    std::string_view section;
    std::string_view key;
    ValueKind kind;
    std::string_view choices;
    std::int32_t min;
    std::int32_t max;
    std::string_view meaning;  // how the reason for a wrong value reads
};

inline constexpr SettingSpec kSettingSpecs[] = {
    {"converter", "output", ValueKind::Choice, "iso heidenhain", 0, 0, "iso or heidenhain"},
    {"format", "decimals", ValueKind::Whole, "", 0, 6, "a whole number from 0 to 6"},
    {"format", "feed-decimals", ValueKind::Whole, "", 0, 6, "a whole number from 0 to 6"},
    {"format", "angle-decimals", ValueKind::Whole, "", 0, 6, "a whole number from 0 to 6"},
    {"format", "trailing-zeros", ValueKind::Choice, "yes no", 0, 0, "yes or no"},
    {"format", "line-numbers", ValueKind::Choice, "yes no", 0, 0, "yes or no"},
    {"format", "line-number-start", ValueKind::Whole, "", 0, 99999999,
     "a whole number from 0 to 99999999"},
    {"format", "line-number-step", ValueKind::Whole, "", 1, 10000,
     "a whole number from 1 to 10000"},
    {"format", "line-number-max", ValueKind::Whole, "", 1, 99999999,
     "a whole number from 1 to 99999999"},
    {"format", "arcs", ValueKind::Choice, "ijk r", 0, 0, "ijk or r"},
    {"format", "peck-cycle", ValueKind::Choice, "G83 G73", 0, 0, "G83 or G73"},
    {"format", "units", ValueKind::Choice, "mm inch", 0, 0, "mm or inch"},
    {"format", "default-feed", ValueKind::Whole, "", 1, 100000,
     "a whole number from 1 to 100000"},
    {"format", "program-name", ValueKind::Name, "", 0, 0, "1 to 32 letters, digits, '_' or '-'"},
    {"program-start", "line", ValueKind::Text, "", 0, 0, ""},
    {"program-end", "line", ValueKind::Text, "", 0, 0, ""},
    {"reference-return", "line", ValueKind::Text, "", 0, 0, ""},
};

// Checks `value` against the description of `section`/`key`. True for a fitting value and for a key
// that has no description; otherwise false with the reason ("decimals is a whole number from 0 to 6").
bool checkSetting(std::string_view section, std::string_view key, std::string_view value,
                  std::string& reason);

// A character of a program name: a letter, a digit, '_' or '-'.
constexpr bool isProgramNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-';
}

// A whole number in `value` (digits only, at most nine); nothing else is read as one.
bool readWhole(std::string_view value, std::int32_t& number);

}  // namespace morvane::post
