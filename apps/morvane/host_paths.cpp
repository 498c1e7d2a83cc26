#include "host_paths.h"

#include <cstdlib>
#include <filesystem>

#include "platform/file_system.h"

namespace morvane::cli {

namespace {

// An environment variable that is set to a non-empty text.
const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

}  // namespace

HostPaths locateHost() {
    return {platform::directoryOf(platform::executablePath())};
}

std::vector<std::string> pluginCandidates(const HostPaths& host) {
    std::vector<std::string> candidates;
    if (const char* explicitPath = environment("MORVANE_PLUGIN")) {
        candidates.emplace_back(explicitPath);
        return candidates;
    }
    for (const char* place : {"/libmorvane.so", "/../lib/libmorvane.so", "/../libmorvane.so"})
        candidates.push_back(std::filesystem::path(host.hostDirectory + place).lexically_normal());
    return candidates;
}

std::optional<std::string> configFilePath() {
    // A relative XDG_CONFIG_HOME is invalid and must be ignored.
    const char* xdg = environment("XDG_CONFIG_HOME");
    if (xdg != nullptr && *xdg == '/') return std::string(xdg) + "/morvane/plugin.conf";
    if (const char* home = environment("HOME"))
        return std::string(home) + "/.config/morvane/plugin.conf";
    return std::nullopt;
}

}  // namespace morvane::cli
