#include "platform/platform_services.h"

#include "platform/file_system.h"
#include "platform/shared_library.h"

namespace morvane::platform {

std::string PlatformServices::hostDirectory() {
    if (hostDirectory_) return *hostDirectory_;
    return directoryOf(executablePath());
}

std::string PlatformServices::makeTemporaryFile() {
    return createTemporaryFile(temporaryDirectory(), "NEW");
}

bool PlatformServices::fileExists(const std::string& path) {
    return isRegularFile(path);
}

void* PlatformServices::loadLibrary(const std::string& path) {
    return platform::loadLibrary(path);
}

void* PlatformServices::findEntryPoint(void* library, const char* name) {
    return findSymbol(library, name);
}

bool PlatformServices::copyLibraryMemory(void* to, const void* from, std::size_t bytes) {
    return copyReadableMemory(to, from, bytes);
}

}  // namespace morvane::platform
