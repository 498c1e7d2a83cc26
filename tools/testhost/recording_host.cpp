#include "recording_host.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace morvane::testhost {

RecordingHost::~RecordingHost() {
    TeskPlugin_attatchLineSource(nullptr);
    TeskPlugin_attatchResultStream(nullptr);
    TeskPlugin_attatchLocalizeSource(nullptr);
}

void RecordingHost::attach(bool localise) {
    TeskPlugin_attatchLineSource(lineSource());
    TeskPlugin_attatchResultStream(resultStream());
    TeskPlugin_attatchLocalizeSource(localise ? localizeSource() : nullptr);
}

std::int32_t RecordingHost::perform(std::string_view script) {
    const char* previous = std::getenv("MORVANE_DIALOG");
    const std::optional<std::string> saved =
        previous != nullptr ? std::optional<std::string>(previous) : std::nullopt;
    ::setenv("MORVANE_DIALOG", std::string(script).c_str(), 1);
    const std::int32_t result = TeskPlugin_PerfromPluginAction();
    if (saved) {
        ::setenv("MORVANE_DIALOG", saved->c_str(), 1);
    } else {
        ::unsetenv("MORVANE_DIALOG");
    }
    return result;
}

}  // namespace morvane::testhost
