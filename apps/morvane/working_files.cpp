#include "working_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <ctime>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

namespace morvane::cli {

namespace {

constexpr std::string_view kMark = "morvane-";
constexpr std::size_t kUniquePart = 6;  // the XXXXXX of mkdtemp and mkostemp
constexpr std::time_t kSweepInterval = 3600;  // seconds between two looks through a directory
// A directory this large (its entries take this many bytes) holds thousands of names.
constexpr off_t kClutteredDirectoryBytes = off_t{256} << 10;

std::string processTag() {
    return std::string(kMark) + std::to_string(::getpid()) + "-XXXXXX";
}

// The process id in "PID-XXXXXX"; 0 when the text is not of that form.
pid_t processIn(std::string_view text) {
    if (text.size() < kUniquePart + 2) return 0;
    const std::string_view unique = text.substr(text.size() - kUniquePart);
    const std::string_view digits = text.substr(0, text.size() - kUniquePart - 1);
    if (text[digits.size()] != '-') return 0;
    for (const char c : unique)
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) return 0;
    pid_t pid = 0;
    const auto [end, failed] = std::from_chars(digits.data(), digits.data() + digits.size(), pid);
    if (failed != std::errc() || end != digits.data() + digits.size() || pid <= 0) return 0;
    return pid;
}

bool processGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// True when this user's stamp in `directory` is younger than the interval; else the stamp is
// set to now (made if need be; never through a link, never another user's file).
bool sweptLately(const std::string& directory) {
    const uid_t user = ::geteuid();
    const std::string stamp = directory + "/.morvane-swept-" + std::to_string(user);
    const std::time_t now = std::time(nullptr);
    struct stat info {};
    if (::lstat(stamp.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_uid == user &&
        info.st_mtime <= now && now - info.st_mtime < kSweepInterval)
        return true;
    const int fd = ::open(stamp.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    if (::fstat(fd, &info) == 0 && info.st_uid == user) ::futimens(fd, nullptr);
    ::close(fd);
    return false;
}

}  // namespace

std::string workingDirectoryTemplate(const std::string& directory) {
    return directory + "/" + processTag();
}

std::string sideFileTemplate(const std::string& directory, const std::string& name) {
    return directory + "/." + name + "." + processTag();
}

void removeStaleWorkingFiles(const std::string& directory) {
    static std::set<std::string> visited;
    if (!visited.insert(directory).second) return;
    DIR* listing = ::opendir(directory.c_str());
    if (listing == nullptr) return;
    const uid_t user = ::geteuid();
    while (const struct dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        // morvane-PID-XXXXXX (a working directory) or .NAME.morvane-PID-XXXXXX (a side file).
        const bool workingDirectory = name.starts_with(kMark);
        const std::size_t mark = name.rfind(std::string(".") + std::string(kMark));
        const bool sideFile = !workingDirectory && name.starts_with('.') && mark != 0 &&
                              mark != std::string_view::npos;
        if (!workingDirectory && !sideFile) continue;
        const pid_t pid =
            processIn(name.substr(workingDirectory ? kMark.size() : mark + 1 + kMark.size()));
        if (pid == 0) continue;
        const std::string path = directory + "/" + std::string(name);
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || info.st_uid != user) continue;
        if (workingDirectory ? !S_ISDIR(info.st_mode) : !S_ISREG(info.st_mode)) continue;
        if (!processGone(pid)) continue;
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ::closedir(listing);
}

void removeStaleWorkingFilesNowAndThen(const std::string& directory) {
    struct stat info {};
    const bool cluttered =
        ::stat(directory.c_str(), &info) == 0 && info.st_size > kClutteredDirectoryBytes;
    if (cluttered && sweptLately(directory)) return;
    removeStaleWorkingFiles(directory);
}

}  // namespace morvane::cli
