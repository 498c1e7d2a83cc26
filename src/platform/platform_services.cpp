#include "platform/platform_services.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/file_system.h"
#include "platform/shared_library.h"

namespace morvane::platform {

std::string PlatformServices::hostDirectory() {
    if (hostDirectory_) return *hostDirectory_;
    return directoryOf(executablePath());
}

std::string PlatformServices::makeTemporaryFile() {
    const std::string directory = temporaryDirectory();
    std::string path = createTemporaryFile(directory, "NEW");
    if (path.empty()) problem_ = directory + ": " + std::strerror(errno);
    return path;
}

bool PlatformServices::fileExists(const std::string& path) {
    return isRegularFile(path);
}

void PlatformServices::removeFile(const std::string& path) {
    std::remove(path.c_str());
}

void* PlatformServices::loadLibrary(const std::string& path) {
    void* library = platform::loadLibrary(path);
    if (library == nullptr) problem_ = lastLoadError();
    return library;
}

void* PlatformServices::findEntryPoint(void* library, const char* name) {
    return findSymbol(library, name);
}

bool PlatformServices::copyLibraryMemory(void* to, const void* from, std::size_t bytes) {
    return copyReadableMemory(to, from, bytes);
}

}  // namespace morvane::platform
