// The configuration string the host hands back: any text parses without fault, what is built
// from the result stays within its length limit and reads back as entries of the same values,
// and every value survives escaping.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "frontend/plugin_state.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace morvane;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    OptionMap config;
    parseConfigString(text, config);

    const std::string built = buildConfigString(config);
    if (built.size() > kConfigStringLimit) fuzz::fail("the built string is too long", built);
    if (!built.empty() && built.back() != ';') fuzz::fail("the last entry is not ended", built);

    OptionMap readBack;
    parseConfigString(built, readBack);
    for (const auto& [key, value] : readBack) {
        const auto original = config.find(key);
        if (original == config.end()) fuzz::fail("an entry appeared on reading back", key);
        if (original->second != value) fuzz::fail("a value changed on reading back", value);
    }
    for (const auto& [key, value] : config) {
        if (unescapeConfigText(escapeConfigText(key)) != key) fuzz::fail("key escaping", key);
        if (unescapeConfigText(escapeConfigText(value)) != value)
            fuzz::fail("value escaping", value);
    }
    return 0;
}
