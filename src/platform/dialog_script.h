// The user's actions on a dialog, written as a script (the MORVANE_DIALOG grammar):
//   actions separated by ';', blanks around an action ignored, empty actions skipped;
//   select TEXT | click NAME | check NAME | uncheck NAME | file PATH | file | terminal
// "terminal" hands the dialog, as the actions before it left it, to the user in the terminal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane::platform {

struct DialogAction {
    enum class Verb { Select, Click, Check, Uncheck, File, Terminal };
    Verb verb;
    std::string argument;  // entry text, control name or path; empty for "file" alone
};

// Unknown verbs and actions missing their argument (other than "file") are dropped.
std::vector<DialogAction> parseDialogScript(std::string_view script);

}  // namespace morvane::platform
