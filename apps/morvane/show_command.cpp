#include "show_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>

#include "check_report.h"
#include "output_file.h"
#include "picture.h"
#include "program_run.h"

namespace morvane::cli {

namespace {

// show names the first warnings of a program; check is the place for all of them.
constexpr std::size_t kMaxWarningsShown = 10;

bool endsWith(const std::string& text, std::string_view end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

std::string summary(const ProgramRun& run, double rapidRate) {
    const PathFigures& f = run.figures;
    std::string text = std::string(formatName(run.format)) + ", " +
                       std::to_string(run.result.programLines) + " lines; " +
                       std::to_string(f.rapids) + " rapid, " + std::to_string(f.feeds) +
                       " feed, " + std::to_string(f.arcs) + " arc; feed " +
                       millimetres(f.feedLength) + " mm, rapid " + millimetres(f.rapidLength) +
                       " mm; time " + clockTime(f.totalSeconds()) + " (rapid " +
                       millimetres(rapidRate) + " mm/min)";
    if (!f.allBox.empty()) text += "; lowest Z " + millimetres(f.allBox.low.z);
    if (!f.tools.empty()) {
        text += "; tools";
        for (const ToolTime& t : f.tools)
            text += " T" + std::to_string(t.tool) + " " + clockTime(t.seconds);
    }
    return text;
}

// Readers see the old picture or the whole new one, never a part.
bool writePicture(const std::string& path, std::string_view text, std::string& error) {
    installInterruptCleanup();
    return writeWholeFile(path, text, modeForDestination(path), error);
}

// Converts input `i` into `path` and `run`, naming its first warnings; a failure when it cannot
// be read or recognised.
std::optional<ExitStatus> readProgram(const ViewOptions& options, std::size_t i, MovePath& path,
                                      ProgramRun& run, ExitStatus& status) {
    const std::string& file = options.inputs[i];
    if (const auto failure =
            runProgram(file, options, [&path](const PathEvent& e) { path.take(e); }, run)) {
        std::fprintf(stderr, "morvane: %s\n", failure->message.c_str());
        return failure->status;
    }
    std::size_t warnings = 0;
    for (const ConversionDiagnostic& d : run.diagnostics)
        if (d.severity != "note" && ++warnings <= kMaxWarningsShown)
            std::fprintf(stderr, "%s\n", diagnosticText(file, d).c_str());
    if (warnings > kMaxWarningsShown)
        std::fprintf(stderr, "morvane: %s: %zu more warnings (morvane check lists them all)\n",
                     file.c_str(), warnings - kMaxWarningsShown);
    if (!run.result.ok) {
        std::fprintf(stderr, "morvane: %s: the conversion failed: %s\n", file.c_str(),
                     run.result.failure.c_str());
        status = ExitStatus::ConversionFailed;
    }
    return std::nullopt;
}

// Lists the differences of the two paths on standard output.
void listDifferences(const ViewOptions& options, const PathComparison& c) {
    const std::string& first = options.inputs[0];
    const std::string& second = options.inputs[1];
    for (std::size_t i = 0; i < c.differences.size(); ++i) {
        const PathDifference& d = c.differences[i];
        std::printf("%zu. move %zu, %s:%u and %s:%u: %s (%s %s %s against %s %s %s)\n", i + 1,
                    d.move, first.c_str(), d.firstLine, second.c_str(), d.secondLine,
                    d.what.c_str(), millimetres(d.first.x).c_str(),
                    millimetres(d.first.y).c_str(), millimetres(d.first.z).c_str(),
                    millimetres(d.second.x).c_str(), millimetres(d.second.y).c_str(),
                    millimetres(d.second.z).c_str());
    }
    if (c.count > c.differences.size())
        std::printf("... and %llu more\n",
                    static_cast<unsigned long long>(c.count - c.differences.size()));
    std::printf("%s and %s: %s\n", first.c_str(), second.c_str(),
                c.count == 0
                    ? ("the same path within " + millimetres(options.tolerance) + " mm").c_str()
                    : (std::to_string(c.count) + " differences").c_str());
}

}  // namespace

ExitStatus runShow(const std::vector<std::string>& arguments) {
    ViewOptions options;
    if (const auto ended = startViewCommand(arguments, true, options)) return *ended;
    const bool html = endsWith(*options.output, ".html") || endsWith(*options.output, ".htm");
    if (!html && !endsWith(*options.output, ".svg")) {
        std::fprintf(stderr, "morvane: -o %s: the picture is FILE.svg or FILE.html\n",
                     options.output->c_str());
        return ExitStatus::Usage;
    }
    std::vector<std::unique_ptr<MovePath>> paths;
    std::vector<ProgramRun> runs(options.inputs.size());
    ExitStatus status = ExitStatus::Done;
    PictureInput picture;
    picture.tolerance = options.tolerance;
    for (std::size_t i = 0; i < options.inputs.size(); ++i) {
        paths.push_back(std::make_unique<MovePath>());
        if (const auto failed = readProgram(options, i, *paths.back(), runs[i], status))
            return *failed;
        picture.programs.push_back(
            {options.inputs[i], summary(runs[i], options.rapid), paths.back().get(),
             runs[i].figures});
    }
    if (paths.size() == 2) {
        picture.comparison = comparePaths(*paths[0], *paths[1], options.tolerance);
        listDifferences(options, picture.comparison);
        if (picture.comparison.count > 0 && status == ExitStatus::Done)
            status = ExitStatus::ConversionFailed;
    }
    const std::string text =
        html ? htmlPicture(picture, options.view) : svgPicture(picture, options.view);
    std::string error;
    if (!writePicture(*options.output, text, error)) {
        std::fprintf(stderr, "morvane: %s\n", error.c_str());
        return ExitStatus::FileError;
    }
    return status;
}

}  // namespace morvane::cli
