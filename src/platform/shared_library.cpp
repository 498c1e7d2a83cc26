#include "platform/shared_library.h"

#include <dlfcn.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace morvane::platform {

void* loadLibrary(const std::string& path) {
    if (path.empty() || path.front() != '/') return nullptr;
    return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

std::string lastLoadError() {
    const char* error = ::dlerror();
    return error != nullptr ? error : "not an absolute path";
}

void* findSymbol(void* library, const char* name) {
    if (library == nullptr || name == nullptr) return nullptr;
    return ::dlsym(library, name);
}

bool copyReadableMemory(void* to, const void* from, std::size_t bytes) {
    if (bytes == 0) return true;
    if (from == nullptr) return false;
    iovec local{to, bytes};
    iovec remote{const_cast<void*>(from), bytes};
    const ssize_t copied = ::process_vm_readv(::getpid(), &local, 1, &remote, 1, 0);
    if (copied >= 0) return static_cast<std::size_t>(copied) == bytes;
    // Where the kernel refuses to copy from the process itself (no such call, or a sandbox that
    // forbids it), the memory is taken as it is, as without the check.
    if (errno == ENOSYS || errno == EPERM) {
        std::memcpy(to, from, bytes);
        return true;
    }
    return false;
}

}  // namespace morvane::platform
