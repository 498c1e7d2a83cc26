#include "morvane_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <fstream>

namespace morvane::test {

namespace fs = std::filesystem;

namespace {

// A program that runs longer than this has hung (the slowest test conversion takes a second).
constexpr auto kRunLimit = std::chrono::seconds(60);

std::vector<std::string> environmentFor(const std::map<std::string, std::string>& changes) {
    std::map<std::string, std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos)
            variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    for (const char* name : {"MORVANE_DIALOG", "MORVANE_PLUGIN", "TMPDIR", "XDG_CONFIG_HOME"})
        variables.erase(name);
    for (const auto& [name, value] : changes) {
        if (value.empty()) {
            variables.erase(name);
        } else {
            variables[name] = value;
        }
    }
    std::vector<std::string> list;
    for (const auto& [name, value] : variables)
        list.push_back(name + "=" + value);
    return list;
}

}  // namespace

void giveSignalsTheirDefaults() {
    for (const int signal : {SIGHUP, SIGINT, SIGQUIT, SIGTERM})
        ::signal(signal, SIG_DFL);
}

ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment,
                      const std::string& workingDirectory) {
    ProgramRun run;
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return run;
    std::vector<std::string> texts = environmentFor(environment);
    std::vector<char*> envp;
    for (std::string& text : texts)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = {program};
    args.insert(args.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();  // no controlling terminal: the dialog can never wait for a user
        giveSignalsTheirDefaults();
        const int null = ::open("/dev/null", O_RDONLY);
        ::dup2(null, STDIN_FILENO);
        ::dup2(out[1], STDOUT_FILENO);
        ::dup2(err[1], STDERR_FILENO);
        if (!workingDirectory.empty() && ::chdir(workingDirectory.c_str()) != 0) ::_exit(127);
        ::execve(program.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::close(out[1]);
    ::close(err[1]);
    struct pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string* sinks[2] = {&run.out, &run.err};
    const auto deadline = std::chrono::steady_clock::now() + kRunLimit;
    int open = 2;
    while (open > 0 && std::chrono::steady_clock::now() < deadline) {
        if (::poll(fds, 2, 1000) < 0 && errno != EINTR) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0) continue;
            char buffer[65536];
            const ssize_t got = ::read(fds[i].fd, buffer, sizeof buffer);
            if (got > 0) {
                sinks[i]->append(buffer, static_cast<std::size_t>(got));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
    if (open > 0) ::kill(child, SIGKILL);
    for (const struct pollfd& fd : fds)
        if (fd.fd >= 0) ::close(fd.fd);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    return run;
}

std::map<std::string, std::string> privateEnvironment(const fs::path& work) {
    fs::create_directories(work / "tmp");
    return {{"XDG_CONFIG_HOME", (work / "config").string()},
            {"TMPDIR", (work / "tmp").string()},
            {"HOME", (work / "home").string()}};
}

std::string storedConfig(const fs::path& work) {
    return readFile(work / "config/morvane/plugin.conf");
}

fs::path makeHostDirectory(const fs::path& where, const HostFiles& files) {
    fs::create_directories(where / "Dll");
    fs::create_directories(where / "Converters");
    const auto options = fs::copy_options::overwrite_existing;
    fs::copy_file(MORVANE_PROGRAM, where / "morvane", options);
    fs::copy_file(MORVANE_PLUGIN_LIBRARY, where / "libmorvane.so", options);
    fs::copy_file(MORVANE_READER_LIBRARY, where / "Dll" / "MorvaneNCIReader.so", options);
    if (!files.postLibrary.empty())
        fs::copy_file(files.postLibrary, where / "Dll" / "MorvanePost.so", options);
    for (const auto& [name, text] : files.converters)
        std::ofstream(where / "Converters" / name, std::ios::binary) << text;
    return where;
}

}  // namespace morvane::test
