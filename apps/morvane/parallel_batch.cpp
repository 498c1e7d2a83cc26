#include "parallel_batch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace morvane::cli {

namespace {

std::vector<char*> pointersTo(std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (std::string& text : strings) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

// What every worker is started with, made before any thread starts and only read afterwards:
// the program, the command's options as given with every input after "--" (never a progress
// bar: nothing but the command draws on the terminal), this environment with the worker mark.
struct WorkerLaunch {
    std::string program;
    std::vector<std::string> argumentText, environmentText;
    std::vector<char*> arguments, environment;

    explicit WorkerLaunch(const ConvertOptions& options) : program("/proc/self/exe") {
        std::vector<char> path(4096);
        if (const ssize_t length = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
            length > 0)
            program.assign(path.data(), static_cast<std::size_t>(length));
        argumentText = {"morvane", "convert"};
        argumentText.insert(argumentText.end(), options.optionArguments.begin(),
                            options.optionArguments.end());
        argumentText.insert(argumentText.end(), {"--no-progress", "-j", "1", "--"});
        argumentText.insert(argumentText.end(), options.inputs.begin(), options.inputs.end());
        const std::string mark = std::string(kBatchWorkerVariable) + "=";
        for (char** entry = environ; *entry != nullptr; ++entry)
            if (std::strncmp(*entry, mark.c_str(), mark.size()) != 0)
                environmentText.emplace_back(*entry);
        environmentText.push_back(mark + "1");
        arguments = pointersTo(argumentText);
        environment = pointersTo(environmentText);
    }
};

// One worker process: its standard input (the input numbers) and standard error (its messages)
// are pipes to this thread; its standard output is the command's.
class Worker {
  public:
    explicit Worker(const WorkerLaunch& launch) : launch_(launch) {}
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker() { stop(); }

    WorkerResult convert(std::size_t index, const std::string& input) {
        WorkerResult result;
        std::string problem;
        if (pid_ <= 0 && !start(problem)) {
            result.status = ExitStatus::Installation;
            result.messages = "morvane: " + input + ": cannot start its conversion: " + problem + "\n";
            return result;
        }
        const std::string request = std::to_string(index) + "\n";
        const bool asked = ::write(toWorker_, request.data(), request.size()) ==
                           static_cast<ssize_t>(request.size());
        std::string text;
        bool reported = false;
        while (asked && !(reported = takeCountsLine(text, result)) && readSome(text)) {
        }
        if (reported) return result;
        // The worker ended before it reported the program.
        const int status = stop();
        result.status = ExitStatus::ConversionFailed;
        result.messages = text + "morvane: " + input + ": the conversion ended " +
                          (WIFSIGNALED(status) ? "by signal " + std::to_string(WTERMSIG(status))
                                               : std::string("without its report")) +
                          "; nothing of it is kept\n";
        return result;
    }

  private:
    bool start(std::string& problem) {
        int input[2], errors[2];
        if (::pipe2(input, O_CLOEXEC) != 0) {
            problem = std::strerror(errno);
            return false;
        }
        if (::pipe2(errors, O_CLOEXEC) != 0) {
            problem = std::strerror(errno);
            ::close(input[0]);
            ::close(input[1]);
            return false;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
        const int spawned = ::posix_spawn(&pid_, launch_.program.c_str(), &actions, nullptr,
                                          launch_.arguments.data(), launch_.environment.data());
        posix_spawn_file_actions_destroy(&actions);
        ::close(input[0]);
        ::close(errors[1]);
        toWorker_ = input[1];
        fromWorker_ = errors[0];
        if (spawned == 0) return true;
        problem = launch_.program + ": " + std::strerror(spawned);
        pid_ = 0;
        stop();
        return false;
    }

    // Appends what the worker wrote next; false at its end.
    bool readSome(std::string& text) {
        char buffer[1 << 14];
        for (;;) {
            const ssize_t got = ::read(fromWorker_, buffer, sizeof buffer);
            if (got > 0) {
                text.append(buffer, static_cast<std::size_t>(got));
                return true;
            }
            if (got == 0 || errno != EINTR) return false;
        }
    }

    // Closes the pipes (a worker that reads the end of its input stops) and waits for it.
    int stop() {
        for (int* fd : {&toWorker_, &fromWorker_})
            if (*fd >= 0) ::close(std::exchange(*fd, -1));
        int status = 0;
        if (pid_ > 0)
            while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
        pid_ = 0;
        return status;
    }

    const WorkerLaunch& launch_;
    pid_t pid_ = 0;
    int toWorker_ = -1, fromWorker_ = -1;
};

std::optional<std::uint64_t> numberAt(std::string_view& text) {
    while (text.starts_with(' ')) text.remove_prefix(1);
    std::uint64_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc()) return std::nullopt;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return value;
}

}  // namespace

std::string countsLine(std::size_t index, const WorkerResult& result) {
    return std::string(kCountsLine) + " " + std::to_string(index) + " " +
           std::to_string(static_cast<int>(result.status)) + " " +
           std::to_string(result.printed[0]) + " " + std::to_string(result.printed[1]) + " " +
           std::to_string(result.printed[2]) + " " + (result.cutShort ? "1" : "0") + "\n";
}

bool takeCountsLine(std::string& text, WorkerResult& result) {
    if (!text.ends_with('\n')) return false;
    const std::size_t start = text.rfind(kCountsLine, text.size() - 1);
    if (start == std::string::npos || (start > 0 && text[start - 1] != '\n')) return false;
    std::string_view fields = std::string_view(text).substr(start + kCountsLine.size());
    std::array<std::uint64_t, 6> numbers{};
    for (std::uint64_t& number : numbers) {
        const auto value = numberAt(fields);
        if (!value) return false;
        number = *value;
    }
    if (fields != "\n" || numbers[1] > static_cast<std::uint64_t>(ExitStatus::Installation)) return false;
    result.status = static_cast<ExitStatus>(numbers[1]);
    result.printed = {numbers[2], numbers[3], numbers[4]};
    result.cutShort = numbers[5] != 0;
    text.resize(start);
    result.messages = std::move(text);
    return true;
}

void convertInParallel(const ConvertOptions& options, unsigned jobs,
                       const std::function<void(const std::string& input,
                                                const WorkerResult& result)>& onDone) {
    const std::size_t count = options.inputs.size();
    const WorkerLaunch launch(options);
    std::vector<std::optional<WorkerResult>> results(count);
    std::atomic<std::size_t> nextInput{0};
    std::mutex doneMutex;
    std::condition_variable doneSignal;
    const auto work = [&] {
        Worker worker(launch);
        for (std::size_t i = nextInput++; i < count; i = nextInput++) {
            WorkerResult result = worker.convert(i, options.inputs[i]);
            const std::lock_guard lock(doneMutex);
            results[i] = std::move(result);
            doneSignal.notify_one();
        }
    };
    std::vector<std::thread> pool;
    const std::size_t threads = std::min<std::size_t>(std::max(jobs, 1U), count);
    for (std::size_t t = 0; t < threads; ++t) pool.emplace_back(work);
    for (std::size_t i = 0; i < count; ++i) {
        std::unique_lock lock(doneMutex);
        doneSignal.wait(lock, [&] { return results[i].has_value(); });
        const WorkerResult result = std::move(*results[i]);
        lock.unlock();
        onDone(options.inputs[i], result);
    }
    for (std::thread& thread : pool) thread.join();
}

}  // namespace morvane::cli
