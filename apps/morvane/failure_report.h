// What the host can tell the user about a run that did not deliver a result. An error the
// plug-in reported decides (its diagnostic, already printed, names the file and the reason);
// otherwise the host reasons from what it received: no "SELECTION_ONLY" means the dialog was
// closed without OK, no "PLUGIN_CONFIG" means the run stopped, no result line means the
// conversion produced nothing. A converter file is checked with the post-processor's own reader
// to say which of its lines is wrong.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "diagnostic_report.h"
#include "editor_host.h"
#include "exit_status.h"
#include "formats/source_formats.h"

namespace morvane::cli {

struct RunContext {
    bool interactive = false;                   // the dialog was in the terminal
    SourceFormat format = SourceFormat::Fanuc;  // the format selected by the host (scripted)
    std::string converterPath;       // the converter in use as far as the host knows; empty: none
    bool longhandCycles = false;     // cycles expanded, as far as the host knows
    std::string resultFile;          // where the host kept the result lines
    std::string temporaryDirectory;  // where the plug-in's working directory is
    bool workingFileSystemFull = false;  // ... and it has no room left
};

// Nothing when the run delivered its whole result. `diagnostics` are the run's, a
// limit-reached that the user accepts (--allow-truncated) already made a warning.
std::optional<Failure> explainRun(const Observations& seen,
                                  const std::vector<HostDiagnostic>& diagnostics,
                                  const RunContext& context);

// The hint given once when results were cut short at a bound.
inline constexpr const char* kLimitHint =
    "raise the bound with --max-output SIZE (e.g. 4G), or keep the cut result with "
    "--allow-truncated";

}  // namespace morvane::cli
