#include "plugin_library.h"

#include <dlfcn.h>

#include <cstring>

#include "platform/file_system.h"

namespace morvane::cli {

namespace {

// Looks `name` up and stores it in `entry`; a missing name is added to `missing`.
template <typename Fn>
void bindEntry(void* library, const char* name, Fn& entry, std::string& missing) {
    void* address = ::dlsym(library, name);
    if (address == nullptr) {
        missing.append(missing.empty() ? "" : ", ").append(name);
        return;
    }
    static_assert(sizeof entry == sizeof address);
    std::memcpy(&entry, &address, sizeof entry);
}

}  // namespace

bool PluginLibrary::load(const std::vector<std::string>& candidates, std::string& error) {
    std::string path;
    for (const std::string& candidate : candidates) {
        if (platform::isRegularFile(candidate)) {
            path = candidate;
            break;
        }
    }
    if (path.empty()) {
        error = "the plug-in libmorvane.so is not installed; looked for:";
        for (const std::string& candidate : candidates)
            error.append("\n  ").append(candidate);
        return false;
    }
    void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = ::dlerror();
        error = "cannot load the plug-in " + path + ": " + (why != nullptr ? why : "unknown error");
        return false;
    }
    std::string missing;
    bindEntry(library, "TeskPlugin_getUri", exports_.getUri, missing);
    bindEntry(library, "TeskPlugin_getInfo", exports_.getInfo, missing);
    bindEntry(library, "TeskPlugin_getVersion", exports_.getVersion, missing);
    bindEntry(library, "TeskPlugin_attatchLineSource", exports_.attachLineSource, missing);
    bindEntry(library, "TeskPlugin_attatchResultStream", exports_.attachResultStream, missing);
    bindEntry(library, "TeskPlugin_attatchLocalizeSource", exports_.attachLocalizeSource, missing);
    bindEntry(library, "TeskPlugin_SetOption", exports_.setOption, missing);
    bindEntry(library, "TeskPlugin_ClearOptions", exports_.clearOptions, missing);
    bindEntry(library, "TeskPlugin_PerfromPluginAction", exports_.performAction, missing);
    if (!missing.empty()) {
        error = "the plug-in " + path + " lacks the entry points " + missing;
        return false;
    }
    path_ = path;
    return true;
}

std::string libraryLoadError(const std::string& path) {
    // Left loaded: the plug-in's own dlopen of it then costs nothing.
    if (::dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL) != nullptr) return {};
    const char* why = ::dlerror();
    return why != nullptr ? why : "unknown error";
}

std::string PluginLibrary::version() const {
    uint32_t part[4] = {0, 0, 0, 0};
    if (exports_.getVersion != nullptr) exports_.getVersion(&part[0], &part[1], &part[2], &part[3]);
    return std::to_string(part[0]) + "." + std::to_string(part[1]) + "." + std::to_string(part[2]) +
           "." + std::to_string(part[3]);
}

}  // namespace morvane::cli
