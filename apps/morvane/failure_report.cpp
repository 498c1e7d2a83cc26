#include "failure_report.h"

#include <cerrno>
#include <cstring>

#include "config_store.h"
#include "converter_catalog.h"
#include "file_kind.h"

namespace morvane::cli {

namespace {

// What is wrong with a converter path that names no regular file.
std::string converterProblem(const std::string& path) {
    if (notARegularFile(path) == kDoesNotExist) return "no longer exists";
    return notAConverterFile(path);
}

// Why the post-processor would refuse the converter, when its reader finds a fault.
std::string converterFault(const std::string& path) {
    if (std::string problem = converterProblem(path); !problem.empty())
        return "the converter " + path + " " + problem;
    const ConverterEntry entry = describeConverter(path);
    if (entry.fault.empty()) return {};
    return "the post-processor rejected the converter " + path + ": " + entry.fault;
}

Failure notChosen(const RunContext& context) {
    if (context.interactive)
        return {ExitStatus::Cancelled, "the dialog was cancelled; nothing converted"};
    std::string message = "nothing to produce was chosen: give --nci or --converter NAME";
    if (std::string problem =
            context.converterPath.empty() ? std::string() : converterProblem(context.converterPath);
        !problem.empty())
        message += " (the remembered converter " + context.converterPath + " " + problem + ")";
    message += ", or pick it in the dialog with --interactive on a terminal";
    return {ExitStatus::Usage, message};
}

Failure stopped(const RunContext& context) {
    std::string message = "the conversion stopped before any result: ";
    if (context.longhandCycles) {
        message += "the plug-in could not write its working file in the temporary directory";
    } else if (context.converterPath.empty()) {
        message +=
            "without a converter the cycles must be expanded; add --longhand or --converter NAME";
    } else if (std::string fault = converterFault(context.converterPath); !fault.empty()) {
        message += fault;
    } else {
        message += "the post-processor refused the converter " + context.converterPath;
    }
    return {ExitStatus::ConversionFailed, message};
}

Failure producedNothing(const Observations& seen, const RunContext& context) {
    const ConfigSummary used = summarizeConfig(seen.config.value_or(""));
    std::string message = "the conversion produced nothing: ";
    if (!used.outputToNci && !used.converterPath.empty()) {
        const std::string fault = converterFault(used.converterPath);
        message +=
            fault.empty() ? "the post-processor wrote no result with " + used.converterPath : fault;
    } else if (!context.interactive) {
        message += "the " + std::string(formatInfo(context.format).dialogEntry) +
                   " program gave no NCI at all (is it really that format? see morvane formats)";
    } else {
        message += "the program gave no NCI at all (was the right format chosen?)";
    }
    return {ExitStatus::ConversionFailed, message};
}

// The failure an error of the plug-in decides; its diagnostic has said what and where. For a
// post-processor that failed, the host adds what it can tell: a converter file it would refuse,
// a file system without room.
std::optional<Failure> failureReported(const Observations& seen,
                                       const std::vector<HostDiagnostic>& diagnostics,
                                       const RunContext& context) {
    const auto reported = [&](const DiagnosticCode& code) {
        for (const HostDiagnostic& diagnostic : diagnostics)
            if (diagnostic.severity == Severity::Error && diagnostic.code == code.name) return true;
        return false;
    };
    if (reported(diagnostic::kPostProcessorUnavailable))
        return Failure{ExitStatus::Installation, ""};
    if (reported(diagnostic::kWriteFailed) || reported(diagnostic::kNoWorkingFile))
        return Failure{ExitStatus::FileError, ""};
    if (reported(diagnostic::kPostProcessorFailed)) {
        if (context.workingFileSystemFull)
            return Failure{ExitStatus::FileError,
                           context.temporaryDirectory + ": " + std::strerror(ENOSPC) +
                               ": the post-processor could not write its whole result there; "
                               "make room, or set TMPDIR to a directory with room"};
        const std::string converter = summarizeConfig(seen.config.value_or("")).converterPath;
        return Failure{ExitStatus::ConversionFailed,
                       converter.empty() ? std::string() : converterFault(converter)};
    }
    if (reported(diagnostic::kLimitReached))
        return Failure{ExitStatus::ConversionFailed,
                       "nothing written: the result is cut short at a bound of the conversion"};
    for (const HostDiagnostic& diagnostic : diagnostics)
        if (diagnostic.severity == Severity::Error)
            return Failure{ExitStatus::ConversionFailed, "nothing written: the conversion failed"};
    return std::nullopt;
}

}  // namespace

std::optional<Failure> explainRun(const Observations& seen,
                                  const std::vector<HostDiagnostic>& diagnostics,
                                  const RunContext& context) {
    if (!seen.selectionOnlySent) return notChosen(context);
    if (auto failure = failureReported(seen, diagnostics, context)) return failure;
    if (!seen.config) return stopped(context);
    if (seen.resultLines == 0) return producedNothing(seen, context);
    if (seen.resultWriteError != 0)
        return Failure{ExitStatus::FileError, "cannot write the result into " + context.resultFile +
                                                  ": " + std::strerror(seen.resultWriteError)};
    return std::nullopt;
}

}  // namespace morvane::cli
