#include "manual_page.h"

#include <algorithm>
#include <cctype>

#include "command_line.h"
#include "formats/source_formats.h"
#include "view_options.h"

namespace morvane::cli {

namespace {

std::size_t indentOf(std::string_view line) {
    const std::size_t first = line.find_first_not_of(' ');
    return first == std::string_view::npos ? line.size() : first;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        lines.push_back(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// An option or a command in a list: "  -o, --output FILE     write FILE", "      --nci ...",
// "  convert INPUT... [OPTIONS]   convert programs".
bool isListEntry(std::string_view line) {
    const std::size_t indent = indentOf(line);
    return indent < line.size() && (indent == 2 || (indent <= 6 && line[indent] == '-'));
}

// The entry's name and arguments, and the text after the first gap of two spaces.
std::pair<std::string_view, std::string_view> splitEntry(std::string_view line) {
    line.remove_prefix(indentOf(line));
    const std::size_t gap = line.find("  ");
    if (gap == std::string_view::npos) return {line, {}};
    std::string_view rest = line.substr(gap);
    rest.remove_prefix(indentOf(rest));
    return {line.substr(0, gap), rest};
}

// Text safe in roff: backslashes and hyphens escaped (a hyphen does not break a line), a
// leading dot or quote kept from being read as a request.
std::string roffText(std::string_view text) {
    std::string out;
    if (text.starts_with('.') || text.starts_with('\'')) out += "\\&";
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

void appendHelpAsRoff(std::string& page, std::string_view help) {
    bool inEntry = false;
    for (const std::string_view line : linesOf(help)) {
        const std::size_t indent = indentOf(line);
        if (indent == line.size()) {
            page += ".PP\n";
            inEntry = false;
        } else if (isListEntry(line)) {
            const auto [name, text] = splitEntry(line);
            page += ".TP\n\\fB" + roffText(name) + "\\fR\n";
            if (!text.empty()) page += roffText(text) + "\n";
            inEntry = true;
        } else if (indent == 0 && line.back() == ':') {
            page += ".PP\n\\fB" + roffText(line) + "\\fR\n.br\n";
        } else {
            if (inEntry && indent < 8) page += ".PP\n";
            inEntry = inEntry && indent >= 8;
            page += roffText(line.substr(indent)) + "\n";
        }
    }
}

bool startsOption(std::string_view text, std::size_t at) {
    const bool boundary = at == 0 || !(std::isalnum(static_cast<unsigned char>(text[at - 1])) ||
                                       text[at - 1] == '-' || text[at - 1] == '/');
    std::size_t letter = at + 1;
    if (letter < text.size() && text[letter] == '-') ++letter;
    return boundary && text[at] == '-' && letter < text.size() &&
           std::isalpha(static_cast<unsigned char>(text[letter]));
}

struct OptionWord {
    std::string name;
    std::string argument;  // "FORMAT", "top|front|side|iso"; empty when it takes none
};

// The argument written after an option: one word of capitals or of choices ("a|b").
std::string argumentAt(std::string_view text) {
    if (!text.starts_with(' ')) return {};
    text.remove_prefix(1);
    const std::size_t end = std::min(text.find_first_of(" ]\n,"), text.size());
    const std::string_view word = text.substr(0, end);
    const bool capitals = !word.empty() && std::isupper(static_cast<unsigned char>(word[0]));
    return capitals || word.find('|') != std::string_view::npos ? std::string(word) : "";
}

// The options a help text gives: those of its usage lines and of the heads of its lists
// ("-x, --long ARG" gives -x the argument too), not those its prose mentions.
std::vector<OptionWord> optionsIn(std::string_view help) {
    std::vector<OptionWord> options;
    bool inUsage = false;
    for (const std::string_view line : linesOf(help)) {
        inUsage = line.starts_with("usage:") ||
                  (inUsage && line.find_first_not_of(' ') != std::string_view::npos &&
                   line[indentOf(line)] == '[');
        const bool optionEntry = isListEntry(line) && line[indentOf(line)] == '-';
        const std::string_view scanned =
            inUsage ? line : optionEntry ? splitEntry(line).first : std::string_view();
        for (std::size_t at = 0; at < scanned.size(); ++at) {
            if (!startsOption(scanned, at)) continue;
            std::size_t end = at + 1;
            while (end < scanned.size() &&
                   (std::isalnum(static_cast<unsigned char>(scanned[end])) || scanned[end] == '-'))
                ++end;
            OptionWord word{std::string(scanned.substr(at, end - at)),
                            argumentAt(scanned.substr(end))};
            if (word.argument.empty() && scanned.substr(end).starts_with(", -"))
                word.argument = argumentAt(scanned.substr(
                    std::min(scanned.find(' ', end + 2), scanned.size())));
            if (std::none_of(options.begin(), options.end(),
                             [&](const OptionWord& o) { return o.name == word.name; }))
                options.push_back(word);
            at = end;
        }
    }
    return options;
}

// What completes an option's argument, as a bash command filling COMPREPLY; empty: nothing.
std::string argumentCompletion(const std::string& argument) {
    if (argument == "FORMAT") {
        std::string names;
        for (const FormatInfo& info : kFormats) names.append(names.empty() ? "" : " ").append(info.option);
        return "COMPREPLY=($(compgen -W \"" + names + "\" -- \"$cur\"))";
    }
    if (argument == "NAME|PATH")
        return "COMPREPLY=($(compgen -W \"$(_morvane_converters)\" -- \"$cur\") "
               "$(compgen -f -X '!*.conv' -- \"$cur\") $(compgen -d -- \"$cur\"))";
    if (argument == "DIR") return "COMPREPLY=($(compgen -d -- \"$cur\"))";
    if (argument.find("FILE") != std::string::npos || argument.find("OUT") != std::string::npos)
        return "COMPREPLY=($(compgen -f -- \"$cur\"))";
    if (argument.find('|') != std::string::npos && !std::isupper(static_cast<unsigned char>(argument[0]))) {
        std::string words = argument;
        std::replace(words.begin(), words.end(), '|', ' ');
        return "COMPREPLY=($(compgen -W \"" + words + "\" -- \"$cur\"))";
    }
    return "COMPREPLY=()";
}

// The commands of `morvane --help`: the first word of each entry of its list.
std::vector<std::string> commandsIn(std::string_view help) {
    std::vector<std::string> commands;
    for (const std::string_view line : linesOf(help)) {
        if (!isListEntry(line) || line[indentOf(line)] == '-') continue;
        const std::string_view name = splitEntry(line).first;
        commands.emplace_back(name.substr(0, std::min(name.find(' '), name.size())));
    }
    return commands;
}

}  // namespace

std::vector<HelpPage> helpPages() {
    return {{"", helpText(std::nullopt)},
            {"convert", helpText(Subcommand::Convert)},
            {"check", checkHelp()},
            {"show", showHelp()},
            {"formats", helpText(Subcommand::Formats)},
            {"converters", helpText(Subcommand::Converters)},
            {"version", helpText(Subcommand::Version)}};
}

std::string manualPage(std::string_view version) {
    std::string page = ".\\\" Made by morvane-manual from the help texts of morvane; do not edit.\n";
    page += ".TH MORVANE 1 \"\" \"morvane " + std::string(version) + "\" \"User Commands\"\n";
    page += ".nh\n.ad l\n.SH NAME\nmorvane \\- convert CNC programs into NCI text or NC code for "
            "another control\n.SH DESCRIPTION\n";
    const std::vector<HelpPage> pages = helpPages();
    appendHelpAsRoff(page, pages.front().text);
    page += ".SH COMMANDS\n";
    for (std::size_t i = 1; i < pages.size(); ++i) {
        page += ".SS \"morvane " + std::string(pages[i].command) + "\"\n";
        appendHelpAsRoff(page, pages[i].text);
    }
    page += ".SH SEE ALSO\ndocs/cli.md in the sources of Morvane.\n";
    return page;
}

std::string bashCompletion() {
    const std::vector<HelpPage> pages = helpPages();
    std::string words;
    for (const std::string& command : commandsIn(pages.front().text)) words += command + " ";
    for (const OptionWord& option : optionsIn(pages.front().text)) words += option.name + " ";
    std::string arguments, optionLists;
    for (std::size_t i = 1; i < pages.size(); ++i) {
        const std::string command(pages[i].command);
        std::string names;
        for (const OptionWord& option : optionsIn(pages[i].text)) {
            names.append(names.empty() ? "" : " ").append(option.name);
            if (!option.argument.empty())
                arguments += "        \"" + command + " " + option.name + "\") " +
                             argumentCompletion(option.argument) + "; return ;;\n";
        }
        optionLists += "        " + command + ") options=\"" + names + "\" ;;\n";
    }
    if (!words.empty()) words.pop_back();
    return "# bash completion of morvane, made by morvane-manual from its help texts; do not edit.\n"
           "_morvane_converters() {\n"
           "    \"${COMP_WORDS[0]}\" converters 2>/dev/null | sed -n 's/^  \\([^ ]*\\)\\.conv .*/\\1/p'\n"
           "}\n\n"
           "_morvane() {\n"
           "    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}\n"
           "    local command=${COMP_WORDS[1]} options=\n"
           "    if ((COMP_CWORD == 1)); then\n"
           "        COMPREPLY=($(compgen -W \"" + words + "\" -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    case \"$command $prev\" in\n" + arguments +
           "    esac\n"
           "    case \"$command\" in\n" + optionLists +
           "        help) COMPREPLY=($(compgen -W \"" + words + "\" -- \"$cur\")); return ;;\n"
           "    esac\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
           "    else\n"
           "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "complete -o filenames -F _morvane morvane\n";
}

}  // namespace morvane::cli
