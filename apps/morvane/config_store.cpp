#include "config_store.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <utility>

#include "morvane/plugin_api.h"
#include "output_file.h"
#include "platform/file_system.h"

namespace morvane::cli {

namespace {

// The plug-in never builds a longer string than 12000 characters; leave room for edits.
constexpr std::size_t kMaxConfigFileSize = 1 << 16;

std::string replaceAll(std::string_view text, std::string_view from, char to) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, from.size()) == from) {
            out += to;
            i += from.size() - 1;
        } else {
            out += text[i];
        }
    }
    return out;
}

// "\EQ" becomes "=", then "\SC" becomes ";", as the plug-in reads its own string.
std::string unescape(std::string_view text) {
    return replaceAll(replaceAll(text, "\\EQ", '='), "\\SC", ';');
}

// Creates every missing directory of `directory`'s path with mode 0700.
bool makeDirectories(const std::string& directory, std::string& error) {
    for (std::size_t slash = directory.find('/', 1);; slash = directory.find('/', slash + 1)) {
        const std::string part = directory.substr(0, slash);
        if (!part.empty() && ::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot create " + part + ": " + std::strerror(errno);
            return false;
        }
        if (slash == std::string::npos) return true;
    }
}

}  // namespace

std::optional<std::string> loadConfig(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string text(kMaxConfigFileSize, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    // A line feed at the end is an editor's, not the plug-in's.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

bool storeConfig(const std::string& path, std::string_view text, std::string& error) {
    if (!makeDirectories(platform::directoryOf(path), error)) return false;
    return writeWholeFile(path, std::string(text) + '\n', 0600, error);
}

ConfigSummary summarizeConfig(std::string_view text) {
    ConfigSummary summary;
    bool seenNci = false, seenLonghand = false, seenConverter = false;
    while (!text.empty()) {
        std::size_t end = text.find(';');
        if (end == std::string_view::npos) end = text.size();
        const std::string_view entry = text.substr(0, end);
        text.remove_prefix(end == text.size() ? end : end + 1);
        const std::size_t equals = entry.find('=');
        // An entry is exactly key=value: no second '=', no empty value; the first one counts.
        if (equals == std::string_view::npos || equals + 1 == entry.size() ||
            entry.find('=', equals + 1) != std::string_view::npos)
            continue;
        const std::string key = unescape(entry.substr(0, equals));
        const std::string value = unescape(entry.substr(equals + 1));
        if (key == MORVANE_CONFIG_OUTPUT_TO_NCI && !std::exchange(seenNci, true))
            summary.outputToNci = value == MORVANE_CONFIG_TRUE;
        if (key == MORVANE_CONFIG_USE_LONGHAND_CYCLES && !std::exchange(seenLonghand, true))
            summary.longhandCycles = value == MORVANE_CONFIG_TRUE;
        if (key == MORVANE_CONFIG_POST_PROCESSOR && !std::exchange(seenConverter, true))
            summary.converterPath = value;
    }
    return summary;
}

std::string withSetting(std::string_view text, std::string_view key, std::string_view value) {
    std::string result;
    while (!text.empty()) {
        std::size_t end = text.find(';');
        end = end == std::string_view::npos ? text.size() : end + 1;
        const std::string_view entry = text.substr(0, end);
        text.remove_prefix(end);
        const bool same = entry.starts_with(key) && entry.substr(key.size()).starts_with('=');
        if (!same) {
            result += entry;
            continue;
        }
        result.append(key).append("=").append(value);
        if (entry.ends_with(';')) result += ';';
    }
    return result;
}

}  // namespace morvane::cli
