// The real `morvane` program, end to end: programs of each dialect, selections, converters, the
// configuration kept between runs, atomic replacement of the input, and every failure the host
// explains, each with its exit status. Runs without a terminal, so the dialog is always scripted.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "morvane_runner.h"
#include "support/table_file.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

const std::string kNumbering =
    "[converter]\nname = Numbering\ndescription = numbers every line (test)\noutput = iso\n"
    "[test]\nmode = number\n";
const std::string kSilent =
    "[converter]\nname = Silent\ndescription = writes nothing\n[test]\nmode = nothing\n";
// Line 7 is a cycle pattern with 28 numbers.
const std::string kBroken =
    "# a converter with a wrong line\n[converter]\nname = Broken\ndescription = "
    "broken\n\n[cycles]\n"
    "G81 = 1 1 1 1 1 1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n";

// A host with the test post library, made once for the test program; the Slow converter's
// post library marks beside it when it is converting.
const fs::path& testHost() {
    static const ScratchDirectory hosts;
    static const fs::path host = makeHostDirectory(
        hosts.path() / "host",
        {MORVANE_TEST_POST,
         {{"Numbering.conv", kNumbering},
          {"Silent.conv", kSilent},
          {"Broken.conv", kBroken},
          {"notes.txt", "just notes\n"},
          {"Slow.conv", "[converter]\nname = Slow\n[test]\nmode = wait\nmarker = " +
                            (hosts.path() / "marker").string() + "\n"}}});
    return host;
}

// Runs of the build's own host (bin/ with Dll/ and Converters/) and of the test host.
class Cli : public testing::Test {
  protected:
    std::map<std::string, std::string> environment() const {
        return privateEnvironment(work.path());
    }
    ProgramRun build(const std::vector<std::string>& arguments) const {
        return runProgram(MORVANE_PROGRAM, arguments, environment());
    }
    ProgramRun tested(const std::vector<std::string>& arguments) const {
        return runProgram((testHost() / "morvane").string(), arguments, environment());
    }
    std::string storedConfig() const { return test::storedConfig(work.path()); }
    // The build's host converts `program` as `dialect` with `options` into its golden NCI (of
    // the exact semantics).
    void expectGolden(const fs::path& program, const std::string& dialect,
                      std::vector<std::string> options) const {
        const fs::path out = work.path() / "out.nci";
        options.insert(options.begin(), {"convert", program.string(), "--from", dialect, "--nci",
                                         "--exact", "--no-config", "-o", out.string()});
        const ProgramRun run = build(options);
        EXPECT_EQ(run.exitCode, 0) << program << "\n" << run.err;
        EXPECT_EQ(readFile(out), readFile(fs::path(program).replace_extension(".nci"))) << program;
    }
    // Files the run left in a directory besides `keep`.
    static std::vector<std::string> leftovers(const fs::path& directory, const std::string& keep) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(directory))
            if (entry.path().filename() != keep) names.push_back(entry.path().filename().string());
        return names;
    }

    ScratchDirectory work;
};

// Golden programs whose cycles are written natively: their patterns go into a converter file,
// which the post-processor's reader hands to the plug-in as the supported cycles.
TEST_F(Cli, NativeCyclesComeFromTheConverter) {
    int converted = 0;
    for (const char* dialect : {"fanuc", "heidenhain"}) {
        const fs::path root = fs::path(MORVANE_SOURCE_DIR) / "tests/golden" / dialect;
        for (const auto& entry : fs::recursive_directory_iterator(root)) {
            if (entry.path().extension() != ".cycles") continue;
            std::string converter = "[converter]\nname = Golden\n[cycles]\n";
            std::istringstream patterns(readFile(entry.path()));
            int n = 0;
            for (std::string line; std::getline(patterns, line);)
                if (!line.empty() && line.front() != '#')
                    converter += "P" + std::to_string(++n) + " = " + line + "\n";
            fs::path program = fs::path(entry.path()).replace_extension(".nc");
            if (!fs::exists(program)) program.replace_extension(".H");
            expectGolden(program, dialect,
                         {"--converter", work.write("Golden.conv", converter), "--no-longhand"});
            ++converted;
        }
    }
    EXPECT_GT(converted, 0);
}

