// Loading a library and looking up its entry points.
#pragma once

#include <cstddef>
#include <string>

namespace morvane::platform {

// Loads the library at the absolute `path` with every symbol bound at once and nothing exported
// to later loads (RTLD_NOW | RTLD_LOCAL). Null on failure, or when `path` is not absolute (a bare
// name would be searched for along the library path). The library is never unloaded.
void* loadLibrary(const std::string& path);
// Why the last loadLibrary failed, as the loader says it.
std::string lastLoadError();
// The address of `name` in `library`; null when either is missing.
void* findSymbol(void* library, const char* name);
// Copies `bytes` from `from`, memory a library handed out, into `to`. False when some of it
// cannot be read (a pointer left dangling into memory that is gone): the kernel copies, so a bad
// address fails the call instead of the process.
bool copyReadableMemory(void* to, const void* from, std::size_t bytes);

}  // namespace morvane::platform
