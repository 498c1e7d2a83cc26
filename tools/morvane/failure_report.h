// What the host can tell the user about a run that did not deliver a result. The plug-in
// reports nothing itself; the host reasons from what it received: no "SELECTION_ONLY" means the
// dialog was closed without OK, no "PLUGIN_CONFIG" means the run stopped, no result line means
// the conversion produced nothing. A converter file is checked with the post-processor's own
// reader to say which of its lines is wrong.
#pragma once

#include <optional>
#include <string>

#include "editor_host.h"
#include "exit_status.h"
#include "source_formats.h"

namespace morvane::cli {

struct RunContext {
    bool interactive = false;                   // the dialog was in the terminal
    SourceFormat format = SourceFormat::Fanuc;  // the format selected by the host (scripted)
    std::string converterPath;    // the converter in use as far as the host knows; empty: none
    bool longhandCycles = false;  // cycles expanded, as far as the host knows
};

// Nothing when the run delivered result lines.
std::optional<Failure> explainRun(const Observations& seen, const RunContext& context);

}  // namespace morvane::cli
