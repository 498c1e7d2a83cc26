// The command line of `morvane`: subcommands, options, and their help texts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/source_formats.h"

namespace morvane::cli {

// Lines A to B of the input, counted from 1 as an editor shows them; `last` empty: to the end.
struct LineSelection {
    std::int32_t first = 1;
    std::optional<std::int32_t> last;
};

// The input "-": the program comes from standard input.
inline constexpr std::string_view kStandardInput = "-";

struct ConvertOptions {
    std::vector<std::string> inputs;
    std::optional<SourceFormat> from;        // --from; else recognised per input
    bool nci = false;                        // --nci: "Convert to NCI format"
    std::optional<std::string> converter;    // --converter NAME|PATH
    std::optional<bool> longhand;            // --longhand / --no-longhand; else as remembered
    bool resultOnly = false;                 // --result-only: "Result in new window"
    std::optional<LineSelection> lines;      // --lines A-B: a selection
    std::optional<std::string> output;       // -o FILE
    std::optional<std::string> directory;    // -d DIR
    bool inPlace = false;                    // --in-place
    bool interactive = false;                // --interactive
    bool noConfig = false;                   // --no-config
    std::optional<std::string> locale;       // --locale FILE|NAME
    bool verbose = false;                    // -v
    bool quiet = false;                      // -q: no notes or warnings
    bool progress = true;                    // --no-progress clears it
    std::optional<std::uint64_t> maxOutput;  // --max-output SIZE: bytes of NCI at most
    bool allowTruncated = false;             // --allow-truncated: keep a result cut at a bound
    bool exact = false;   // --exact: the plug-in's exact semantics, else the corrected one
    bool strict = false;  // --strict: a warning fails the run
    unsigned jobs = 0;    // -j N: programs converted at once; 0: one per core
    // The options as given, without -j: what the worker converting one program of a batch gets.
    std::vector<std::string> optionArguments;
};

enum class Subcommand { Convert, Formats, Converters, Help, Version };

struct CommandLine {
    Subcommand command = Subcommand::Help;
    std::optional<Subcommand> helpTopic;  // morvane help convert, morvane convert --help
    ConvertOptions convert;
};

// Parses the arguments after the program name. False with a message in `error` for an unknown
// option, a missing or bad value, or options that contradict each other.
bool parseCommandLine(const std::vector<std::string>& arguments, CommandLine& line,
                      std::string& error);

// "12-40", "12-", "12": lines counted from 1.
std::optional<LineSelection> parseLineSelection(std::string_view text);
// "4096", "64K", "512M", "2G" (K, M, G: KiB, MiB, GiB): a number of bytes above 0.
std::optional<std::uint64_t> parseByteSize(std::string_view text);

// Help of the program (no topic) or of one subcommand.
std::string helpText(std::optional<Subcommand> topic);

}  // namespace morvane::cli
