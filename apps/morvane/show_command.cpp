#include "show_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

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
    OutputFile out;
    if (!out.open(path, error)) return false;
    if (!writeBytes(out.stream(), text)) {
        error = path + ": cannot be written: " + std::strerror(errno);
        return false;
    }
    return out.commit(path, modeForDestination(path), error);
}

}  // namespace

ExitStatus runShow(const std::vector<std::string>& arguments) {
    ViewOptions options;
    if (const auto ended = startViewCommand(arguments, true, options)) return *ended;
    std::string error;
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
        MovePath& path = *paths.back();
        if (const auto failure = runProgram(options.inputs[i], options,
                                            [&path](const PathEvent& e) { path.take(e); },
                                            runs[i])) {
            std::fprintf(stderr, "morvane: %s\n", failure->message.c_str());
            return failure->status;
        }
        std::size_t warnings = 0;
        for (const ConversionDiagnostic& d : runs[i].diagnostics)
            if (d.severity != "note" && ++warnings <= kMaxWarningsShown)
                std::fprintf(stderr, "%s\n", diagnosticText(options.inputs[i], d).c_str());
        if (warnings > kMaxWarningsShown)
            std::fprintf(stderr, "morvane: %s: %zu more warnings (morvane check lists them all)\n",
                         options.inputs[i].c_str(), warnings - kMaxWarningsShown);
        if (!runs[i].result.ok) {
            std::fprintf(stderr, "morvane: %s: the conversion failed: %s\n",
                         options.inputs[i].c_str(), runs[i].result.failure.c_str());
            status = ExitStatus::ConversionFailed;
        }
        picture.programs.push_back(
            {options.inputs[i], summary(runs[i], options.rapid), &path, runs[i].figures});
    }
    if (paths.size() == 2) {
        picture.comparison = comparePaths(*paths[0], *paths[1], options.tolerance);
        for (std::size_t i = 0; i < picture.comparison.differences.size(); ++i) {
            const PathDifference& d = picture.comparison.differences[i];
            std::printf("%zu. move %zu, %s:%u and %s:%u: %s (%s %s %s against %s %s %s)\n",
                        i + 1, d.move, options.inputs[0].c_str(), d.firstLine,
                        options.inputs[1].c_str(), d.secondLine, d.what.c_str(),
                        millimetres(d.first.x).c_str(), millimetres(d.first.y).c_str(),
                        millimetres(d.first.z).c_str(), millimetres(d.second.x).c_str(),
                        millimetres(d.second.y).c_str(), millimetres(d.second.z).c_str());
        }
        const PathComparison& c = picture.comparison;
        if (c.count > c.differences.size())
            std::printf("... and %llu more\n",
                        static_cast<unsigned long long>(c.count - c.differences.size()));
        std::printf("%s and %s: %s\n", options.inputs[0].c_str(), options.inputs[1].c_str(),
                    c.count == 0 ? ("the same path within " + millimetres(options.tolerance) +
                                    " mm").c_str()
                                 : (std::to_string(c.count) + " differences").c_str());
        if (c.count > 0 && status == ExitStatus::Done) status = ExitStatus::ConversionFailed;
    }
    const std::string text =
        html ? htmlPicture(picture, options.view) : svgPicture(picture, options.view);
    if (!writePicture(*options.output, text, error)) {
        std::fprintf(stderr, "morvane: %s\n", error.c_str());
        return ExitStatus::FileError;
    }
    return status;
}

}  // namespace morvane::cli
