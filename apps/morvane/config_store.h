// The plug-in's configuration string as the host keeps it between runs: stored after every
// action that sent one ("PLUGIN_CONFIG"), handed back with the option PLUGIN_CONFIG before the
// next action. The host also reads the few settings it explains failures and names files with.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane::cli {

// Reads the stored string; nothing when there is none (or it cannot be read).
std::optional<std::string> loadConfig(const std::string& path);
// Stores `text` atomically (a new file renamed over the old one), creating the directory with
// mode 0700. False with the reason in `error`.
bool storeConfig(const std::string& path, std::string_view text, std::string& error);

// The settings of a configuration string that the host looks at. The string is a list of
// `key=value;` entries with "=" written as "\EQ" and ";" as "\SC" (docs/plugin.md).
struct ConfigSummary {
    bool outputToNci = false;     // OutputToNCI=True
    bool longhandCycles = false;  // UseLonghandCycles=True
    std::string converterPath;    // PostProcessor, UTF-8; empty when none
};

ConfigSummary summarizeConfig(std::string_view text);

// `text` with the value of every entry `key` (a plain word) replaced by `value`.
std::string withSetting(std::string_view text, std::string_view key, std::string_view value);

}  // namespace morvane::cli
