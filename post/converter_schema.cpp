#include "converter_schema.h"

#include <charconv>

namespace morvane::post {

namespace {

bool isChoice(std::string_view choices, std::string_view value) {
    while (!choices.empty()) {
        const std::size_t blank = choices.find(' ');
        if (choices.substr(0, blank) == value) return true;
        if (blank == std::string_view::npos) break;
        choices.remove_prefix(blank + 1);
    }
    return false;
}

bool fits(const SettingSpec& spec, std::string_view value) {
    switch (spec.kind) {
        case ValueKind::Text:
            return true;
        case ValueKind::Choice:
            return isChoice(spec.choices, value);
        case ValueKind::Whole: {
            std::int32_t number = 0;
            return readWhole(value, number) && number >= spec.min && number <= spec.max;
        }
        case ValueKind::Name: {
            if (value.empty() || value.size() > 32) return false;
            for (char c : value)
                if (!isProgramNameChar(c)) return false;
            return true;
        }
    }
    return false;
}

}  // namespace

bool readWhole(std::string_view value, std::int32_t& number) {
    if (value.empty() || value.size() > 9) return false;
    for (char c : value)
        if (c < '0' || c > '9') return false;
    return std::from_chars(value.data(), value.data() + value.size(), number).ec == std::errc();
}

bool checkSetting(std::string_view section, std::string_view key, std::string_view value,
                  std::string& reason) {
    for (const SettingSpec& spec : kSettingSpecs) {
        if (spec.section != section || spec.key != key) continue;
        if (fits(spec, value)) return true;
        reason.assign(key);
        reason += " is ";
        reason += spec.meaning;
        return false;
    }
    return true;
}

}  // namespace morvane::post
