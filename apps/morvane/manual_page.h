// The manual page morvane(1) and the bash completion, both made from the help texts of the
// commands (`morvane --help`, `morvane COMMAND --help`), so that neither can drift from them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane::cli {

struct HelpPage {
    std::string_view command;  // empty: `morvane --help`
    std::string text;
};

// Every help text, the program's first.
std::vector<HelpPage> helpPages();

// The page in man(7) roff: each help text as it is, options as tagged paragraphs.
std::string manualPage(std::string_view version);

// A bash completion script: commands, each command's options, formats, converter names (asked
// of `morvane converters`), the words of an option's choices, files and directories.
std::string bashCompletion();

}  // namespace morvane::cli
