#include "platform/terminal_front_end.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/terminal_file_prompt.h"
#include "platform/terminal_form.h"
#include "text/text_encoding.h"

namespace morvane::platform {

namespace {

// An ESC that no other byte follows within this time is the Escape key itself.
constexpr int kEscapeWaitMs = 50;

constexpr std::string_view kEnterScreen = "\x1b[?1049h\x1b[H\x1b[2J";
constexpr std::string_view kLeaveScreen = "\x1b[0m\x1b[?25h\x1b[?1049l";

// What the signal handlers need to give the terminal back. One dialog is shown at a time.
struct TerminalRestore {
    volatile sig_atomic_t active = 0;
    int fd = -1;
    struct termios saved {};
};
TerminalRestore gRestore;
volatile sig_atomic_t gResized = 0;

constexpr std::array<int, 4> kEndingSignals = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
std::array<struct sigaction, kEndingSignals.size()> gPreviousEnding{};
struct sigaction gPreviousResize {};

void writeAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        text.remove_prefix(static_cast<std::size_t>(n));
    }
}

// Async-signal-safe: write and tcsetattr only.
void restoreTerminal() {
    if (!gRestore.active) return;
    gRestore.active = 0;
    writeAll(gRestore.fd, kLeaveScreen);
    ::tcsetattr(gRestore.fd, TCSADRAIN, &gRestore.saved);
}

void onEndingSignal(int signal) {
    restoreTerminal();
    // Hand the signal to whoever had it before (it may clean up), or let it end the program.
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
        if (kEndingSignals[i] == signal) ::sigaction(signal, &gPreviousEnding[i], nullptr);
    ::raise(signal);
}

void onResize(int) {
    gResized = 1;
}

void installHandlers() {
    struct sigaction action {};
    action.sa_handler = &onEndingSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        ::sigaction(kEndingSignals[i], nullptr, &gPreviousEnding[i]);
        // A signal the program ignores (nohup) stays ignored.
        if (gPreviousEnding[i].sa_handler != SIG_IGN)
            ::sigaction(kEndingSignals[i], &action, nullptr);
    }
    struct sigaction resize {};
    resize.sa_handler = &onResize;  // no SA_RESTART: the wait for a key returns to redraw
    sigemptyset(&resize.sa_mask);
    ::sigaction(SIGWINCH, &resize, &gPreviousResize);
}

void restoreHandlers() {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
        ::sigaction(kEndingSignals[i], &gPreviousEnding[i], nullptr);
    ::sigaction(SIGWINCH, &gPreviousResize, nullptr);
}

// Regular files of `directory` whose names match the shell pattern, sorted.
std::vector<std::string> matchingFiles(const std::string& directory, const std::string& pattern) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.c_str());
    if (dir == nullptr) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (::fnmatch(pattern.c_str(), name.c_str(), FNM_PERIOD) == 0 &&
            isRegularFile(directory + "/" + name))
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

// "Converters (*.conv)|*.conv|All Files (*.*)|*.*||": the first description names the files.
std::wstring filterTitle(const FileOpenRequest& request) {
    const std::wstring& filter = request.filter;
    const std::size_t bar = filter.find(L'|');
    return bar == std::wstring::npos || bar == 0 ? std::wstring(L"Open") : filter.substr(0, bar);
}

}  // namespace

std::unique_ptr<TerminalFrontEnd> TerminalFrontEnd::open() {
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return nullptr;
    if (::isatty(fd) == 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<TerminalFrontEnd>(new TerminalFrontEnd(fd));
}

TerminalFrontEnd::~TerminalFrontEnd() {
    leave();
    ::close(fd_);
}

bool TerminalFrontEnd::enter() {
    if (entered_) return true;
    struct termios saved {};
    if (::tcgetattr(fd_, &saved) != 0) return false;
    struct termios raw = saved;
    raw.c_iflag &= ~static_cast<tcflag_t>(BRKINT | ICRNL | INPCK | ISTRIP | IXON);
    raw.c_cflag |= CS8;
    // Signal characters off: Ctrl-C reaches the dialog as a key and cancels it.
    raw.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON | IEXTEN | ISIG);
    raw.c_cc[VMIN] = 1;
    raw.c_cc[VTIME] = 0;
    gRestore.fd = fd_;
    gRestore.saved = saved;
    gRestore.active = 1;
    installHandlers();
    // TCSANOW keeps what the user typed ahead.
    if (::tcsetattr(fd_, TCSANOW, &raw) != 0) {
        gRestore.active = 0;
        restoreHandlers();
        return false;
    }
    entered_ = true;
    writeAll(fd_, kEnterScreen);
    return true;
}

