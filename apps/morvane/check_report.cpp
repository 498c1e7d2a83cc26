#include "check_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "text/real_format.h"

namespace morvane::cli {

namespace {

// As printf writes %g: six significant digits.
constexpr RealFormat kGeneralForm{.notation = RealNotation::Significant, .digits = 6,
                                  .negativeZero = true};

std::string boxText(const Box& box) {
    if (box.empty()) return "none";
    const PathPoint size{box.high.x - box.low.x, box.high.y - box.low.y, box.high.z - box.low.z};
    return "X " + millimetres(box.low.x) + " .. " + millimetres(box.high.x) + ", Y " +
           millimetres(box.low.y) + " .. " + millimetres(box.high.y) + ", Z " +
           millimetres(box.low.z) + " .. " + millimetres(box.high.z) + " (" +
           millimetres(size.x) + " x " + millimetres(size.y) + " x " + millimetres(size.z) + ")";
}

std::string jsonNumber(double v) {
    if (!std::isfinite(v)) return "null";
    std::string text;
    appendReal(text, std::fabs(v) < 5e-7 ? 0.0 : v, kGeneralForm);
    return text;
}

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", c);
            out += escape;
        } else {
            out += c;
        }
    }
    return out + '"';
}

std::string jsonPoint(const PathPoint& p) {
    return "[" + jsonNumber(p.x) + ", " + jsonNumber(p.y) + ", " + jsonNumber(p.z) + "]";
}

std::string jsonBox(const Box& box) {
    if (box.empty()) return "null";
    return "{\"min\": " + jsonPoint(box.low) + ", \"max\": " + jsonPoint(box.high) + "}";
}

std::string counted(std::uint64_t n, std::string_view what) {
    return std::to_string(n) + " " + std::string(what) + (n == 1 ? "" : "s");
}

}  // namespace

std::string clockTime(double seconds) {
    // A feed of a thousandth of a mm/min makes years: beyond a million hours is said so.
    if (!(seconds < 3.6e9)) return "over 1000000:00:00";
    const double tenths = std::round(std::max(seconds, 0.0) * 10);
    const auto whole = static_cast<long long>(tenths / 10);
    char text[48];
    if (whole >= 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%lld", whole / 3600, whole / 60 % 60,
                      whole % 60, static_cast<long long>(tenths) % 10);
    else
        std::snprintf(text, sizeof text, "%lld:%02lld.%lld", whole / 60, whole % 60,
                      static_cast<long long>(tenths) % 10);
    return text;
}

std::string checkText(const ProgramRun& run, double rapidRate) {
    const PathFigures& f = run.figures;
    std::string text = run.file + ": " + std::string(formatName(run.format)) + ", " +
                       std::to_string(run.result.programLines) + " lines\n";
    text += "  moves: " + std::to_string(f.rapids) + " rapid, " + std::to_string(f.feeds) +
            " feed, " + std::to_string(f.arcs) + " arc; " + counted(f.toolChanges, "tool change") +
            ", " + counted(f.cycles, "cycle") + ", " + counted(f.dwells, "dwell") + "\n";
    text += "  path: feed " + millimetres(f.feedLength) + " mm, rapid " +
            millimetres(f.rapidLength) + " mm\n";
    text += "  time: " + clockTime(f.totalSeconds()) + " (feed " + clockTime(f.feedSeconds) +
            ", rapid " + clockTime(f.rapidSeconds) + " at " + millimetres(rapidRate) +
            " mm/min, dwell " + clockTime(f.dwellSeconds) + ")\n";
    if (f.movesWithoutFeed > 0)
        text += "  " + counted(f.movesWithoutFeed, "feed move") +
                " without a feed in force: not in the time\n";
    text += "  feed moves: " + boxText(f.feedBox) + "\n";
    text += "  all moves: " + boxText(f.allBox) + "\n";
    if (!f.allBox.empty()) text += "  lowest Z: " + millimetres(f.allBox.low.z) + "\n";
    for (const ToolTime& tool : f.tools)
        text += "  tool " + (tool.tool == 0 ? std::string("before the first tool change")
                                            : std::to_string(tool.tool)) +
                ": " + clockTime(tool.seconds) + "\n";
    return text;
}

std::string checkJson(const ProgramRun& run, double rapidRate, bool corrected) {
    const PathFigures& f = run.figures;
    std::string j = "{\n  \"schema\": \"morvane-check/1\",\n";
    j += "  \"file\": " + jsonString(run.file) + ",\n";
    j += "  \"format\": \"" + std::string(formatName(run.format)) + "\",\n";
    j += std::string("  \"semantics\": \"") + (corrected ? "corrected" : "exact") + "\",\n";
    j += "  \"converted\": " + std::string(run.result.ok ? "true" : "false") + ",\n";
    j += "  \"lines\": " + std::to_string(run.result.programLines) + ",\n";
    j += "  \"moves\": {\"rapid\": " + std::to_string(f.rapids) + ", \"feed\": " +
         std::to_string(f.feeds) + ", \"arc\": " + std::to_string(f.arcs) + "},\n";
    j += "  \"tool_changes\": " + std::to_string(f.toolChanges) + ", \"cycles\": " +
         std::to_string(f.cycles) + ", \"dwells\": " + std::to_string(f.dwells) + ",\n";
    j += "  \"length_mm\": {\"feed\": " + jsonNumber(f.feedLength) + ", \"rapid\": " +
         jsonNumber(f.rapidLength) + "},\n";
    j += "  \"rapid_mm_per_min\": " + jsonNumber(rapidRate) + ",\n";
    j += "  \"time_s\": {\"feed\": " + jsonNumber(f.feedSeconds) + ", \"rapid\": " +
         jsonNumber(f.rapidSeconds) + ", \"dwell\": " + jsonNumber(f.dwellSeconds) +
         ", \"total\": " + jsonNumber(f.totalSeconds()) + "},\n";
    j += "  \"moves_without_feed\": " + std::to_string(f.movesWithoutFeed) + ",\n";
    j += "  \"box\": {\"feed\": " + jsonBox(f.feedBox) + ", \"all\": " + jsonBox(f.allBox) +
         "},\n";
    j += "  \"lowest_z\": " + (f.allBox.empty() ? "null" : jsonNumber(f.allBox.low.z)) + ",\n";
    j += "  \"tools\": [";
    for (std::size_t i = 0; i < f.tools.size(); ++i)
        j += std::string(i > 0 ? ", " : "") + "{\"tool\": " + std::to_string(f.tools[i].tool) +
             ", \"time_s\": " + jsonNumber(f.tools[i].seconds) + "}";
    j += "],\n  \"diagnostics\": [";
    for (std::size_t i = 0; i < run.diagnostics.size(); ++i) {
        const ConversionDiagnostic& d = run.diagnostics[i];
        j += std::string(i > 0 ? "," : "") + "\n    {\"line\": " + std::to_string(d.line) +
             ", \"severity\": \"" + std::string(d.severity) + "\", \"code\": \"" +
             std::string(d.code) + "\", \"count\": " + std::to_string(d.count) +
             ", \"message\": " + jsonString(d.message) + "}";
    }
    j += run.diagnostics.empty() ? "]\n}\n" : "\n  ]\n}\n";
    return j;
}

}  // namespace morvane::cli
