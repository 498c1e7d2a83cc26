#include "command_line.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>

namespace morvane::cli {

namespace {

enum class Option {
    From,
    Nci,
    Converter,
    Longhand,
    NoLonghand,
    ResultOnly,
    Lines,
    Output,
    Directory,
    InPlace,
    Interactive,
    NoConfig,
    Locale,
    Verbose,
    Quiet,
    NoProgress,
    MaxOutput,
    AllowTruncated,
    Exact,
    Strict,
    Jobs,
    Help,
};

struct OptionName {
    std::string_view longName;
    std::string_view shortName;
    bool takesValue;
    Option option;
};

constexpr std::array<OptionName, 22> kConvertOptions = {{
    {"--from", "-f", true, Option::From},
    {"--nci", "", false, Option::Nci},
    {"--converter", "-c", true, Option::Converter},
    {"--longhand", "", false, Option::Longhand},
    {"--no-longhand", "", false, Option::NoLonghand},
    {"--result-only", "", false, Option::ResultOnly},
    {"--lines", "-l", true, Option::Lines},
    {"--output", "-o", true, Option::Output},
    {"--directory", "-d", true, Option::Directory},
    {"--in-place", "-i", false, Option::InPlace},
    {"--interactive", "", false, Option::Interactive},
    {"--no-config", "", false, Option::NoConfig},
    {"--locale", "", true, Option::Locale},
    {"--verbose", "-v", false, Option::Verbose},
    {"--quiet", "-q", false, Option::Quiet},
    {"--no-progress", "", false, Option::NoProgress},
    {"--max-output", "", true, Option::MaxOutput},
    {"--allow-truncated", "", false, Option::AllowTruncated},
    {"--exact", "", false, Option::Exact},
    {"--strict", "", false, Option::Strict},
    {"--jobs", "-j", true, Option::Jobs},
    {"--help", "-h", false, Option::Help},
}};

struct SubcommandName {
    std::string_view name;
    Subcommand command;
};
constexpr std::array<SubcommandName, 5> kSubcommands = {{
    {"convert", Subcommand::Convert},
    {"formats", Subcommand::Formats},
    {"converters", Subcommand::Converters},
    {"help", Subcommand::Help},
    {"version", Subcommand::Version},
}};

std::optional<Subcommand> subcommandNamed(std::string_view name) {
    for (const SubcommandName& entry : kSubcommands)
        if (entry.name == name) return entry.command;
    return std::nullopt;
}

std::string formatNames() {
    std::string names;
    for (const FormatInfo& info : kFormats)
        names.append(names.empty() ? "" : ", ").append(info.option);
    return names;
}

std::optional<std::int32_t> parseLineNumber(std::string_view text) {
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1) return std::nullopt;
    return value;
}

// The options that only turn something on or off: the field and its value.
struct SwitchEffect {
    Option option;
    bool ConvertOptions::*field;
    bool value;
};
constexpr SwitchEffect kSwitches[] = {
    {Option::Nci, &ConvertOptions::nci, true},
    {Option::ResultOnly, &ConvertOptions::resultOnly, true},
    {Option::InPlace, &ConvertOptions::inPlace, true},
    {Option::Interactive, &ConvertOptions::interactive, true},
    {Option::NoConfig, &ConvertOptions::noConfig, true},
    {Option::Verbose, &ConvertOptions::verbose, true},
    {Option::Quiet, &ConvertOptions::quiet, true},
    {Option::NoProgress, &ConvertOptions::progress, false},
    {Option::AllowTruncated, &ConvertOptions::allowTruncated, true},
    {Option::Exact, &ConvertOptions::exact, true},
    {Option::Strict, &ConvertOptions::strict, true},
};

// The options whose value is kept as it is given: the field.
struct TextEffect {
    Option option;
    std::optional<std::string> ConvertOptions::*field;
};
constexpr TextEffect kTexts[] = {
    {Option::Converter, &ConvertOptions::converter},
    {Option::Output, &ConvertOptions::output},
    {Option::Directory, &ConvertOptions::directory},
    {Option::Locale, &ConvertOptions::locale},
};

// The options whose value is parsed: false, with `error`, when it does not parse.
bool applyParsedOption(Option option, const std::string& value, ConvertOptions& o,
                       std::string& error) {
    switch (option) {
        case Option::From:
            o.from = formatByOption(value);
            if (!o.from) error = "unknown format '" + value + "'; the formats are " + formatNames();
            return o.from.has_value();
        case Option::Lines:
            o.lines = parseLineSelection(value);
            if (!o.lines)
                error = "--lines takes A-B, A- or A (lines counted from 1), not '" + value + "'";
            return o.lines.has_value();
        case Option::MaxOutput:
            o.maxOutput = parseByteSize(value);
            if (!o.maxOutput)
                error =
                    "--max-output takes a number of bytes above 0, with K, M or G for KiB, "
                    "MiB, GiB (e.g. 512M), not '" +
                    value + "'";
            return o.maxOutput.has_value();
        case Option::Jobs: {
            const auto jobs = parseLineNumber(value);
            if (jobs) o.jobs = static_cast<unsigned>(*jobs);
            if (!jobs)
                error = "-j takes a number of programs converted at once, 1 or more, not '" +
                        value + "'";
            return jobs.has_value();
        }
        default:
            return false;
    }
}

bool applyOption(Option option, const std::string& value, CommandLine& line, std::string& error) {
    ConvertOptions& o = line.convert;
    for (const SwitchEffect& effect : kSwitches) {
        if (effect.option == option) {
            o.*effect.field = effect.value;
            return true;
        }
    }
    for (const TextEffect& effect : kTexts) {
        if (effect.option == option) {
            o.*effect.field = value;
            return true;
        }
    }
    switch (option) {
        case Option::Longhand:
        case Option::NoLonghand:
            o.longhand = option == Option::Longhand;
            return true;
        case Option::Help:
            line.helpTopic = Subcommand::Convert;
            line.command = Subcommand::Help;
            return true;
        default:
            return applyParsedOption(option, value, o, error);
    }
}

// Where the result goes: at most one of -o, -d, --in-place; several inputs need -d or
// --in-place.
bool checkDestinations(const ConvertOptions& o, std::string& error) {
    const int destinations =
        int{o.output.has_value()} + int{o.directory.has_value()} + int{o.inPlace};
    if (destinations > 1) {
        error = "give only one of -o, -d and --in-place";
        return false;
    }
    if (o.inputs.empty()) {
        error = "convert needs an input file";
        return false;
    }
    if (o.inputs.size() > 1 && !o.directory && !o.inPlace) {
        error = "several inputs need -d DIR or --in-place";
        return false;
    }
    // Standard input has no file to replace and no name to write beside.
    if (std::find(o.inputs.begin(), o.inputs.end(), kStandardInput) != o.inputs.end()) {
        if (o.inPlace) {
            error =
                "--in-place cannot replace standard input (-); give -o FILE, or no -o for "
                "standard output";
            return false;
        }
        if (o.directory) {
            error =
                "-d names each result after its input, and standard input (-) has no name; "
                "give -o FILE";
            return false;
        }
    }
    return true;
}

bool parseConvert(const std::vector<std::string>& arguments, std::size_t next, CommandLine& line,
                  std::string& error) {
    bool optionsEnded = false;
    for (std::size_t i = next; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            line.convert.inputs.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // --name=value is the same as --name value.
        const std::size_t equals =
            argument.starts_with("--") ? argument.find('=') : std::string::npos;
        const std::string_view name = std::string_view(argument).substr(0, equals);
        const OptionName* found = nullptr;
        for (const OptionName& entry : kConvertOptions)
            if (entry.longName == name || (!entry.shortName.empty() && entry.shortName == name))
                found = &entry;
        if (found == nullptr) {
            error = "unknown option " + std::string(name) + " (see morvane convert --help)";
            return false;
        }
        std::string value;
        if (found->takesValue) {
            if (equals != std::string::npos) {
                value = argument.substr(equals + 1);
            } else if (i + 1 < arguments.size()) {
                value = arguments[++i];
            } else {
                error = std::string(name) + " needs a value";
                return false;
            }
        } else if (equals != std::string::npos) {
            error = std::string(name) + " takes no value";
            return false;
        }
        if (!applyOption(found->option, value, line, error)) return false;
        if (found->option != Option::Jobs) {
            line.convert.optionArguments.emplace_back(name);
            if (found->takesValue) line.convert.optionArguments.push_back(value);
        }
        if (line.command == Subcommand::Help) return true;
    }
    return checkDestinations(line.convert, error);
}

}  // namespace

