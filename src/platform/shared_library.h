// Loading a library and looking up its entry points.
#pragma once

#include <string>

namespace morvane::platform {

// Loads the library at the absolute `path` with every symbol bound at once and nothing exported
// to later loads (RTLD_NOW | RTLD_LOCAL). Null on failure, or when `path` is not absolute (a bare
// name would be searched for along the library path). The library is never unloaded.
void* loadLibrary(const std::string& path);
// The address of `name` in `library`; null when either is missing.
void* findSymbol(void* library, const char* name);

}  // namespace morvane::platform
