// The command lines of `morvane check` and `morvane show`, which read programs through the
// library and write nothing but their report or picture.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "exit_status.h"
#include "morvane/convert.hpp"

namespace morvane::cli {

enum class View { Top, Front, Side, Iso };

struct ViewOptions {
    std::vector<std::string> inputs;
    std::optional<ProgramFormat> from;  // --from; else recognised per input
    bool exact = false;                 // --exact: the exact semantics
    double rapid = 5000.0;              // --rapid MM_PER_MIN
    bool json = false;                  // check --json
    bool strict = false;                // check --strict: a warning fails
    std::optional<std::string> output;  // show -o FILE.svg|FILE.html
    View view = View::Top;              // show --view
    double tolerance = 0.01;            // show --tolerance
    bool help = false;
};

// Parses the arguments after `check` or `show`; false with a message for a bad one.
bool parseViewOptions(const std::vector<std::string>& arguments, bool show, ViewOptions& options,
                      std::string& error);

// Parses the arguments of check (`show` false) or show; the exit status when the command ends
// there: a usage error (said on standard error) or the help (printed).
std::optional<ExitStatus> startViewCommand(const std::vector<std::string>& arguments, bool show,
                                           ViewOptions& options);

std::string checkHelp();
std::string showHelp();

}  // namespace morvane::cli
