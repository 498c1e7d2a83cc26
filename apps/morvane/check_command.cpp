#include "check_command.h"

#include <cstdio>

#include "check_report.h"
#include "program_run.h"
#include "view_options.h"

namespace morvane::cli {

ExitStatus runCheck(const std::vector<std::string>& arguments) {
    ViewOptions options;
    if (const auto ended = startViewCommand(arguments, false, options)) return *ended;
    ExitStatus status = ExitStatus::Done;
    const auto worst = [&status](ExitStatus s) {
        if (static_cast<int>(s) > static_cast<int>(status)) status = s;
    };
    for (const std::string& file : options.inputs) {
        ProgramRun run;
        if (const auto failure = runProgram(file, options, nullptr, run)) {
            std::fprintf(stderr, "morvane: %s\n", failure->message.c_str());
            worst(failure->status);
            continue;
        }
        const std::string report = options.json ? checkJson(run, options.rapid, !options.exact)
                                                : checkText(run, options.rapid);
        std::fputs(report.c_str(), stdout);
        if (!options.json)
            for (const ConversionDiagnostic& d : run.diagnostics)
                std::printf("%s\n", diagnosticText(file, d).c_str());
        if (!run.result.ok) {
            std::fprintf(stderr, "morvane: %s: the conversion failed: %s\n", file.c_str(),
                         run.result.failure.c_str());
            worst(ExitStatus::ConversionFailed);
        }
        if (options.strict && run.hasWarning()) worst(ExitStatus::ConversionFailed);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "morvane: cannot write the report to standard output\n");
        worst(ExitStatus::FileError);
    }
    return status;
}

}  // namespace morvane::cli