std::optional<LineSelection> parseLineSelection(std::string_view text) {
    const std::size_t dash = text.find('-');
    LineSelection selection;
    const auto first = parseLineNumber(text.substr(0, dash));
    if (!first) return std::nullopt;
    selection.first = *first;
    if (dash == std::string_view::npos) {
        selection.last = *first;
        return selection;
    }
    const std::string_view rest = text.substr(dash + 1);
    if (rest.empty()) return selection;
    const auto last = parseLineNumber(rest);
    if (!last || *last < *first) return std::nullopt;
    selection.last = *last;
    return selection;
}

std::optional<std::uint64_t> parseByteSize(std::string_view text) {
    std::uint64_t unit = 1;
    if (!text.empty()) {
        switch (text.back()) {
            case 'K':
            case 'k':
                unit = std::uint64_t{1} << 10;
                break;
            case 'M':
            case 'm':
                unit = std::uint64_t{1} << 20;
                break;
            case 'G':
            case 'g':
                unit = std::uint64_t{1} << 30;
                break;
            default:
                break;
        }
        if (unit > 1) text.remove_suffix(1);
    }
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value == 0 ||
        value > std::numeric_limits<std::uint64_t>::max() / unit)
        return std::nullopt;
    return value * unit;
}

bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& line,
                      std::string& error) {
    line = CommandLine();
    if (arguments.empty()) {
        error = "a command is missing (see morvane --help)";
        return false;
    }
    const std::string& first = arguments[0];
    if (first == "--help" || first == "-h") return true;
    if (first == "--version" || first == "-V") {
        line.command = Subcommand::Version;
        return true;
    }
    const std::optional<Subcommand> command = subcommandNamed(first);
    if (!command) {
        error = "unknown command '" + first + "' (see morvane --help)";
        return false;
    }
    line.command = *command;
    if (*command == Subcommand::Convert) return parseConvert(arguments, 1, line, error);
    if (*command == Subcommand::Help) {
        if (arguments.size() > 1) {
            line.helpTopic = subcommandNamed(arguments[1]);
            if (!line.helpTopic) {
                error = "no help on '" + arguments[1] + "'";
                return false;
            }
        }
        return true;
    }
    // formats, converters, version: only --help.
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == "--help" || arguments[i] == "-h") {
            line.helpTopic = *command;
            line.command = Subcommand::Help;
            return true;
        }
        error = first + " takes no argument '" + arguments[i] + "'";
        return false;
    }
    return true;
}

