#include "frontend/conversion_driver.h"

#include <charconv>
#include <memory>

#include "nci/cycle_errors.h"
#include "frontend/host_output.h"
#include "frontend/post_warnings_report.h"
#include "frontend/system_services.h"
#include "nci/nci_stream.h"
#include "parsers/program_source.h"

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

}  // namespace

void ConversionDriver::run(const ConversionChoices& choices) {
    HostOutput host(state_.resultStream);
    Diagnostics diagnostics(wantsDiagnostics(state_.options), semanticsOf(state_.options));
    const std::string nciPath = makeWorkingFile(diagnostics);

    // The host learns which lines to serve before any line is read.
    assignSetting(state_.config, kSelectionOnlyKey, storedBool(choices.selectionOnly));
    host.setProperty(kSelectionOnlyProperty, hostBool(choices.selectionOnly));

    SupportedCycleList cycles;
    const std::string resultPath = makeWorkingFile(diagnostics);
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
    const std::optional<RunLimits> limits = hostLimits(state_.options);
    if (formatPosition == kNciFormatPosition)
        return copyNciLines(nciPath, limits ? limits->nciBytes : UINT64_MAX, diagnostics);
    std::unique_ptr<ProgramParser> parser =
        parsers_(formatPosition, state_.lineSource, nciPath, cycles);
    if (parser == nullptr) return true;  // no parser: the NCI file stays empty
    parser->setDiagnostics(diagnostics);
    if (limits) parser->setLimits(*limits);
    try {
        parser->run();
    } catch (const CycleWrongValue&) {
        // A rejected cycle parameter ends the program there; destroying the parser closes the
        // NCI file with what it holds, and the result is sent as for a finished run.
    } catch (const CycleWrongCode&) {
    }
    parser.reset();  // closes the NCI file
    return !diagnostics.failed();
}

bool ConversionDriver::copyNciLines(const std::string& nciPath, std::uint64_t maxBytes,
                                    Diagnostics& diagnostics) {
    // The file made for the run must still be there. The copy shares the parsers' bounds on
    // lines; it writes no more than the host serves, so only a host's own bound limits it.
    NciStream out;
    out.setDiagnostics(&diagnostics);
    if (!out.open(nciPath, true)) return false;
    out.setByteBudget(maxBytes);
    ProgramSource lines(state_.lineSource, limits::kNciLineBytes);
    const std::int32_t count = lines.askLineCount();
    lines.startRun(0, &diagnostics);
    for (std::int32_t i = 0; i < count && !out.exhausted(); ++i) {
        diagnostics.atLine(static_cast<std::uint32_t>(i));
        out << lines.line(i) << eol;
    }
    return out.close();
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
