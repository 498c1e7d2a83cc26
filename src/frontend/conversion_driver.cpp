#include "frontend/conversion_driver.h"

#include <memory>

#include "cycles/cycle_errors.h"
#include "frontend/host_output.h"
#include "frontend/system_services.h"
#include "nci/nci_stream.h"
#include "parsers/program_source.h"

namespace morvane {

namespace {

inline constexpr std::string_view kSelectionOnlyProperty = "SELECTION_ONLY";
inline constexpr std::string_view kUseLonghandCyclesProperty = "UseLonghandCycles";
inline constexpr std::string_view kResultInNewWindowProperty = "RESULT_IN_NEW_WINDOW";

}  // namespace

void ConversionDriver::run(const ConversionChoices& choices) {
    HostOutput host(state_.resultStream);
    const std::string nciPath = services_.makeTemporaryFile();

    // The host learns which lines to serve before any line is read.
    assignSetting(state_.config, kSelectionOnlyKey, storedBool(choices.selectionOnly));
    host.setProperty(kSelectionOnlyProperty, hostBool(choices.selectionOnly));

    SupportedCycleList cycles;
    const std::string resultPath = services_.makeTemporaryFile();
    const PostLibraryPaths paths = locatePostLibraries(services_.hostDirectory());
    if (!loadPostLibrary(services_, paths, entries_)) return finish(choices, host);

    if (!collectCycles(choices, host, paths, cycles)) return;
    if (!convertProgram(choices.formatPosition, nciPath, cycles)) return;

    if (choices.convertToNci) {
        host.sendFile(services_, nciPath);
        assignSetting(state_.config, kOutputToNciKey, storedBool(true));
        return finish(choices, host);
    }
    assignSetting(state_.config, kOutputToNciKey, storedBool(false));
    if (entries_.nciConverter == nullptr) return finish(choices, host);
    entries_.nciConverter(nciPath.c_str(), resultPath.c_str(), choices.converterPath.c_str(),
                          paths.post.c_str());
    host.sendFile(services_, resultPath);
    finish(choices, host);
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
                                      const SupportedCycleList& cycles) {
    if (formatPosition == kNciFormatPosition) return copyNciLines(nciPath);
    std::unique_ptr<ProgramParser> parser =
        parsers_(formatPosition, state_.lineSource, nciPath, cycles);
    if (parser == nullptr) return true;  // no parser: the NCI file stays empty
    try {
        parser->run();
    } catch (const CycleWrongValue&) {
        // A rejected cycle parameter ends the program there; destroying the parser closes the
        // NCI file with what it holds, and the result is sent as for a finished run.
    } catch (const CycleWrongCode&) {
    }
    return true;
}

bool ConversionDriver::copyNciLines(const std::string& nciPath) {
    // The file made for the run must still be there; the copy shares the parsers' bounds on
    // lines and on the bytes a conversion writes.
    NciStream out;
    if (nciPath.empty() || !out.open(nciPath, true)) return false;
    ProgramSource lines(state_.lineSource);
    const std::int32_t count = lines.askLineCount();
    for (std::int32_t i = 0; i < count && !out.exhausted(); ++i)
        out << lines.line(i) << eol;
    return true;
}

void ConversionDriver::finish(const ConversionChoices& choices, HostOutput& host) {
    if (choices.resultInNewWindow) host.setProperty(kResultInNewWindowProperty, hostBool(true));
    assignSetting(state_.config, kResInNewWindowKey, storedBool(choices.resultInNewWindow));
    host.sendConfiguration(state_.config);
}

}  // namespace morvane