void TerminalFrontEnd::leave() {
    if (!entered_) return;
    entered_ = false;
    restoreTerminal();
    restoreHandlers();
}

void TerminalFrontEnd::show(const TerminalScreen& screen) {
    struct winsize size {};
    int columns = 80, rows = 24;
    if (::ioctl(fd_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0 && size.ws_row > 0) {
        columns = size.ws_col;
        rows = size.ws_row;
    }
    if (columns < screen.width() || rows < screen.height()) {
        // A clipped dialog would hide controls the keys still reach.
        const std::wstring message =
            L"The terminal is " + std::to_wstring(columns) + L"x" + std::to_wstring(rows) +
            L"; the dialog needs " + std::to_wstring(screen.width()) + L"x" +
            std::to_wstring(screen.height()) + L": enlarge the window (Esc cancels).";
        TerminalScreen notice(columns, rows);
        for (int row = 0; row * columns < static_cast<int>(message.size()) && row < rows; ++row)
            notice.put(row, 0, message.substr(static_cast<std::size_t>(row) * static_cast<std::size_t>(columns)),
                       CellStyle::Normal);
        writeAll(fd_, notice.render(columns, rows));
    } else {
        writeAll(fd_, screen.render(columns, rows));
    }
    shownWidth_ = screen.width();
    shownHeight_ = screen.height();
}

std::optional<Key> TerminalFrontEnd::readKey() {
    while (true) {
        Key key;
        std::size_t used = decodeKey(pending_, false, key);
        if (used > 0) {
            pending_.erase(0, used);
            return key;
        }
        // A resize that comes between the test of gResized and the wait must still end the
        // wait: SIGWINCH is held back until ppoll lets it in atomically.
        sigset_t resize, previous;
        sigemptyset(&resize);
        sigaddset(&resize, SIGWINCH);
        ::pthread_sigmask(SIG_BLOCK, &resize, &previous);
        if (gResized != 0) {
            gResized = 0;
            ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
            return Key{};
        }
        struct pollfd wait {
            fd_, POLLIN, 0
        };
        const struct timespec escapeWait { 0, kEscapeWaitMs * 1000000L };
        const int ready = ::ppoll(&wait, 1, pending_.empty() ? nullptr : &escapeWait, &previous);
        ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return std::nullopt;
        if (ready == 0) {
            used = decodeKey(pending_, true, key);
            pending_.erase(0, used);
            return key;
        }
        char buffer[256];
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (got <= 0) return std::nullopt;  // the terminal hung up
        pending_.append(buffer, static_cast<std::size_t>(got));
    }
}

void TerminalFrontEnd::runModal(ModalDialog& dialog) {
    TerminalForm form(dialog);
    // OK's handler converts at once: the terminal is given back before, so the host's messages
    // and progress appear on the normal screen.
    form.setBeforeClosing([this] { leave(); });
    while (!dialog.hasEnded()) {
        if (!enter()) break;
        show(form.render());
        const std::optional<Key> key = readKey();
        if (!key) break;  // the dialog stays open and is cancelled by DoModal
        form.handle(*key);
    }
    leave();
}

std::optional<std::wstring> TerminalFrontEnd::openFile(const FileOpenRequest& request) {
    const std::string directory = wideToUtf8(request.initialDirectory);
    const std::string pattern =
        request.initialFileName.empty() ? "*" : wideToUtf8(request.initialFileName);
    TerminalFilePrompt prompt(filterTitle(request), directory, matchingFiles(directory, pattern));
    const char* home = std::getenv("HOME");
    // The prompt takes the place of the form, at the form's size.
    const int width = shownWidth_, height = shownHeight_;
    while (true) {
        show(prompt.render(width, height));
        const std::optional<Key> key = readKey();
        if (!key) return std::nullopt;
        const TerminalFilePrompt::Step step = prompt.handle(*key);
        if (step == TerminalFilePrompt::Step::Cancel) return std::nullopt;
        if (step != TerminalFilePrompt::Step::Confirm) continue;
        const std::optional<std::string> path =
            prompt.typed().empty()
                ? (isRegularFile(prompt.choice()) ? std::optional(prompt.choice()) : std::nullopt)
                : resolveTypedPath(prompt.typed(), directory, home != nullptr ? home : "",
                                   &isRegularFile);
        if (!path) {
            prompt.reject("no such file: " + prompt.choice());
            continue;
        }
        std::error_code error;
        const std::filesystem::path full = std::filesystem::absolute(*path, error);
        return utf8ToWide(error ? *path : full.lexically_normal().string());
    }
}

}  // namespace morvane::platform
