// The post-processor's warnings as diagnostics. Morvane's post library writes them beside its
// result (the result's path + ".warnings", one "NCI-LINE: text" a line); each becomes a
// post-warning at the program line the NCI line comes from. Other post-processors write no such
// file, and nothing is reported.
#pragma once

#include <string>

#include "nci/diagnostics.h"

namespace morvane {

// Reports the warnings of the side file of `resultPath` (when diagnostics are wanted) and
// removes the file.
void reportPostWarnings(const std::string& resultPath, Diagnostics& diagnostics);

}  // namespace morvane
