#include "platform/shared_library.h"

#include <dlfcn.h>

namespace morvane::platform {

void* loadLibrary(const std::string& path) {
    if (path.empty() || path.front() != '/') return nullptr;
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* findSymbol(void* library, const char* name) {
    if (library == nullptr || name == nullptr) return nullptr;
    return ::dlsym(library, name);
}

}  // namespace morvane::platform