namespace {

// The help of `morvane help` and of `morvane convert --help`.
constexpr std::string_view kCommandsHelp = R"(usage: morvane COMMAND [OPTIONS]

Converts CNC programs (Fanuc, Heidenhain, Siemens, Sinumerik, G&L Numeripath) into NCI text or,
through a converter, into NC code for another control, with the Morvane plug-in.

Commands:
  convert INPUT... [OPTIONS]   convert programs (morvane convert --help)
  check FILE... [OPTIONS]      what a program does: moves, lengths, time, boxes, tools,
                               diagnostics (morvane check --help)
  show FILE [FILE2] -o OUT     a picture of the tool path, SVG or HTML; two programs are
                               compared (morvane show --help)
  formats                      the program formats and how they are recognised
  converters                   the converter files (*.conv) found, with their descriptions
  help [COMMAND]               this text, or the help of one command
  version                      the versions of morvane and of the plug-in

Options:
  -h, --help                   this text
  -V, --version                the versions, as morvane version

Exit status: 0 done, 1 conversion failed (or cut short at a bound), 2 usage, 3 a file that
cannot be read or written, 4 cancelled in the dialog, 5 installation incomplete.
)";

constexpr std::string_view kConvertHelp = R"(usage: morvane convert INPUT... [OPTIONS]

