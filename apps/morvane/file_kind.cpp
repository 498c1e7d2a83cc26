#include "file_kind.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace morvane::cli {

std::string fileKind(mode_t mode) {
    if (S_ISDIR(mode)) return "a directory";
    if (S_ISFIFO(mode)) return "a named pipe (FIFO)";
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISSOCK(mode)) return "a socket";
    return "not a regular file";
}

std::string notARegularFile(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::string(kDoesNotExist)
                               : "cannot be looked at: " + std::string(std::strerror(errno));
    return S_ISREG(info.st_mode) ? std::string() : "is " + fileKind(info.st_mode);
}

std::string notAConverterFile(const std::string& path) {
    const std::string problem = notARegularFile(path);
    if (problem.empty() || problem == kDoesNotExist) return {};
    return problem.starts_with("is ") ? problem + ", not a converter file" : problem;
}

}  // namespace morvane::cli
