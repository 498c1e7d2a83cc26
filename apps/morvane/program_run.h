// One program read through the library for `check` and `show`: its file read, its format
// recognised (or given), its tool path handed on event by event and summed up.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "exit_status.h"
#include "morvane/convert.hpp"
#include "path_figures.h"
#include "view_options.h"

namespace morvane::cli {

struct ProgramRun {
    std::string file;
    ProgramFormat format = ProgramFormat::Fanuc;
    ConvertResult result;
    std::vector<ConversionDiagnostic> diagnostics;
    PathFigures figures;

    bool hasWarning() const;
};

// Reads and converts `file`; each event also goes to `onEvent` when given. A failure when the
// file cannot be read or its format is not recognised; a conversion that fails is in `run`.
std::optional<Failure> runProgram(const std::string& file, const ViewOptions& options,
                                  const std::function<void(const PathEvent&)>& onEvent,
                                  ProgramRun& run);

// "FILE:LINE: SEVERITY: MESSAGE [CODE]", as `convert` prints them.
std::string diagnosticText(const std::string& file, const ConversionDiagnostic& diagnostic);

}  // namespace morvane::cli
