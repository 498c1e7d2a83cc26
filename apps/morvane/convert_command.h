// `morvane convert`: loads the plug-in, and for each input serves the program, drives the
// dialog, keeps the result on disk and places it.
#pragma once

#include "command_line.h"
#include "exit_status.h"

namespace morvane::cli {

// Runs the conversions; messages go to standard error. The worst status of them all.
ExitStatus runConvert(const ConvertOptions& options);

}  // namespace morvane::cli
