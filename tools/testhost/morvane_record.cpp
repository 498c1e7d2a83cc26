// morvane-record: runs one plug-in action on a program file and prints what the host received,
// in order ("line: TEXT", "property: NAME = VALUE").
//
//   morvane-record [--option NAME=VALUE]... [--config TEXT] [--translate KEY=TEXT]...
//                  [--script SCRIPT] FILE
//
// The dialog follows --script, or MORVANE_DIALOG when no script is given; with neither it is
// shown in the terminal, or cancelled (nothing printed) when there is none. Example:
//   morvane-record --script 'select NCI; check IDC_CONVERT_NCI; check IDC_LONGHAND_CYCLES;
//                            click IDOK' examples/pocket.nci
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "text/text_encoding.h"
#include "recording_host.h"

namespace {

int usage() {
    std::fputs(
        "usage: morvane-record [--option NAME=VALUE]... [--config TEXT] [--translate KEY=TEXT]...\n"
        "                      [--script SCRIPT] FILE\n",
        stderr);
    return 2;
}

// Splits "NAME=VALUE" at its first '='.
bool splitPair(std::string_view text, std::string& name, std::string& value) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return false;
    name.assign(text.substr(0, equals));
    value.assign(text.substr(equals + 1));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using morvane::testhost::RecordingHost;
    std::map<std::string, std::wstring, std::less<>> translations;
    std::optional<std::string> script;
    const char* file = nullptr;
    TeskPlugin_ClearOptions();
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        std::string name, value;
        if (arg == "--option" && hasValue && splitPair(argv[i + 1], name, value)) {
            TeskPlugin_SetOption(name.c_str(), value.c_str());
            ++i;
        } else if (arg == "--config" && hasValue) {
            TeskPlugin_SetOption("PLUGIN_CONFIG", argv[++i]);
        } else if (arg == "--translate" && hasValue && splitPair(argv[i + 1], name, value)) {
            translations[name] = morvane::utf8ToWide(value);
            ++i;
        } else if (arg == "--script" && hasValue) {
            script = argv[++i];
        } else if (file == nullptr && !arg.starts_with("--")) {
            file = argv[i];
        } else {
            return usage();
        }
    }
    if (file == nullptr) return usage();

    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "morvane-record: cannot read %s\n", file);
        return 1;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());

    RecordingHost host(morvane::testhost::splitProgramLines(text));
    const bool localise = !translations.empty();
    host.setTranslations(std::move(translations));
    host.attach(localise);
    if (script) {
        host.perform(*script);
    } else {
        TeskPlugin_PerfromPluginAction();
    }
    const std::string report = host.report();
    std::fwrite(report.data(), 1, report.size(), stdout);
    return 0;
}
