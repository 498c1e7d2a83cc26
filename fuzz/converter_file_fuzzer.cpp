// Converter files (*.conv) as the post-processor's reader library reads them: any text either
// reads as settings and patterns within their bounds, or is rejected with a reason.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "converter_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const auto converter = post::parseConverterText(text, &error);
    if (!converter) {
        if (error.empty()) fuzz::fail("a file was rejected without a reason", text);
        return 0;
    }
    if (converter->cycles.size() > post::kMaxCyclePatterns)
        fuzz::fail("too many cycle patterns", text);
    for (const post::CyclePattern& pattern : converter->cycles)
        for (const std::int32_t field : pattern.fields)
            if (field != 0 && field != 1 && field != 2 && field != 7)
                fuzz::fail("a pattern field outside 0, 1, 2, 7", pattern.name);
    return 0;
}
