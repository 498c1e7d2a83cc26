// The report of `morvane check` on one program: text for the machinist, or one JSON document
// (schema morvane-check/1, docs/cli.md).
#pragma once

#include <string>

#include "nci/path_compare.h"
#include "program_run.h"

namespace morvane::cli {

std::string checkText(const ProgramRun& run, double rapidRate);
std::string checkJson(const ProgramRun& run, double rapidRate, bool corrected);

// "1:23.4" (minutes and seconds), "1:02:03.0" past an hour.
std::string clockTime(double seconds);

}  // namespace morvane::cli
