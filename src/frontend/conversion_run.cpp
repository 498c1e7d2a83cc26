#include "frontend/conversion_run.h"

#include "nci/cycle_errors.h"
#include "parsers/program_source.h"

namespace morvane {

namespace {

// The lines as the host serves them, each ended by a line feed. The copy shares the parsers'
// bounds on lines; it writes no more than the host serves, so only a host's own bound limits it.
bool copyNciLines(const ConversionRun& run, Diagnostics& diagnostics) {
    NciStream out;
    out.setDiagnostics(&diagnostics);
    if (run.sink != nullptr) {
        out.open(*run.sink);
    } else if (!out.open(run.nciPath, true)) {  // the file made for the run must still be there
        return false;
    }
    out.setByteBudget(run.limits ? run.limits->nciBytes : UINT64_MAX);
    ProgramSource lines(run.lines, limits::kNciLineBytes);
    const std::int32_t count = lines.askLineCount();
    lines.startRun(0, &diagnostics);
    for (std::int32_t i = 0; i < count && !out.exhausted(); ++i) {
        diagnostics.atLine(static_cast<std::uint32_t>(i));
        out << lines.line(i) << eol;
    }
    return out.close();
}

}  // namespace

RunEnd runConversion(const ConversionRun& run, Diagnostics& diagnostics) {
    if (run.formatPosition == formatPosition(InputFormat::Nci))
        return copyNciLines(run, diagnostics) ? RunEnd::Written : RunEnd::Failed;
    static const SupportedCycleList kNoCycles;
    std::unique_ptr<ProgramParser> parser = run.parsers(
        run.formatPosition, run.lines, run.sink != nullptr ? std::string() : run.nciPath,
        run.cycles != nullptr ? *run.cycles : kNoCycles);
    if (parser == nullptr) return RunEnd::NoParser;
    parser->setDiagnostics(diagnostics);
    if (run.sink != nullptr) parser->setOutput(*run.sink);
    if (run.limits) parser->setLimits(*run.limits);
    try {
        parser->run();
    } catch (const CycleWrongValue&) {
        // A rejected cycle parameter ends the program there; destroying the parser closes the
        // NCI with what it holds, and the result is delivered as for a finished run.
    } catch (const CycleWrongCode&) {
    }
    parser.reset();  // closes the NCI file, or hands the rest of the text to the sink
    return diagnostics.failed() ? RunEnd::Failed : RunEnd::Written;
}

}  // namespace morvane
