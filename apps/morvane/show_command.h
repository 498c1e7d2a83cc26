// `morvane show FILE [FILE2] -o OUT.svg|OUT.html`: a picture of the tool path; two programs
// are drawn one over the other and compared.
#pragma once

#include <string>
#include <vector>

#include "exit_status.h"

namespace morvane::cli {

ExitStatus runShow(const std::vector<std::string>& arguments);

}  // namespace morvane::cli
