#include "frontend/conversion_driver.h"

#include <charconv>

#include "frontend/host_output.h"
#include "frontend/post_warnings_report.h"
#include "frontend/system_services.h"

namespace morvane {

namespace {

inline constexpr std::string_view kSelectionOnlyProperty = MORVANE_PROPERTY_SELECTION_ONLY;
inline constexpr std::string_view kUseLonghandCyclesProperty =
    MORVANE_PROPERTY_USE_LONGHAND_CYCLES;
inline constexpr std::string_view kResultInNewWindowProperty =
    MORVANE_PROPERTY_RESULT_IN_NEW_WINDOW;
inline constexpr std::string_view kDiagnosticProperty = MORVANE_PROPERTY_DIAGNOSTIC;

// The host's output bound: a whole number of bytes; none for anything else.
std::optional<RunLimits> hostLimits(const OptionMap& options) {
    const std::string* text = findSetting(options, kMaxOutputOption);
    if (text == nullptr) return std::nullopt;
    std::uint64_t bytes = 0;
    const char* end = text->data() + text->size();
    const auto [at, error] = std::from_chars(text->data(), end, bytes);
    if (error != std::errc() || at != end || bytes == 0) return std::nullopt;
    return RunLimits::forOutput(bytes);
}

bool wantsDiagnostics(const OptionMap& options) {
    const std::string* value = findSetting(options, kDiagnosticsOption);
    return value != nullptr && *value == MORVANE_CONFIG_TRUE;
}

Semantics semanticsOf(const OptionMap& options) {
    const std::string* value = findSetting(options, kSemanticsOption);
    return value != nullptr && *value == "corrected" ? Semantics::Corrected : Semantics::Exact;
}

// The run's two files in the temporary directory, removed when it ends, however it ends.
struct WorkingFiles {
    SystemServices& services;
    std::string nci, result;
    ~WorkingFiles() {
        for (const std::string* path : {&nci, &result})
            if (!path->empty()) services.removeFile(*path);
    }
};

}  // namespace

void ConversionDriver::run(const ConversionChoices& choices) {
    HostOutput host(state_.resultStream);
    Diagnostics diagnostics(wantsDiagnostics(state_.options), semanticsOf(state_.options));
    WorkingFiles files{services_, makeWorkingFile(diagnostics), {}};
    const std::string& nciPath = files.nci;

    // The host learns which lines to serve before any line is read.
    assignSetting(state_.config, kSelectionOnlyKey, storedBool(choices.selectionOnly));
    host.setProperty(kSelectionOnlyProperty, hostBool(choices.selectionOnly));

    SupportedCycleList cycles;
    files.result = makeWorkingFile(diagnostics);
    const std::string& resultPath = files.result;
    if (diagnostics.failed()) return finish(choices, host, diagnostics);
    const PostLibraryPaths paths = locatePostLibraries(services_.hostDirectory());
    if (std::string problem; !loadPostLibrary(services_, paths, entries_, problem)) {
        diagnostics.fail(diagnostic::kPostProcessorUnavailable, problem);
        return finish(choices, host, diagnostics);
    }

    if (!collectCycles(choices, host, paths, cycles)) return;
    if (!convertProgram(choices.formatPosition, nciPath, cycles, diagnostics))
        return finish(choices, host, diagnostics);

    if (choices.convertToNci) {
        host.sendFile(services_, nciPath);
        assignSetting(state_.config, kOutputToNciKey, storedBool(true));
        return finish(choices, host, diagnostics);
    }
    assignSetting(state_.config, kOutputToNciKey, storedBool(false));
    if (entries_.nciConverter == nullptr) return finish(choices, host, diagnostics);
    const bool converted = entries_.nciConverter(nciPath.c_str(), resultPath.c_str(),
                                                 choices.converterPath.c_str(),
                                                 paths.post.c_str()) != 0;
    reportPostWarnings(resultPath, diagnostics);
    if (!converted) {
        diagnostics.fail(diagnostic::kPostProcessorFailed,
                         "the post-processor did not convert the whole program with the converter " +
                             choices.converterPath + "; nothing of its result is kept");
        return finish(choices, host, diagnostics);
    }
    host.sendFile(services_, resultPath);
    finish(choices, host, diagnostics);
}

std::string ConversionDriver::makeWorkingFile(Diagnostics& diagnostics) {
    std::string path = services_.makeTemporaryFile();
    if (path.empty() && !diagnostics.failed()) {
        const std::string why = services_.lastProblem();
        diagnostics.fail(diagnostic::kNoWorkingFile,
                         "cannot make a working file in the temporary directory" +
                             (why.empty() ? std::string() : " " + why) +
                             "; set TMPDIR to a writable directory");
    }
    return path;
}

bool ConversionDriver::collectCycles(const ConversionChoices& choices, HostOutput& host,
                                     const PostLibraryPaths& paths, SupportedCycleList& cycles) {
    if (choices.longhandCycles) {
        host.setProperty(kUseLonghandCyclesProperty, hostBool(true));
        assignSetting(state_.config, kUseLonghandCyclesKey, storedBool(true));
        return true;
    }
    if (entries_.getSupportedCycles != nullptr) {
        auto patterns = askSupportedCycles(services_, entries_.getSupportedCycles,
                                           choices.converterPath, paths.post);
        if (!patterns) return false;  // the post-processor rejected the converter
        cycles = std::move(*patterns);
    }
    assignSetting(state_.config, kUseLonghandCyclesKey, storedBool(false));
    return true;
}

bool ConversionDriver::convertProgram(int formatPosition, const std::string& nciPath,
                                      const SupportedCycleList& cycles,
                                      Diagnostics& diagnostics) {
    ConversionRun conversion;
    conversion.lines = state_.lineSource;
    conversion.formatPosition = formatPosition;
    conversion.cycles = &cycles;
    conversion.limits = hostLimits(state_.options);
    conversion.nciPath = nciPath;  // without a parser the file stays empty
    conversion.parsers = parsers_;
    return runConversion(conversion, diagnostics) != RunEnd::Failed;
}

void ConversionDriver::finish(const ConversionChoices& choices, HostOutput& host,
                              const Diagnostics& diagnostics) {
    if (diagnostics.wanted())
        for (const Diagnostics::Entry& entry : diagnostics.entries())
            host.setProperty(kDiagnosticProperty, Diagnostics::hostText(entry));
    if (choices.resultInNewWindow) host.setProperty(kResultInNewWindowProperty, hostBool(true));
    assignSetting(state_.config, kResInNewWindowKey, storedBool(choices.resultInNewWindow));
    host.sendConfiguration(state_.config);
}

}  // namespace morvane
