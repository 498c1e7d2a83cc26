// The one way a conversion runs, for the library's calls (morvane/convert.hpp) and the plug-in's
// driver alike: a program served line by line through a host's line source, read by the parser
// of its format (or copied line by line when it is NCI already), its NCI text written to a file
// or handed to a sink, its reports kept by the caller's diagnostics.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "morvane/plugin_api.h"
#include "nci/diagnostics.h"
#include "nci/limits.h"
#include "nci/nci_stream.h"
#include "nci/supported_cycle.h"
#include "parsers/program_parser.h"

namespace morvane {

// Builds the parser of a format-list position; null when that format has none (makeParser,
// or a test's own).
using ParserFactory = std::unique_ptr<ProgramParser> (*)(int position, const LineSource* lines,
                                                         std::string nciPath,
                                                         const SupportedCycleList& cycles);

struct ConversionRun {
    const LineSource* lines = nullptr;           // null reads as a program without lines
    int formatPosition = -1;                     // in the format list (morvane/input_formats.hpp)
    const SupportedCycleList* cycles = nullptr;  // native drill cycle patterns; null: none
    // The host's output bound; none: the bound of the program's size (an NCI copy: none).
    std::optional<RunLimits> limits;
    NciSink* sink = nullptr;  // where the NCI text goes; null: the file at `nciPath`
    // The file is made by the caller; a parser truncates it, an NCI copy needs it to exist.
    std::string nciPath;
    ParserFactory parsers = &makeParser;
};

enum class RunEnd {
    Written,   // the NCI is whole (a run cut short by a bound or by a rejected cycle parameter
               // included: it ends there, as the program would)
    NoParser,  // the format has none: nothing is written
    Failed,    // the NCI is not whole; the failure is in the diagnostics
};

RunEnd runConversion(const ConversionRun& run, Diagnostics& diagnostics);

}  // namespace morvane
