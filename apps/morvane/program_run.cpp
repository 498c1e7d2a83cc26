#include "program_run.h"

#include "file_kind.h"
#include "nci/diagnostics.h"

namespace morvane::cli {

bool ProgramRun::hasWarning() const {
    for (const ConversionDiagnostic& d : diagnostics)
        if (d.severity != "note") return true;
    return false;
}

std::optional<Failure> runProgram(const std::string& file, const ViewOptions& options,
                                  const std::function<void(const PathEvent&)>& onEvent,
                                  ProgramRun& run) {
    run.file = file;
    if (const std::string why = notARegularFile(file); !why.empty())
        return Failure{ExitStatus::FileError, file + ": " + why};
    std::string text, error;
    if (!readProgramFile(file, text, error)) return Failure{ExitStatus::FileError, error};
    std::string why;
    const std::optional<ProgramFormat> format =
        options.from ? options.from : detectFormat(file, text, &why);
    if (!format)
        return Failure{ExitStatus::FileError,
                       file + ": the format is not recognised (" + why + "); give --from"};
    run.format = *format;
    ConvertOptions convert;
    convert.corrected = !options.exact;
    convert.onDiagnostic = [&run](const ConversionDiagnostic& d) {
        run.diagnostics.push_back(d);
    };
    FigureCounter counter(options.rapid);
    run.result = convertToPath(text, *format, convert, [&](const PathEvent& event) {
        counter.take(event);
        if (onEvent) onEvent(event);
    });
    run.figures = counter.figures();
    return std::nullopt;
}

std::string diagnosticText(const std::string& file, const ConversionDiagnostic& d) {
    std::string text = file;
    if (d.line > 0) text.append(":").append(std::to_string(d.line));
    text.append(": ").append(d.severity).append(": ").append(d.message);
    if (d.count > 1) text.append(" (").append(groupedNumber(d.count)).append(" times)");
    return text.append(" [").append(d.code).append("]");
}

}  // namespace morvane::cli
