#include "output_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/file_system.h"
#include "working_files.h"

namespace morvane::cli {

namespace {

// Paths to remove on a signal. Fixed storage: the handler may not allocate.
constexpr std::size_t kMaxRegistered = 8;
constexpr std::size_t kMaxPath = 4096;
struct Registered {
    volatile sig_atomic_t used;
    char path[kMaxPath];
};
std::array<Registered, kMaxRegistered> gRegistered{};

constexpr int kInterruptSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Blocks the interrupt signals while the registry changes.
class SignalBlock {
  public:
    SignalBlock() {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : kInterruptSignals)
            sigaddset(&set, signal);
        ::sigprocmask(SIG_BLOCK, &set, &saved_);
    }
    ~SignalBlock() { ::sigprocmask(SIG_SETMASK, &saved_, nullptr); }

  private:
    sigset_t saved_;
};

// Removes a directory's files and then the directory, with system calls only (the plug-in's
// working files have names the host does not know).
void removeDirectorySafely(const char* path) {
    const int fd = ::open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    alignas(8) char buffer[4096];
    long got = 0;
    while ((got = ::syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0) {
        for (long offset = 0; offset < got;) {
            const auto* entry = reinterpret_cast<const struct dirent64*>(buffer + offset);
            const char* name = entry->d_name;
            if (std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
                ::unlinkat(fd, name, 0);
            offset += entry->d_reclen;
        }
    }
    ::close(fd);
    ::rmdir(path);
}

void removeRegistered() {
    for (Registered& entry : gRegistered) {
        if (!entry.used) continue;
        struct stat info {};
        if (::lstat(entry.path, &info) == 0 && S_ISDIR(info.st_mode)) {
            removeDirectorySafely(entry.path);
        } else {
            ::unlink(entry.path);
        }
    }
}

// The replaced file's owner and group; when the system refuses the owner (the caller may not
// give files away), its group where the caller may.
void keepOwner(int fd, const struct stat& replaced) {
    if (::fchown(fd, replaced.st_uid, replaced.st_gid) != 0)
        static_cast<void>(::fchown(fd, static_cast<uid_t>(-1), replaced.st_gid));
}

void onInterrupt(int signal) {
    removeRegistered();
    // Let the signal end the program with its usual status.
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

}  // namespace

bool OutputFile::open(const std::string& destination, std::string& error) {
    discard();
    std::string directory = platform::directoryOf(destination);
    if (directory.empty()) directory.assign(1, destination.starts_with('/') ? '/' : '.');
    const std::size_t slash = destination.rfind('/');
    const std::string name =
        slash == std::string::npos ? destination : destination.substr(slash + 1);
    removeStaleWorkingFiles(directory);
    std::string path = sideFileTemplate(directory, name);
    const int fd = ::mkostemp(path.data(), O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write in " + directory + ": " + std::strerror(errno);
        return false;
    }
    stream_ = ::fdopen(fd, "w+b");
    if (stream_ == nullptr) {
        error = std::strerror(errno);
        ::close(fd);
        ::unlink(path.c_str());
        return false;
    }
    temporary_ = path;
    registerTemporary(temporary_);
    // Result files of large programs are written line by line; a large buffer keeps that cheap.
    std::setvbuf(stream_, nullptr, _IOFBF, 1 << 20);
    return true;
}

bool OutputFile::commit(const std::string& destination, mode_t mode, std::string& error) {
    if (stream_ == nullptr) {
        error = "nothing to write";
        return false;
    }
    // A file that is replaced gets its new content onto the disk before the rename, so that a
    // crash leaves the old content or the new, never a file cut short. A new file is not forced
    // out, as a copy or a compiler leaves its output: a crash can lose nothing that existed, and
    // the wait for the disk would be a large part of converting a big program.
    struct stat existing {};
    const bool replaces = ::stat(destination.c_str(), &existing) == 0;
    const int fd = ::fileno(stream_);
    if (replaces) keepOwner(fd, existing);
    // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
    const bool written = std::fflush(stream_) == 0 && std::ferror(stream_) == 0 &&
                         (!replaces || ::fsync(fd) == 0) && ::fchmod(fd, mode) == 0;
    const int reason = errno;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!written || !closed) {
        error = "cannot write " + destination + ": " + std::strerror(written ? errno : reason);
        discard();
        return false;
    }
    if (::rename(temporary_.c_str(), destination.c_str()) != 0) {
        error = "cannot replace " + destination + ": " + std::strerror(errno);
        discard();
        return false;
    }
    unregisterTemporary(temporary_);
    temporary_.clear();
    return true;
}

void OutputFile::discard() {
    if (stream_ != nullptr) std::fclose(stream_);
    stream_ = nullptr;
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        unregisterTemporary(temporary_);
    }
    temporary_.clear();
}

mode_t modeForDestination(const std::string& destination) {
    struct stat info {};
    if (::stat(destination.c_str(), &info) == 0 && S_ISREG(info.st_mode))
        return info.st_mode & 07777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool writeWholeFile(const std::string& destination, std::string_view text, mode_t mode,
                    std::string& error) {
    OutputFile out;
    if (!out.open(destination, error)) return false;
    BufferedFile file;
    file.attach(out.stream());
    file.write(text);
    if (!file.close()) {
        error = "cannot write " + destination + ": " + std::strerror(file.error());
        return false;
    }
    return out.commit(destination, mode, error);
}

bool copyLines(std::FILE* from, BufferedFile& to, std::string_view terminator) {
    if (std::fflush(from) != 0) return false;
    std::rewind(from);
    char chunk[1 << 16];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, from)) > 0 && !to.failed()) {
        if (terminator == "\n") {
            to.write({chunk, got});
            continue;
        }
        std::size_t start = 0;
        for (std::size_t i = 0; i < got; ++i) {
            if (chunk[i] != '\n') continue;
            to.write({chunk + start, i - start});
            to.write(terminator);
            start = i + 1;
        }
        to.write({chunk + start, got - start});
    }
    return std::ferror(from) == 0 && !to.failed();
}

void installInterruptCleanup() {
    struct sigaction action {};
    action.sa_handler = &onInterrupt;
    sigemptyset(&action.sa_mask);
    for (int signal : kInterruptSignals)
        sigaddset(&action.sa_mask, signal);
    for (int signal : kInterruptSignals) {
        struct sigaction previous {};
        ::sigaction(signal, nullptr, &previous);
        // A signal the caller chose to ignore (nohup) stays ignored.
        if (previous.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
    }
}

void registerTemporary(const std::string& path) {
    if (path.size() >= kMaxPath) return;
    SignalBlock block;
    for (Registered& entry : gRegistered) {
        if (entry.used) continue;
        std::memcpy(entry.path, path.c_str(), path.size() + 1);
        entry.used = 1;
        return;
    }
}

void unregisterTemporary(const std::string& path) {
    SignalBlock block;
    for (Registered& entry : gRegistered)
        if (entry.used && path == entry.path) entry.used = 0;
}

}  // namespace morvane::cli
