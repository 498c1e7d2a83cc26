// `morvane check FILE...`: the figures and diagnostics of each program, nothing written.
#pragma once

#include <string>
#include <vector>

#include "exit_status.h"

namespace morvane::cli {

ExitStatus runCheck(const std::vector<std::string>& arguments);

}  // namespace morvane::cli
