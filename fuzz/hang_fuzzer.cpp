// The hang hunter: one dialect's conversion of arbitrary bytes with the product's own bounds (no
// setLimits: the budgets a conversion takes for the program's size), every cycle expanded. It
// checks nothing but time: built without the sanitizers (fuzz/CMakeLists.txt) and run with a
// short timeout (fuzz/run), an input whose conversion takes longer is one that the bounds do
// not keep short.
#include <cstddef>
#include <cstdint>

#include "cycles/cycle_errors.h"
#include "fuzz_support.h"
#include "parsers/program_parser.h"

#ifndef MORVANE_FUZZ_FORMAT
#error "MORVANE_FUZZ_FORMAT names the format-list position of the dialect"
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    const fuzz::InputDocument document(data, size);
    // The parser truncates the scratch file, so it never holds more than one input's NCI.
    auto parser = makeParser(MORVANE_FUZZ_FORMAT, document.source(), fuzz::scratchFile(), {});
    if (parser == nullptr) fuzz::fail("the format has no parser", "");
    try {
        parser->run();
    } catch (const CycleWrongValue&) {
        // A rejected cycle parameter ends the program where it was.
    } catch (const CycleWrongCode&) {
    }
    return 0;
}
