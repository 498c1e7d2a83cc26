#include "platform/dialog_script.h"

#include <array>
#include <utility>

#include "text/blank_text.h"

namespace morvane::platform {

namespace {

using Verb = DialogAction::Verb;

struct VerbName {
    std::string_view name;
    Verb verb;
    bool needsArgument;
};

constexpr std::array<VerbName, 6> kVerbs = {{
    {"select", Verb::Select, true},
    {"click", Verb::Click, true},
    {"check", Verb::Check, true},
    {"uncheck", Verb::Uncheck, true},
    {"file", Verb::File, false},
    {"terminal", Verb::Terminal, false},
}};

}  // namespace

std::vector<DialogAction> parseDialogScript(std::string_view script) {
    std::vector<DialogAction> actions;
    while (!script.empty()) {
        std::size_t end = script.find(';');
        if (end == std::string_view::npos) end = script.size();
        const std::string_view action = trimBlanks(script.substr(0, end));
        script.remove_prefix(end == script.size() ? end : end + 1);

        std::size_t blank = 0;
        while (blank < action.size() && !isBlank(action[blank]))
            ++blank;
        const std::string_view word = action.substr(0, blank);
        const std::string_view argument = trimBlanks(action.substr(blank));
        for (const VerbName& verb : kVerbs) {
            if (verb.name != word) continue;
            if (!verb.needsArgument || !argument.empty())
                actions.push_back({verb.verb, std::string(argument)});
            break;
        }
    }
    return actions;
}

}  // namespace morvane::platform
