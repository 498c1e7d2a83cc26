// Test support: a parsed block written as one line of words, to compare whole blocks at once:
// the G codes in their order, then every defined slot in slot order with its value, "#" before
// an integer word ("G91 G1 M#8 X-90"). Values are written exactly (the shortest text that reads
// back as the same double).
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <utility>

#include "nci/block.h"

namespace morvane::test {

inline std::string exactNumber(double v) {
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

inline std::string slotName(std::uint32_t slot) {
    constexpr std::pair<std::uint32_t, const char*> kNames[] = {
        {addr::Percent, "%"}, {addr::Dollar, "$"},  {addr::LF, "LF"},
        {addr::TC, "TC"},     {addr::LIMS, "LIMS"}, {addr::CR, "CR"}};
    if (slot < 26) return std::string(1, static_cast<char>('A' + slot));
    for (const auto& [index, name] : kNames)
        if (index == slot) return name;
    return "[" + std::to_string(slot) + "]";
}

inline std::string blockWords(const block& b) {
    std::string text;
    for (const std::int32_t g : b.gcodes)
        text += "G" + std::to_string(g) + " ";
    for (std::uint32_t slot = 0; slot < kVariableCount; ++slot) {
        if (!b.has(slot)) continue;
        const varstorage& v = b.vars[slot];
        text += slotName(slot);
        if (v.Kind() == varstorage::kInt)
            text += "#" + std::to_string(v.AsInt());
        else if (v.Kind() == varstorage::kDouble)
            text += exactNumber(b.getDouble(slot));
        else
            text += "?";
        text += ' ';
    }
    if (!text.empty()) text.pop_back();
    return text;
}

}  // namespace morvane::test