// 4000 bytes of noise, as a file that is no program at all gives.
std::string noise() {
    std::mt19937 random(18);
    std::string bytes(4000, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

// The table tools/runs.txt.
TEST_F(Cli, RunsAsTheTableSays) {
    std::set<std::string> made = {"noise.nc"};
    std::vector<std::string> kept = {"config/"};  // folders whose files are not checked
    work.write("noise.nc", noise());
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string host = testHost().string();
    const auto placed = [&](const std::string& field) {
        const std::string text = replaced(unescaped(field), "WORK", work.path().string());
        return replaced(replaced(replaced(text, "HOST", host), "GONE", std::to_string(ended)),
                        "ALIVE", std::to_string(::getpid()));
    };
    for (const TableRow& row : readTable("tools/runs.txt")) {
        const std::string& kind = row.at(0);
        const fs::path path = work.path() / placed(row.at(1));
        const bool repeated = (kind == "file" || kind == "read") && !row.at(3).empty();
        std::string text;  // of a file row, or a read row
        for (int n = repeated ? std::stoi(row.at(3)) : 1; n > 0; --n)
            text += unescaped(row.at(2));
        if (kind == "file") work.write(placed(row.at(1)), text);
        if (kind == "file" || kind == "read" || kind == "link") made.insert(placed(row.at(1)));
        EXPECT_TRUE(kind != "gone" || !fs::exists(path)) << row.where;
        if (kind == "host")
            makeHostDirectory(path, {row.at(2).empty() ? "" : MORVANE_TEST_POST, {}});
        if (kind == "host") kept.push_back(row.at(1) + "/");
        EXPECT_TRUE(kind != "read" || readFile(path) == text) << row.where;
        if (kind == "remove") fs::remove(path);
        EXPECT_TRUE(kind != "fifo" || ::mkfifo(path.c_str(), 0600) == 0) << row.where;
        if (kind == "link") fs::create_symlink(row.at(2), path);
        EXPECT_TRUE(kind != "config" || matches(storedConfig(), placed(row.at(1))))
            << row.where << storedConfig();
        const bool anyFailure = kind == "!0";
        if (!anyFailure && !std::isdigit(static_cast<unsigned char>(kind.front()))) continue;
        std::vector<std::string> arguments = splitWords(row.at(1));
        auto variables = environment();
        for (std::size_t equals; (equals = arguments.front().find('=')) != std::string::npos;) {
            variables[arguments.front().substr(0, equals)] =
                placed(arguments.front().substr(equals + 1));
            arguments.erase(arguments.begin());
        }
        const std::string program = arguments.front() == "test" ? (testHost() / "morvane").string()
                                    : arguments.front() == "morvane" ? MORVANE_PROGRAM
                                                                     : placed(arguments.front());
        arguments.erase(arguments.begin());
        for (std::string& argument : arguments)
            argument = placed(argument);
        const ProgramRun run = runProgram(program, arguments, variables, work.path().string());
        EXPECT_TRUE(anyFailure ? run.exitCode != 0 : run.exitCode == std::stoi(kind))
            << row.where << ": exit status " << run.exitCode << "\n" << run.err;
        EXPECT_TRUE(matches(run.err, placed(row.at(2)))) << row.where << "\n" << run.err;
        EXPECT_TRUE(matches(run.out, placed(row.at(3)))) << row.where << "\n" << run.out;
        EXPECT_TRUE(fs::is_empty(work.path() / "tmp")) << row.where << ": working files left";
    }
    // No output of a failed run, no working file: only what the rows wrote and read.
    for (const auto& entry : fs::recursive_directory_iterator(work.path())) {
        const std::string name = fs::relative(entry.path(), work.path()).string();
        const auto inKept = [&](const std::string& folder) { return name.starts_with(folder); };
        EXPECT_TRUE(!entry.is_regular_file() || made.contains(name) ||
                    std::any_of(kept.begin(), kept.end(), inKept))
            << name;
    }
}

TEST_F(Cli, InPlaceReplacesTheFileAtomicallyAndKeepsItsPermissionsAndOwner) {
    const std::string input = work.write("dir/p.nci", "A\nB\nC\n");
    ::chmod(input.c_str(), 0640);
    // Run by root on another user's file, the file stays that user's.
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(input.c_str(), 4321, 4322), 0);
    }
    const ProgramRun run =
        tested({"convert", input, "--in-place", "--lines", "2", "-c", "Numbering", "--longhand"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(input), "A\nP1: B\nC\n");
    struct stat info {};
    ASSERT_EQ(::stat(input.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    if (root) {
        EXPECT_TRUE(info.st_uid == 4321 && info.st_gid == 4322);
    }
    EXPECT_EQ(leftovers(work.path() / "dir", "p.nci"), std::vector<std::string>{});
    EXPECT_EQ(leftovers(work.path() / "tmp", ""), std::vector<std::string>{});
}

TEST_F(Cli, AnInterruptedInPlaceRunLeavesTheInputUntouched) {
    const std::string input = work.write("dir/p.nci", "A\nB\n");
    const fs::path marker = testHost().parent_path() / "marker";
    for (const int signal : {SIGTERM, SIGINT}) {
        fs::remove(marker);
        ProgramRun run;
        std::thread conversion([&] {
            run = tested({"convert", input, "--in-place", "-c", "Slow", "--longhand"});
        });
        // The post library marks when it is converting; the host has its spool open then.
        for (int i = 0; i < 200 && !fs::exists(marker); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        ASSERT_TRUE(fs::exists(marker));
        // The post library runs inside the host and wrote the host's process id.
        const pid_t host = static_cast<pid_t>(std::stol(readFile(marker)));
        ::kill(host, signal);
        conversion.join();
        EXPECT_EQ(run.signal, signal) << run.err;
        EXPECT_EQ(readFile(input), "A\nB\n");
        EXPECT_EQ(leftovers(work.path() / "dir", "p.nci"), std::vector<std::string>{});
        EXPECT_EQ(leftovers(work.path() / "tmp", ""), std::vector<std::string>{});
    }
}

// Outputs that fail part way: the run ends with status 3 naming the reason, no output file
// and no working file stays, an input replaced in place is untouched. The shell sets what
// makes the write fail: a reader that goes away, a full device, a file size limit (8 KiB: the
// plug-in's NCI of 4096 "A" lines fits exactly, the copy with CR LF does not).
TEST_F(Cli, OutputsThatCannotBeWrittenLeaveNothingBehind) {
    std::string big, crlf;
    for (int i = 0; i < 20000; ++i)
        big += "1\n0 " + std::to_string(i) + " 0 0 100 0\n";
    for (int i = 0; i < 4096; ++i)
        crlf += "A\r\n";
    work.write("big.nci", big);
    const std::string crlfInput = work.write("crlf.nci", crlf);
    const std::string run = "\"$0\" convert --nci --no-config --from nci ";
    const std::string limit = "trap '' XFSZ; ulimit -f 8; ";
    const std::pair<std::string, std::string> cases[] = {
        {run + "big.nci | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}",
         "cannot write the standard output: Broken pipe"},
        {run + "big.nci >/dev/full", "cannot write the standard output: No space left on device"},
        {limit + run + "crlf.nci -o out.nci", "out.nci: File too large"},
        // The plug-in's own NCI file: it reports the failure.
        {limit + run + "big.nci -o out.nci", "File too large [write-failed]"},
        {limit + run + "crlf.nci --in-place", "crlf.nci: File too large"},
    };
    for (const auto& [script, message] : cases) {
        const ProgramRun result = runProgram("/bin/bash", {"-c", script, MORVANE_PROGRAM},
                                             environment(), work.path().string());
        EXPECT_EQ(result.exitCode, 3) << script << "\n" << result.err;
        EXPECT_NE(result.err.find(message), std::string::npos) << script << "\n" << result.err;
        EXPECT_EQ(readFile(crlfInput), crlf) << script;
        std::vector<std::string> files = leftovers(work.path(), "tmp");
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"big.nci", "crlf.nci"})) << script;
        EXPECT_EQ(leftovers(work.path() / "tmp", ""), std::vector<std::string>{}) << script;
    }
}

// A link or a directory as the output: runs.txt.
TEST_F(Cli, OutputIntoAPipe) {
    const std::string input = work.write("p.nci", "A\nB\n");
    // A named pipe is written into, never replaced by a file.
    const fs::path pipe = work.path() / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::string piped;
    std::thread reader([&] { piped = readFile(pipe); });
    const ProgramRun run = build({"convert", input, "--nci", "--no-config", "-o", pipe.string()});
    reader.join();
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(piped, "A\nB\n");
    EXPECT_TRUE(fs::is_fifo(fs::symlink_status(pipe)));
}

}  // namespace
}  // namespace morvane::test
