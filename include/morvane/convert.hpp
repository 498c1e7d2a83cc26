// The conversion core as a C++ library: a CNC program (Heidenhain conversational, Fanuc,
// Siemens, Sinumerik, G&L Numeripath, or NCI already) converted in memory to NCI text, or to the
// tool path it describes, one event at a time. See docs/library.md.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/input_formats.hpp"

namespace morvane {

// The formats of the plug-in's table (morvane/input_formats.hpp).
using ProgramFormat = InputFormat;

// "fanuc", "heidenhain", "siemens", "sinumerik", "numeripath", "nci": the table's option names.
std::string_view formatName(ProgramFormat format);
// The format named so (any case); nothing for another name.
std::optional<ProgramFormat> formatNamed(std::string_view name);

// The format of a program from its file name (the extension) and its first 200 lines, as
// `morvane convert` recognises it; nothing when neither tells. `why` says how it was decided.
std::optional<ProgramFormat> detectFormat(std::string_view fileName, std::string_view text,
                                          std::string* why = nullptr);

// One diagnostic: a place where the conversion cut short, dropped or changed something.
struct ConversionDiagnostic {
    std::uint32_t line = 0;     // 1-based program line; 0: no line
    std::string_view code;      // "arc-ijk-nonmodal", ... (docs/diagnostics.md)
    std::string_view severity;  // "note", "warning" or "error"
    std::string message;
    std::uint64_t count = 1;  // identical reports (a subprogram run many times)
};

struct ConvertOptions {
    bool corrected = true;  // the corrected semantics; false: the exact one (docs/corrections.md)
    // Every cycle written as moves; false: the drilling cycles that `supportedCycles` accepts
    // are written as cycle records (docs/nci-format.md, "Native drill cycles").
    bool longhandCycles = true;
    std::vector<std::array<std::int32_t, 29>> supportedCycles;
    // Bytes of NCI text a conversion may write; 0: the bound of the program's size.
    std::uint64_t maxNciBytes = 0;
    // Called once per diagnostic when the conversion has ended, in the order reported.
    std::function<void(const ConversionDiagnostic&)> onDiagnostic;
};

struct PathPoint {
    double x = 0.0, y = 0.0, z = 0.0;
};

// One step of the tool path. Positions are those of the NCI (a lathe dialect's Z is in Y).
struct PathEvent {
    enum class Kind {
        Rapid,       // straight, at rapid traverse
        Feed,        // straight, at `feed`
        Arc,         // circular (or helical) at `feed`, about `centre`
        ToolChange,  // `tool`, with `speed`
        Spindle,     // a speed limit or a constant surface speed (`speed`)
        Cycle,       // a cycle begins: expanded (its moves follow) or a native drilling hole at `to`
        Dwell,       // `seconds` (0 when the program gives no time)
        Return       // a reference return: the tool goes where the NCI does not say (`to` keeps
                     // the position before it)
    };
    Kind kind = Kind::Rapid;
    std::uint32_t line = 0;  // program line it comes from; 0 when not known
    PathPoint from, to;      // moves and arcs; `to` also for a native hole
    PathPoint centre;        // arcs: the centre, its third coordinate the start's
    int plane = 0;           // arcs: 0 XY, 1 YZ, 2 XZ
    bool clockwise = false;  // arcs, seen from the positive side of the plane's third axis
    bool fullCircle = false;  // arcs whose end is their start: one whole turn
    double feed = -1.0;       // feed moves and arcs: the feed in force (mm/min), -1 none yet
    std::int32_t tool = 0;    // tool changes
    double speed = 0.0;       // tool changes and spindle events (signed by the direction)
    double seconds = 0.0;     // dwells
    bool native = false;      // cycles: a hole of a native drilling cycle record
};

struct ConvertResult {
    bool ok = false;              // false: the conversion failed and its output is not whole
    std::string failure;          // why, when not ok
    std::uint32_t programLines = 0;
    std::uint64_t nciBytes = 0;   // NCI text written
};

// Converts `program` (its text, lines ended by LF or CR LF) and hands the NCI text to `write`
// in pieces that end at line ends; `write` answers false to stop the conversion (a failure).
ConvertResult convertToNci(std::string_view program, ProgramFormat format,
                           const ConvertOptions& options,
                           const std::function<bool(std::string_view)>& write);
// The same into one string.
ConvertResult convertToNci(std::string_view program, ProgramFormat format,
                           const ConvertOptions& options, std::string& nci);
// Converts `program` and hands its tool path to `onEvent` while the conversion runs, in order.
ConvertResult convertToPath(std::string_view program, ProgramFormat format,
                            const ConvertOptions& options,
                            const std::function<void(const PathEvent&)>& onEvent);

// The text of the file at `path`; false with a message naming the file when it cannot be read.
bool readProgramFile(const std::string& path, std::string& text, std::string& error);

}  // namespace morvane
