// The plug-in's one global state and the option store over it: plain data and functions, no OS
// calls, so that the conversion front end and the tests can use them directly.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "morvane/plugin_api.h"

namespace morvane {

// Text-to-text map with keys ordered bytewise (the ordering of std::string).
using OptionMap = std::map<std::string, std::string, std::less<>>;

// Lives from library load to unload. The dialog, the driver and the action hold a plain pointer.
struct PluginState {
    OptionMap options;                         // TeskPlugin_SetOption (first value of a name wins)
    OptionMap config;                          // PLUGIN_CONFIG option; rewritten by each conversion
    LineSource* lineSource = nullptr;          // TeskPlugin_attatchLineSource
    ResultStream* resultStream = nullptr;      // TeskPlugin_attatchResultStream
    LocalizeSource* localizeSource = nullptr;  // TeskPlugin_attatchLocalizeSource
};

// Option and property names (include/morvane/plugin_api.h) and the settings kept in the
// configuration.
inline constexpr std::string_view kPluginConfigName = MORVANE_OPTION_PLUGIN_CONFIG;
inline constexpr std::string_view kSelectionOption = MORVANE_OPTION_SELECTION;
inline constexpr std::string_view kDiagnosticsOption = MORVANE_OPTION_DIAGNOSTICS;
inline constexpr std::string_view kMaxOutputOption = MORVANE_OPTION_MAX_OUTPUT;
inline constexpr std::string_view kSemanticsOption = MORVANE_OPTION_SEMANTICS;
inline constexpr std::string_view kOutputToNciKey = MORVANE_CONFIG_OUTPUT_TO_NCI;
inline constexpr std::string_view kPostProcessorKey = MORVANE_CONFIG_POST_PROCESSOR;
inline constexpr std::string_view kResInNewWindowKey = MORVANE_CONFIG_RESULT_IN_NEW_WINDOW;
inline constexpr std::string_view kSelectionOnlyKey = MORVANE_CONFIG_SELECTION_ONLY;
inline constexpr std::string_view kUseLonghandCyclesKey = MORVANE_CONFIG_USE_LONGHAND_CYCLES;

// The configuration string never grows beyond this many characters.
inline constexpr std::size_t kConfigStringLimit = 12000;

// Stored values of a switch ("True"/"False") and the values told to the host ("true"/"false").
constexpr std::string_view storedBool(bool on) {
    return on ? MORVANE_CONFIG_TRUE : MORVANE_CONFIG_FALSE;
}
constexpr std::string_view hostBool(bool on) {
    return on ? MORVANE_PROPERTY_TRUE : MORVANE_PROPERTY_FALSE;
}

// Host insertion rule: adds the entry only when the key is absent.
void insertIfAbsent(OptionMap& map, std::string_view key, std::string_view value);
// Reading rule of the dialog and driver: an absent key is entered with an empty value.
const std::string& lookupOrInsert(OptionMap& map, std::string_view key);
// Settings written by the dialog and the driver replace any value.
void assignSetting(OptionMap& map, std::string_view key, std::string_view value);
// Lookup without inserting; null when absent.
const std::string* findSetting(const OptionMap& map, std::string_view key);

// TeskPlugin_SetOption: PLUGIN_CONFIG is parsed into `config`, any other name goes to `options`.
void setOption(PluginState& state, std::string_view name, std::string_view value);
// TeskPlugin_ClearOptions: empties `options`, then `config`.
void clearOptions(PluginState& state);

// "=" becomes "\EQ", then ";" becomes "\SC"; nothing else is escaped.
std::string escapeConfigText(std::string_view text);
// "\EQ" becomes "=", then "\SC" becomes ";".
std::string unescapeConfigText(std::string_view text);
// Adds the entries of a configuration string to `config` by the insertion rule.
void parseConfigString(std::string_view text, OptionMap& config);
// Encodes `config` in key order; a piece that would cross the length limit is left out.
std::string buildConfigString(const OptionMap& config);

}  // namespace morvane
