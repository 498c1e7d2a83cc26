// The nine entry points the host editor calls. Every one returns 1 and lets no exception cross
// the C boundary.
#include "morvane/plugin_api.h"
#include "plugin/morvane_gui.h"
#include "frontend/plugin_state.h"

namespace {

// Created when the library is loaded, destroyed when it is unloaded.
morvane::PluginState gState;

morvane::PluginState& pluginState() {
    return gState;
}

constexpr const char* kUri = "http://www.morvane.org/namespace/editor-plugin/morvane";
constexpr const char* kName = "Morvane";
constexpr const char* kDescription = "Converts between differnt formats of NC files....";

// Runs `body`, swallowing anything it throws: the host cannot receive a C++ exception.
template <typename Body>
int32_t guarded(Body body) noexcept {
    try {
        body();
    } catch (...) {
    }
    return 1;
}

}  // namespace

extern "C" {

int32_t MORVANE_CALL TeskPlugin_getUri(const char** uri) {
    return guarded([&] {
        if (uri != nullptr) *uri = kUri;
    });
}

int32_t MORVANE_CALL TeskPlugin_getInfo(const char** name, const char** description) {
    return guarded([&] {
        if (name != nullptr) *name = kName;
        if (description != nullptr) *description = kDescription;
    });
}

int32_t MORVANE_CALL TeskPlugin_getVersion(uint32_t* major, uint32_t* minor, uint32_t* build,
                                           uint32_t* revision) {
    return guarded([&] {
        if (major != nullptr) *major = 0;
        if (minor != nullptr) *minor = 0;
        if (build != nullptr) *build = 0;
        if (revision != nullptr) *revision = 1;
    });
}

int32_t MORVANE_CALL TeskPlugin_attatchLineSource(LineSource* source) {
    return guarded([&] { pluginState().lineSource = source; });
}

int32_t MORVANE_CALL TeskPlugin_attatchResultStream(ResultStream* stream) {
    return guarded([&] { pluginState().resultStream = stream; });
}

int32_t MORVANE_CALL TeskPlugin_attatchLocalizeSource(LocalizeSource* source) {
    return guarded([&] { pluginState().localizeSource = source; });
}

int32_t MORVANE_CALL TeskPlugin_SetOption(const char* name, const char* value) {
    return guarded([&] {
        // A nameless option names nothing; a missing value is an empty one.
        if (name == nullptr) return;
        morvane::setOption(pluginState(), name, value != nullptr ? value : "");
    });
}

int32_t MORVANE_CALL TeskPlugin_ClearOptions(void) {
    return guarded([] { morvane::clearOptions(pluginState()); });
}

int32_t MORVANE_CALL TeskPlugin_PerfromPluginAction(void) {
    return guarded([] { morvane::CMorvaneGUI(&pluginState()).run(); });
}

}  // extern "C"
