// One dialect's conversion of arbitrary bytes taken as a program, once with every cycle expanded
// into moves and once with every native cycle supported, the second one with diagnostics wanted
// and the corrected semantics. The conversion must end (no crash, no hang, no sanitizer report)
// and leave well-formed NCI text without a non-number in it.
#include <cstddef>
#include <cstdint>

#include "nci/cycle_errors.h"
#include "fuzz_support.h"
#include "parsers/program_parser.h"
#include "support/nci_check.h"

#ifndef MORVANE_FUZZ_FORMAT
#error "MORVANE_FUZZ_FORMAT names the format-list position of the dialect"
#endif

namespace {

using namespace morvane;

constexpr int kFormat = MORVANE_FUZZ_FORMAT;
constexpr int kHeidenhain = static_cast<int>(InputFormat::Heidenhain);

// A post-processor that writes every native cycle itself: a pattern of 2s matches every mask.
SupportedCycleList everyNativeCycle() {
    SupportedCycle all;
    all.fill(2);
    return {all};
}

void convert(const fuzz::InputDocument& document, const SupportedCycleList& cycles,
             Diagnostics* diagnostics) {
    const std::string& path = fuzz::scratchFile();
    auto parser = makeParser(kFormat, document.source(), path, cycles);
    if (parser == nullptr) fuzz::fail("the format has no parser", "");
    parser->setLimits(fuzz::fuzzLimits());
    if (diagnostics != nullptr) parser->setDiagnostics(*diagnostics);
    bool ended = true;
    try {
        parser->run();
    } catch (const CycleWrongValue&) {
        ended = false;  // a rejected cycle parameter ends the program where it was
    } catch (const CycleWrongCode&) {
        ended = false;
    }
    parser.reset();
    const std::string nci = fuzz::readWholeFile(path);
    const std::string fault =
        kFormat == kHeidenhain ? test::checkNciRecords(nci) : test::checkIsoProgram(nci, ended);
    if (!fault.empty()) fuzz::fail(fault, nci);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::InputDocument document(data, size);
    convert(document, {}, nullptr);
    Diagnostics diagnostics(true, Semantics::Corrected);
    convert(document, everyNativeCycle(), &diagnostics);
    return 0;
}
