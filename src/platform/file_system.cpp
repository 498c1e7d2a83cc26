#include "platform/file_system.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace morvane::platform {

std::string executablePath() {
    // The link's length is unknown in advance; grow the buffer a bounded number of times.
    std::vector<char> buffer(512);
    for (int attempt = 0; attempt < 8; ++attempt) {
        const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(n));
        buffer.resize(buffer.size() * 4);
    }
    return {};
}

std::string directoryOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash));
}

std::string temporaryDirectory() {
    const char* dir = std::getenv("TMPDIR");
    if (dir != nullptr && *dir != '\0' && isDirectory(dir)) return dir;
    return "/tmp";
}

std::string createTemporaryFile(const std::string& directory, std::string_view prefix) {
    constexpr std::string_view kSuffix = ".tmp";
    std::string path = directory;
    if (path.empty() || path.back() != '/') path += '/';
    path.append(prefix).append("XXXXXX").append(kSuffix);
    // mkostemps opens with O_CREAT | O_EXCL and mode 0600, retrying on name clashes.
    const int fd = ::mkostemps(path.data(), static_cast<int>(kSuffix.size()), O_CLOEXEC);
    if (fd < 0) return {};
    ::close(fd);
    return path;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool isDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace morvane::platform
