// The dialog in a real terminal: the real `morvane` program on a pseudo-terminal, driven with
// keys as a user types them. Checks what it converted, what it stored, and that the terminal is
// given back as it was, after OK, Escape and a signal. Also which front end a process gets with
// and without a terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "morvane_runner.h"
#include "platform/scripted_front_end.h"
#include "platform/terminal_front_end.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kDown = "\x1b[B";
constexpr const char* kEnd = "\x1b[F";
constexpr const char* kTab = "\t";
constexpr const char* kEnter = "\r";
constexpr const char* kSpace = " ";
// Every screen the form or the prompt draws ends by hiding or placing the cursor.
constexpr std::string_view kScreenEnd = "\x1b[?25";
constexpr std::string_view kLeaveScreen = "\x1b[?1049l";

// A program on a pseudo-terminal that is its controlling terminal (standard input, output and
// error). The test keeps the terminal's other end to type and read, and the terminal itself to
// look at its modes after the program has gone.
class TerminalSession {
  public:
    TerminalSession(const std::string& program, const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& environment) {
        master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        ::grantpt(master_);
        ::unlockpt(master_);
        const std::string name = ::ptsname(master_);
        terminal_ = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        struct winsize size {};
        size.ws_row = 24;
        size.ws_col = 80;
        ::ioctl(terminal_, TIOCSWINSZ, &size);
        ::tcgetattr(terminal_, &before_);
        std::vector<std::string> env;
        for (const auto& [key, value] : environment)
            env.push_back(key + "=" + value);
        std::vector<std::string> args = {program};
        args.insert(args.end(), arguments.begin(), arguments.end());
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setsid();
            giveSignalsTheirDefaults();
            const int fd = ::open(name.c_str(), O_RDWR);  // becomes the controlling terminal
            ::dup2(fd, 0);
            ::dup2(fd, 1);
            ::dup2(fd, 2);
            std::vector<char*> argv, envp;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            for (std::string& e : env)
                envp.push_back(e.data());
            envp.push_back(nullptr);
            ::execve(program.c_str(), argv.data(), envp.data());
            ::_exit(127);
        }
    }
    ~TerminalSession() {
        if (pid_ > 0 && !exited_) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        ::close(master_);
        ::close(terminal_);
    }

    // Reads until the output from `from` on contains `text`; false after five seconds.
    bool waitFor(std::string_view text, std::size_t from = 0) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (output_.find(text, from) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline) return false;
            pump(100);
        }
        return true;
    }
    // Types `keys` and waits for the screen they make the program draw.
    bool type(std::string_view keys) {
        const std::size_t from = output_.size();
        ::write(master_, keys.data(), keys.size());
        return waitFor(kScreenEnd, from);
    }
    // Types each of `keys` in turn, waiting for the screen each one makes.
    bool typeEach(std::initializer_list<std::string_view> keys) {
        for (std::string_view key : keys)
            if (!type(key)) return false;
        return true;
    }
    void send(std::string_view keys) { ::write(master_, keys.data(), keys.size()); }
    // The window's new size; the program gets SIGWINCH.
    void resize(unsigned short columns, unsigned short rows) {
        struct winsize size {};
        size.ws_col = columns;
        size.ws_row = rows;
        ::ioctl(master_, TIOCSWINSZ, &size);
    }
    // Waits for the program to end: its exit status, or 128 + the signal that ended it.
    int finish() {
        int status = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (::waitpid(pid_, &status, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > deadline) return -1;
            pump(50);
        }
        exited_ = true;
        pump(0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pid_t pid() const { return pid_; }
    const std::string& output() const { return output_; }
    // The end of the output, for failure messages (whole screens are long).
    std::string tail() const {
        return output_.substr(output_.size() > 600 ? output_.size() - 600 : 0);
    }
    // The terminal's modes are those it had before the program ran.
    bool modesRestored() const {
        struct termios now {};
        ::tcgetattr(terminal_, &now);
        return now.c_lflag == before_.c_lflag && now.c_iflag == before_.c_iflag &&
               now.c_oflag == before_.c_oflag && now.c_cc[VMIN] == before_.c_cc[VMIN];
    }

  private:
    void pump(int waitMs) {
        struct pollfd wait {
            master_, POLLIN, 0
        };
        while (::poll(&wait, 1, waitMs) > 0) {
            char buffer[65536];
            const ssize_t got = ::read(master_, buffer, sizeof buffer);
            if (got <= 0) return;
            output_.append(buffer, static_cast<std::size_t>(got));
            waitMs = 0;
        }
    }

    int master_ = -1;
    int terminal_ = -1;
    pid_t pid_ = -1;
    bool exited_ = false;
    struct termios before_ {};
    std::string output_;
};

// A host with the test post library and the German texts, made once for the test program.
const fs::path& dialogHost() {
    static const ScratchDirectory hosts;
    static const fs::path host = [] {
        const fs::path made = makeHostDirectory(
            hosts.path() / "host",
            {MORVANE_TEST_POST,
             {{"Alpha.conv", "[converter]\nname = Alpha\n"},
              {"Numbering.conv", "[converter]\nname = Numbering\n[test]\nmode = number\n"}}});
        fs::create_directories(made / "locale");
        fs::copy_file(fs::path(MORVANE_SOURCE_DIR) / "apps/morvane/locale/de.conf",
                      made / "locale/de.conf");
        return made;
    }();
    return host;
}

class TerminalDialog : public testing::Test {
  protected:
    // The session sees only these variables: a terminal type, no inherited dialog script.
    std::map<std::string, std::string> environment() const {
        std::map<std::string, std::string> env = privateEnvironment(work.path());
        env["TERM"] = "xterm";
        env["PATH"] = "/usr/bin:/bin";
        for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS", "LSAN_OPTIONS"})
            if (const char* value = std::getenv(name)) env[name] = value;
        return env;
    }
    TerminalSession start(const std::vector<std::string>& arguments) const {
        return TerminalSession((dialogHost() / "morvane").string(), arguments, environment());
    }

    ScratchDirectory work;
};

TEST_F(TerminalDialog, PickAFormatBrowseToggleAndConfirm) {
    const std::string input = work.write("p.nci", "L1\nL2\nL3\nL4\nL5\n");
    const std::string output = (work.path() / "out.nci").string();
    TerminalSession session =
        start({"convert", input, "--lines", "2-3", "-o", output, "--interactive"});
    ASSERT_TRUE(session.waitFor("Choose original NC format:")) << session.tail();
    ASSERT_TRUE(session.waitFor(kScreenEnd));
    // The format list: open it, go to its end (NCI), pick. Then browse.
    ASSERT_TRUE(session.typeEach({kEnter, kEnd, kEnter, kTab, kEnter}));
    // The prompt lists Alpha.conv and Numbering.conv; pick the second.
    ASSERT_TRUE(session.waitFor("Numbering.conv"));
    ASSERT_TRUE(session.typeEach({kDown, kEnter}));
    // Past "Convert to NCI format" to "Use longhand cycles", toggled; then past "Result in new
    // window" and "Selection only" (checked: there is a selection) to OK.
    ASSERT_TRUE(session.typeEach({kTab, kTab, kSpace, kTab, kTab, kTab}));
    session.send(kEnter);
    EXPECT_EQ(session.finish(), 0) << session.tail();
    EXPECT_TRUE(session.modesRestored());
    EXPECT_NE(session.output().find(kLeaveScreen), std::string::npos);
    // The selection went through the numbering post-processor and replaced lines 2 and 3.
    EXPECT_EQ(readFile(output), "L1\nP1: L2\nP2: L3\nL4\nL5\n");
    EXPECT_EQ(
        storedConfig(work.path()),
        "OutputToNCI=False;PostProcessor=" + (dialogHost() / "Converters/Numbering.conv").string() +
            ";ResInNewWindow=False;SelectionOnly=True;UseLonghandCycles=True;\n");
}

// The dialog opens on the format recognised; a window too small for it says so.
TEST_F(TerminalDialog, OpensOnTheRecognisedFormatAndSaysWhenTheWindowIsTooSmall) {
    const std::string input = work.write("p.txt", "0 BEGIN PGM P MM\n1 END PGM P MM\n");
    TerminalSession session = start({"convert", input, "--interactive"});
    ASSERT_TRUE(session.waitFor("[Heidenhain ")) << session.tail();
    ASSERT_TRUE(session.waitFor(kScreenEnd));
    session.resize(60, 12);
    ASSERT_TRUE(session.waitFor("The terminal is 60x12; the dialog needs 72x17")) << session.tail();
    session.send("\x1b");
    EXPECT_EQ(session.finish(), 4) << session.tail();
}

TEST_F(TerminalDialog, EscapeOrASignalGivesTheTerminalBackAndLeavesNothing) {
    const std::string input = work.write("p.nci", "A\n");
    const std::string output = (work.path() / "out.nci").string();
    for (const int signal : {0, SIGTERM, SIGHUP, SIGINT}) {  // 0: the Escape key
        TerminalSession session =
            start({"convert", input, "-o", output, "--interactive", "--locale", "de"});
        ASSERT_TRUE(session.waitFor("Konverter w\xc3\xa4hlen:")) << session.tail();
        EXPECT_TRUE(session.waitFor("Abbrechen"));
        ASSERT_TRUE(session.waitFor(kScreenEnd));
        if (signal == 0) {
            session.send("\x1b");
        } else {
            ::kill(session.pid(), signal);
        }
        EXPECT_EQ(session.finish(), signal == 0 ? 4 : 128 + signal) << session.tail();
        EXPECT_TRUE(session.modesRestored()) << signal;
        EXPECT_NE(session.output().find(kLeaveScreen), std::string::npos) << signal;
        if (signal == 0) {
            EXPECT_NE(session.output().find("the dialog was cancelled"), std::string::npos);
        }
        EXPECT_FALSE(fs::exists(output)) << signal;
        EXPECT_FALSE(fs::exists(work.path() / "config/morvane/plugin.conf")) << signal;
        EXPECT_TRUE(fs::is_empty(work.path() / "tmp")) << signal;
    }
}

TEST_F(TerminalDialog, AProgressBarOnATerminalForALongProgram) {
    std::string program;
    for (int i = 0; i < 40000; ++i)
        program += "1\n0 " + std::to_string(i % 500) + " 0 0 100 0\n";
    const std::string input = work.write("long.nci", program);
    const std::string output = (work.path() / "out.nci").string();
    TerminalSession session = start({"convert", input, "--nci", "-o", output});
    EXPECT_EQ(session.finish(), 0) << session.tail();
    EXPECT_NE(session.output().find("long.nci ["), std::string::npos);
    EXPECT_NE(session.output().find("] 100%"), std::string::npos);
    // The bar is erased at the end.
    EXPECT_NE(session.output().rfind("\r\x1b[K"), std::string::npos);
    EXPECT_EQ(readFile(output), program);

    TerminalSession quiet = start({"convert", input, "--nci", "-o", output, "--no-progress"});
    EXPECT_EQ(quiet.finish(), 0);
    EXPECT_EQ(quiet.output().find("%"), std::string::npos);
}

// A child process reports which front end it was given: 1 terminal, 2 cancelling, 3 scripted.
int frontEndOfChild(bool withTerminal, bool withScript) {
    int master = -1;
    std::string name;
    if (withTerminal) {
        master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(master);
        ::unlockpt(master);
        name = ::ptsname(master);
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        if (withTerminal) ::open(name.c_str(), O_RDWR);
        if (withScript) {
            ::setenv("MORVANE_DIALOG", "", 1);
        } else {
            ::unsetenv("MORVANE_DIALOG");
        }
        const auto frontEnd = platform::chooseDialogFrontEnd();
        int kind = 0;
        if (dynamic_cast<platform::TerminalFrontEnd*>(frontEnd.get())) kind = 1;
        if (dynamic_cast<platform::CancellingFrontEnd*>(frontEnd.get())) kind = 2;
        if (dynamic_cast<platform::ScriptedFrontEnd*>(frontEnd.get())) kind = 3;
        ::_exit(kind);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (master >= 0) ::close(master);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DialogFrontEndChoice, ScriptThenTerminalThenNone) {
    EXPECT_EQ(frontEndOfChild(true, true), 3);
    EXPECT_EQ(frontEndOfChild(false, true), 3);
    EXPECT_EQ(frontEndOfChild(true, false), 1);
    EXPECT_EQ(frontEndOfChild(false, false), 2);
}

}  // namespace
}  // namespace morvane::test