Converts each INPUT (- for standard input) with the Morvane plug-in, driving its dialog with
the options below.
Options not given keep the choices of the last run (stored in
$XDG_CONFIG_HOME/morvane/plugin.conf). When the options and those choices do not settle what
to produce, the dialog opens in the terminal.

What to read:
  -f, --from FORMAT     fanuc, heidenhain, siemens, sinumerik, numeripath or nci;
                        without it the format is recognised from the file (see -v and
                        morvane formats: sinumerik and numeripath are lathe dialects), and
                        binary data is refused
  -l, --lines A-B       convert only lines A to B (A-, A also work; counted from 1); the
                        result replaces them in the document

What to produce:
      --nci             the NCI text itself
  -c, --converter NAME|PATH
                        post-process with a converter file: a name from `morvane converters`
                        or a path to a *.conv file
      --longhand        expand every cycle into moves
      --no-longhand     write the cycles the converter supports natively
      --result-only     the result alone, not the document with the converted lines replaced
                        (the dialog's "Result in new window")

Where it goes (default: standard output):
  -o, --output FILE     write FILE
  -d, --directory DIR   write DIR/NAME for each input (DIR made when missing): .nci for
                        NCI, .nc or .H as the converter produces, else the input's extension
  -i, --in-place        replace each input file (atomically; a failed run leaves it as it was)

Dialog and host:
      --interactive     pick the options in the dialog, drawn in the terminal
      --no-config       neither read nor store the remembered choices
      --locale FILE|NAME
                        translations of the dialog's texts (KEY = text lines); NAME is looked
                        up in the host's locale/ directory (de: German)
  -v, --verbose         say which format, plug-in and configuration file are used
  -q, --quiet           no notes or warnings about the program, only errors
      --no-progress     no progress bar (it appears only on a terminal, for long programs)
  -j, --jobs N          convert N programs at once (default: one per core); each program's
                        diagnostics stay together, in the order of the inputs, and the exit
                        status is the worst of all. The dialog opens only with -j 1
  -h, --help            this text

Bounds:
      --max-output SIZE the NCI text a conversion may write, in bytes or with K, M, G
                        (default 128M plus 16 bytes per byte of the program); the
                        bounds on repeated work follow it
      --allow-truncated write a result cut short at a bound (else nothing is written and
                        the exit status is 1)

Semantics:
      --exact           the conversion rules as they stand, byte for byte what an editor gets
                        from the plug-in; without it the corrected semantics: the tool path
                        the control would cut (docs/corrections.md), each correction a note
      --strict          a warning fails the run as an error does: nothing is written, exit
                        status 1

Diagnostics go to standard error as FILE:LINE: warning: MESSAGE [CODE], with a count at
the end.
)";

}  // namespace

std::string helpText(std::optional<Subcommand> topic) {
    if (!topic || *topic == Subcommand::Help) {
        return std::string(kCommandsHelp);
    }
    switch (*topic) {
        case Subcommand::Convert:
            return std::string(kConvertHelp);
        case Subcommand::Formats:
            return "usage: morvane formats\n\nLists the program formats, their --from names, "
                   "usual extensions and how a file's\nformat is recognised without --from.\n";
        case Subcommand::Converters:
            return "usage: morvane converters\n\nLists the converter files (*.conv) of the host's "
                   "Converters/ directory with their\ndescriptions; a file the post-processor "
                   "would reject is shown with the reason.\n";
        case Subcommand::Version:
            return "usage: morvane version\n\nPrints the version of morvane and of the plug-in "
                   "it loads; morvane --version does the same.\n";
        case Subcommand::Help:
            break;
    }
    return {};
}

}  // namespace morvane::cli
