// What `morvane convert` sets up once for all its inputs: the plug-in, the post-processor's
// libraries checked, the translation, the converter, the stored configuration, the scratch
// directory, the progress bar and the diagnostics printer.
#pragma once

#include <optional>
#include <string>

#include "command_line.h"
#include "converter_catalog.h"
#include "diagnostic_report.h"
#include "exit_status.h"
#include "host_paths.h"
#include "locale_file.h"
#include "plugin_library.h"
#include "plugin_session.h"
#include "progress_bar.h"

namespace morvane::cli {

// "morvane: SUBJECT: MESSAGE" on standard error (no subject: "morvane: MESSAGE").
void say(const std::string& subject, const std::string& message);

struct ConvertSession {
    const ConvertOptions& options;
    HostPaths host;
    PluginLibrary plugin;
    LocaleTable locale;
    bool localised = false;
    std::optional<ConverterEntry> converter;  // --converter
    std::optional<std::string> configPath;    // where the configuration is stored
    std::optional<std::string> config;        // the configuration handed to the next action
    ScratchDirectory scratch;
    ProgressBar progress;
    bool canInteract;
    DiagnosticPrinter diagnostics;
    bool limitHintGiven = false;
    bool wroteStandardOutput = false;

    explicit ConvertSession(const ConvertOptions& o);
};

// Loads the plug-in and reads what the options name; the failure says what is wrong.
std::optional<Failure> prepareSession(ConvertSession& s);

}  // namespace morvane::cli
