// libmorvane.so loaded at run time, as a host editor loads it: dlopen, then the nine entry
// points looked up by name. The host never links the plug-in's code.
#pragma once

#include <string>
#include <vector>

#include "morvane/plugin_api.h"

namespace morvane::cli {

struct PluginExports {
    int32_t (*getUri)(const char** uri) = nullptr;
    int32_t (*getInfo)(const char** name, const char** description) = nullptr;
    int32_t (*getVersion)(uint32_t* major, uint32_t* minor, uint32_t* build,
                          uint32_t* revision) = nullptr;
    int32_t (*attachLineSource)(LineSource* source) = nullptr;
    int32_t (*attachResultStream)(ResultStream* stream) = nullptr;
    int32_t (*attachLocalizeSource)(LocalizeSource* source) = nullptr;
    int32_t (*setOption)(const char* name, const char* value) = nullptr;
    int32_t (*clearOptions)() = nullptr;
    int32_t (*performAction)() = nullptr;
};

// Why the library at `path` cannot be loaded, in the loader's words; empty when it loads (it
// then stays loaded, as the plug-in's libraries do).
std::string libraryLoadError(const std::string& path);

// The loaded plug-in. The library stays loaded until the program ends.
class PluginLibrary {
  public:
    // Loads the first candidate that exists. On failure `error` says which files were tried,
    // why the library did not load, or which entry points it lacks.
    bool load(const std::vector<std::string>& candidates, std::string& error);

    const PluginExports& exports() const { return exports_; }
    const std::string& path() const { return path_; }
    // "major.minor.build.revision" as the plug-in reports it.
    std::string version() const;

  private:
    PluginExports exports_;
    std::string path_;
};

}  // namespace morvane::cli
