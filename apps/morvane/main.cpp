// morvane: the command-line host of the Morvane plug-in. It loads libmorvane.so through its
// nine entry points, as an editor does, and gives a CNC programmer the whole job in one command:
//
//   morvane convert examples/square.nc --nci --longhand
//
// See `morvane --help` and docs/cli.md.
#include <cstdio>
#include <string>
#include <vector>

#include "check_command.h"
#include "command_line.h"
#include "convert_command.h"
#include "converter_catalog.h"
#include "host_paths.h"
#include "morvane_version.h"
#include "plugin_library.h"
#include "show_command.h"

namespace {

using namespace morvane::cli;

int listFormats() {
    std::printf("%-12s %-16s %-14s %s\n", "--from", "dialog entry", "extensions", "what");
    for (const morvane::FormatInfo& info : morvane::kFormats) {
        std::printf("%-12.*s %-16.*s %-14.*s %.*s\n", static_cast<int>(info.option.size()),
                    info.option.data(), static_cast<int>(info.dialogEntry.size()),
                    info.dialogEntry.data(), static_cast<int>(info.extensions.size()),
                    info.extensions.data(), static_cast<int>(info.description.size()),
                    info.description.data());
    }
    std::puts(
        "\nSinumerik and G&L Numeripath are read as lathe programs: Sinumerik halves X (a\n"
        "diameter) and both write the lathe's Z as the NCI's Y and its Y as Z. A milling program\n"
        "is read as Siemens or Fanuc, which take X, Y and Z as they are written.\n"
        "\n"
        "Without --from: .H is Heidenhain, .nci NCI; otherwise the first 200 lines decide:\n"
        "BEGIN PGM is Heidenhain, record-code lines NCI; .mpf, .spf and Sinumerik words (MSG(,\n"
        "CYCLE, TC(, LIMS=, CR=) are Sinumerik for a lathe program and Siemens for a milling\n"
        "program (G17, Y words, milling cycles); ! comments are G&L Numeripath for a lathe\n"
        "program and Fanuc for a milling program; other ISO blocks (; comments included) are\n"
        "Fanuc. A lathe program has G18, G96, LIMS, DIAMON or turning cycles, or X and Z moves\n"
        "and no Y. Say -v to see the choice.");
    return 0;
}

int listConvertersCommand() {
    const HostPaths host = locateHost();
    const auto converters = listConverters(host.convertersDirectory());
    if (converters.empty()) {
        std::fprintf(stderr, "morvane: no converter files in %s\n",
                     host.convertersDirectory().c_str());
        return static_cast<int>(ExitStatus::Installation);
    }
    std::printf("Converters in %s:\n%s", host.convertersDirectory().c_str(),
                converterListing(converters).c_str());
    return 0;
}

int printVersion() {
    std::printf("morvane %s\n", MORVANE_VERSION);
    PluginLibrary plugin;
    std::string error;
    if (!plugin.load(pluginCandidates(locateHost()), error)) {
        std::fprintf(stderr, "morvane: %s\n", error.c_str());
        return static_cast<int>(ExitStatus::Installation);
    }
    const char* name = nullptr;
    const char* description = nullptr;
    plugin.exports().getInfo(&name, &description);
    std::printf("plug-in %s %s (%s)\n", name != nullptr ? name : "?", plugin.version().c_str(),
                plugin.path().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    // check and show read programs through the library, without the plug-in.
    if (!arguments.empty() && (arguments[0] == "check" || arguments[0] == "show")) {
        const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        return static_cast<int>(arguments[0] == "check" ? runCheck(rest) : runShow(rest));
    }
    CommandLine line;
    std::string error;
    if (!parseCommandLine(arguments, line, error)) {
        std::fprintf(stderr, "morvane: %s\n", error.c_str());
        return static_cast<int>(ExitStatus::Usage);
    }
    switch (line.command) {
        case Subcommand::Help:
            std::fputs(helpText(line.helpTopic).c_str(), stdout);
            return 0;
        case Subcommand::Version:
            return printVersion();
        case Subcommand::Formats:
            return listFormats();
        case Subcommand::Converters:
            return listConvertersCommand();
        case Subcommand::Convert:
            return static_cast<int>(runConvert(line.convert));
    }
    return 0;
}
