#include <array>

#include "frontend/plugin_state.h"

namespace morvane {

namespace {

// Calls `piece` for each piece of `text` split at `separator`: a separator at the very end
// yields no further piece, two adjacent separators yield an empty piece, and an empty text yields
// none (the reading of a getline loop). Stops early when `piece` returns false.
template <typename Visit>
void forEachPiece(std::string_view text, char separator, Visit piece) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (!piece(text.substr(start, end - start))) return;
        start = end + 1;
    }
}

// Replaces every occurrence of `from` by `to`, scanning left to right without overlap.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t hit = text.find(from); hit != std::string_view::npos;
         hit = text.find(from, start)) {
        out.append(text.substr(start, hit - start)).append(to);
        start = hit + from.size();
    }
    out.append(text.substr(start));
    return out;
}

}  // namespace

void insertIfAbsent(OptionMap& map, std::string_view key, std::string_view value) {
    if (map.find(key) == map.end()) map.emplace(std::string(key), std::string(value));
}

const std::string& lookupOrInsert(OptionMap& map, std::string_view key) {
    auto it = map.find(key);
    if (it == map.end()) it = map.emplace(std::string(key), std::string()).first;
    return it->second;
}

void assignSetting(OptionMap& map, std::string_view key, std::string_view value) {
    auto it = map.find(key);
    if (it == map.end()) {
        map.emplace(std::string(key), std::string(value));
    } else {
        it->second.assign(value);
    }
}

const std::string* findSetting(const OptionMap& map, std::string_view key) {
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}

void setOption(PluginState& state, std::string_view name, std::string_view value) {
    if (name == kPluginConfigName) {
        parseConfigString(value, state.config);
    } else {
        insertIfAbsent(state.options, name, value);
    }
}

void clearOptions(PluginState& state) {
    state.options.clear();
    state.config.clear();
}

std::string escapeConfigText(std::string_view text) {
    return replaceAll(replaceAll(text, "=", "\\EQ"), ";", "\\SC");
}

std::string unescapeConfigText(std::string_view text) {
    return replaceAll(replaceAll(text, "\\EQ", "="), "\\SC", ";");
}

void parseConfigString(std::string_view text, OptionMap& config) {
    forEachPiece(text, ';', [&config](std::string_view piece) {
        // Only a piece of exactly two parts is an entry; a third part is enough to reject it.
        std::array<std::string_view, 3> parts;
        std::size_t count = 0;
        forEachPiece(piece, '=', [&](std::string_view part) {
            parts[count++] = part;
            return count < parts.size();
        });
        if (count == 2)
            insertIfAbsent(config, unescapeConfigText(parts[0]), unescapeConfigText(parts[1]));
        return true;
    });
}

std::string buildConfigString(const OptionMap& config) {
    std::string text;
    std::string piece;
    for (const auto& [key, value] : config) {
        piece = escapeConfigText(key);
        piece += '=';
        piece += escapeConfigText(value);
        piece += ';';
        if (text.size() + piece.size() <= kConfigStringLimit) text += piece;
    }
    return text;
}

}  // namespace morvane
