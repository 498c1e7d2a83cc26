#include "working_files.h"

#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <charconv>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

namespace morvane::cli {

namespace {

constexpr std::string_view kMark = "morvane-";
constexpr std::size_t kUniquePart = 6;  // the XXXXXX of mkdtemp and mkostemp

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

}  // namespace morvane::cli
