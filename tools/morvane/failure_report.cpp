#include "failure_report.h"

#include "config_store.h"
#include "converter_catalog.h"
#include "platform/file_system.h"

namespace morvane::cli {

namespace {

// Why the post-processor would refuse the converter, when its reader finds a fault.
std::string converterFault(const std::string& path) {
    if (!platform::isRegularFile(path)) return "the converter " + path + " no longer exists";
    const ConverterEntry entry = describeConverter(path);
    if (entry.fault.empty()) return {};
    return "the post-processor rejected the converter " + path + ": " + entry.fault;
}

Failure notChosen(const RunContext& context) {
    if (context.interactive)
        return {ExitStatus::Cancelled, "the dialog was cancelled; nothing converted"};
    std::string message = "nothing to produce was chosen: give --nci or --converter NAME";
    if (!context.converterPath.empty() && !platform::isRegularFile(context.converterPath))
        message += " (the remembered converter " + context.converterPath + " no longer exists)";
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

}  // namespace

std::optional<Failure> explainRun(const Observations& seen, const RunContext& context) {
    if (!seen.selectionOnlySent) return notChosen(context);
    if (!seen.config) return stopped(context);
    if (seen.resultLines == 0) return producedNothing(seen, context);
    if (seen.resultWriteFailed)
        return Failure{ExitStatus::FileError,
                       "cannot keep the result lines: the disk is full or unwritable"};
    return std::nullopt;
}

}  // namespace morvane::cli
