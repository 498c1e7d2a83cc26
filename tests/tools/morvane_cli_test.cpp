// The real `morvane` program, end to end: programs of each dialect, selections, converters, the
// configuration kept between runs, atomic replacement of the input, and every failure the host
// explains, each with its exit status. Runs without a terminal, so the dialog is always scripted.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
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

TEST_F(Cli, TheConfigurationIsRememberedBetweenRuns) {
    const std::string input = work.write("p.nci", "A\nB\n");
    const std::string converter = (testHost() / "Converters/Numbering.conv").string();
    ProgramRun run = tested({"convert", input, "--converter", "Numbering", "--longhand"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(storedConfig(),
              "OutputToNCI=False;PostProcessor=" + converter +
                  ";ResInNewWindow=False;SelectionOnly=False;UseLonghandCycles=True;\n");

    // The second run names nothing to produce: the dialog opens with the first run's choices.
    run = tested({"convert", input});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "P1: A\nP2: B\n");

    // Without the stored choices nothing is chosen.
    run = tested({"convert", input, "--no-config"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("give --nci or --converter"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    // NCI output replaces post-processing in the stored choices; the converter stays.
    run = tested({"convert", input, "--nci"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "A\nB\n");
    EXPECT_EQ(storedConfig(),
              "OutputToNCI=True;PostProcessor=" + converter +
                  ";ResInNewWindow=False;SelectionOnly=False;UseLonghandCycles=True;\n");
    run = tested({"convert", input});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "A\nB\n");

    // A converter that has gone is not offered again, and the user is told.
    fs::remove(work.path() / "config/morvane/plugin.conf");
    const std::string gone = work.write("Gone.conv", kNumbering);
    ASSERT_EQ(tested({"convert", input, "--converter", gone, "--longhand"}).exitCode, 0);
    fs::remove(gone);
    run = tested({"convert", input});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("the remembered converter " + gone + " no longer exists"),
              std::string::npos)
        << run.err;
    ASSERT_EQ(::mkfifo(gone.c_str(), 0600), 0);
    run = tested({"convert", input});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("the remembered converter " + gone +
                           " is a named pipe (FIFO), not a converter file"),
              std::string::npos)
        << run.err;
}

TEST_F(Cli, NciWithoutConverterExpandsEveryCycle) {
    const std::string input =
        work.write("p.nc", "G90 G17 G0 X0 Y0 Z10\nG81 X5 Y5 Z-3 R2 F100\nG80\nM30\n");
    ProgramRun run = build({"convert", input, "--nci"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out.find("\n81\n"), std::string::npos) << run.out;
    // That was the run's need, not the user's choice: a later converter writes its cycles.
    EXPECT_NE(storedConfig().find("UseLonghandCycles=False;"), std::string::npos);
    run = build({"convert", input, "--converter", "Fanuc", "--result-only"});
    EXPECT_NE(run.out.find("G81"), std::string::npos) << run.out << run.err;
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
    std::string nuls;
    for (int i = 0; i < 205; ++i)
        nuls += std::string("1005\nX\0Y\n", 9);
    std::set<std::string> made = {"config", "tmp", "pipe.nc", "noise.nc", "nuls.nci"};
    work.write("noise.nc", noise());
    work.write("nuls.nci", nuls);
    ASSERT_EQ(::mkfifo((work.path() / "pipe.nc").c_str(), 0600), 0);
    const std::string input = (work.path() / "in.nci").string(), host = testHost().string();
    for (const TableRow& row : readTable("tools/runs.txt")) {
        if (row.at(0) == "file") {
            work.write(row.at(1), unescaped(row.at(2)));
            made.insert(fs::path(row.at(1)).begin()->string());
            continue;
        }
        std::vector<std::string> arguments = splitWords(row.at(1));
        const std::string program =
            arguments.front() == "test" ? (testHost() / "morvane").string() : MORVANE_PROGRAM;
        arguments.erase(arguments.begin());
        for (std::string& argument : arguments)
            argument = argument == "IN" ? input : replaced(argument, "HOST", host);
        const ProgramRun run = runProgram(program, arguments, environment(), work.path().string());
        EXPECT_EQ(run.exitCode, std::stoi(row.at(0))) << row.where << "\n" << run.err;
        EXPECT_TRUE(matches(run.err, replaced(unescaped(row.at(2)), "HOST", host)))
            << row.where << "\n" << run.err;
        EXPECT_TRUE(matches(run.out, unescaped(row.at(3)))) << row.where << "\n" << run.out;
        EXPECT_TRUE(fs::is_empty(work.path() / "tmp")) << row.where << ": working files left";
    }
    for (const std::string& name : leftovers(work.path(), ""))
        EXPECT_TRUE(made.contains(name)) << name;
}

TEST_F(Cli, AnIncompleteInstallationIsNamed) {
    ScratchDirectory place;
    const fs::path noPost =
        makeHostDirectory(place.path() / "no-post", {"", {{"N.conv", kNumbering}}});
    const std::string input = work.write("p.nci", "A\n");
    ProgramRun run =
        runProgram((noPost / "morvane").string(), {"convert", input, "--nci"}, environment());
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_NE(run.err.find("the post-processor libraries are missing:\n  " +
                           (noPost / "Dll/MorvanePost.so").string()),
              std::string::npos)
        << run.err;

    const fs::path noPlugin =
        makeHostDirectory(place.path() / "no-plugin", {MORVANE_TEST_POST, {}});
    fs::remove(noPlugin / "libmorvane.so");
    // The build's plug-in would be found through ../lib; the variable names the one to use.
    run = runProgram((noPlugin / "morvane").string(), {"convert", input, "--nci"},
                     {{"MORVANE_PLUGIN", (noPlugin / "libmorvane.so").string()}});
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_NE(run.err.find("the plug-in libmorvane.so is not installed"), std::string::npos)
        << run.err;

    // A library that is there but does not load is no program without NCI.
    const fs::path emptyReader =
        makeHostDirectory(place.path() / "empty-reader", {MORVANE_TEST_POST, {}});
    fs::resize_file(emptyReader / "Dll/MorvaneNCIReader.so", 0);
    run =
        runProgram((emptyReader / "morvane").string(), {"convert", input, "--nci"}, environment());
    EXPECT_EQ(run.exitCode, 5);
    EXPECT_NE(run.err.find("cannot load the post-processor library " +
                           (emptyReader / "Dll/MorvaneNCIReader.so").string() + ": "),
              std::string::npos)
        << run.err;
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

TEST_F(Cli, AFailedInPlaceRunLeavesTheInputUntouched) {
    const std::string input = work.write("dir/p.nci", "A\nB\n");
    for (const char* converter : {"Silent", "Broken"}) {
        const ProgramRun run =
            tested({"convert", input, "--in-place", "-c", converter, "--no-config"});
        EXPECT_EQ(run.exitCode, 1) << converter;
        EXPECT_EQ(readFile(input), "A\nB\n") << converter;
        EXPECT_EQ(leftovers(work.path() / "dir", "p.nci"), std::vector<std::string>{}) << converter;
    }
}

TEST_F(Cli, AnInPlaceRunWithoutAWritableTemporaryDirectoryLeavesTheInputUntouched) {
    // No file can be made in /proc: neither the plug-in's working files nor the host's spool.
    // Whichever fails first, the run fails and the program stays as it was.
    const std::string program = "G0 X1\nG1 X2 F100\nM30\n";
    const std::string input = work.write("dir/p.nc", program);
    for (const char* format : {"fanuc", "nci"}) {
        auto env = environment();
        env["TMPDIR"] = "/proc";
        const ProgramRun run = runProgram((testHost() / "morvane").string(),
                                          {"convert", input, "--in-place", "--from", format,
                                           "--nci", "--longhand", "--no-config"},
                                          env);
        EXPECT_NE(run.exitCode, 0) << format << run.err;
        EXPECT_FALSE(run.err.empty()) << format;
        EXPECT_EQ(readFile(input), program) << format;
        EXPECT_EQ(leftovers(work.path() / "dir", "p.nc"), std::vector<std::string>{}) << format;
    }
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

// Working files of runs that were killed, named with their process id, are removed by the next
// run: in the temporary directory, and beside the output before it is written. Never those of
// a running process, of another user, or of another form.
TEST_F(Cli, WorkingFilesOfKilledRunsAreRemoved) {
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::string gone = std::to_string(ended), alive = std::to_string(::getpid());
    struct Case {
        std::string path;  // below the work directory
        bool directory;
        bool otherUser;
        bool removed;
    };
    const Case cases[] = {
        {"tmp/morvane-" + gone + "-a1B2c3", true, false, true},
        {"out/.p.nci.morvane-" + gone + "-a1B2c3", false, false, true},
        {"out/.other.nc.morvane-" + gone + "-Zz9Zz9", false, false, true},
        {"tmp/morvane-" + alive + "-a1B2c3", true, false, false},
        {"out/.p.nci.morvane-" + alive + "-a1B2c3", false, false, false},
        {"tmp/morvane-" + gone + "-a1B2c3x", true, false, false},
        {"tmp/morvane-" + gone + "-a1B2c3.nc", false, false, false},
        {"out/.p.nci.morvane-a1B2c3", false, false, false},  // no process id: an older run's
        {"out/p.nci.morvane-" + gone + "-a1B2c3", false, false, false},
        {"tmp/morvane-" + gone + "-b1B2c3", true, true, false},
    };
    const bool root = ::geteuid() == 0;
    for (const Case& c : cases) {
        if (c.otherUser && !root) continue;
        const fs::path path = work.path() / c.path;
        if (c.directory) {
            fs::create_directories(path);
            work.write(c.path + "/NEW1.tmp", "1003\n");
        } else {
            work.write(c.path, "half a result\n");
        }
        if (c.otherUser) {
            ASSERT_EQ(::chown(path.c_str(), 4321, 4321), 0);
        }
    }
    const std::string input = work.write("p.nci", "A\n");
    const ProgramRun run = build(
        {"convert", input, "--nci", "--no-config", "-o", (work.path() / "out/p.nci").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    for (const Case& c : cases) {
        if (c.otherUser && !root) continue;
        EXPECT_EQ(fs::exists(work.path() / c.path), !c.removed) << c.path;
    }
}

TEST_F(Cli, OutputIntoAPipeOrThroughALink) {
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
    // A link keeps being a link; the file it points to gets the result.
    const std::string target = work.write("target.nci", "old\n");
    fs::create_symlink(target, work.path() / "link.nci");
    EXPECT_EQ(
        build({"convert", input, "--nci", "--no-config", "-o", (work.path() / "link.nci").string()})
            .exitCode,
        0);
    EXPECT_TRUE(fs::is_symlink(work.path() / "link.nci"));
    EXPECT_EQ(readFile(target), "A\nB\n");
    // A directory is no output file.
    const ProgramRun directory =
        build({"convert", input, "--nci", "--no-config", "-o", work.path().string()});
    EXPECT_EQ(directory.exitCode, 3);
    EXPECT_NE(directory.err.find("is a directory"), std::string::npos);
}

TEST_F(Cli, SeveralInputsIntoADirectory) {
    const std::string a = work.write("a.nci", "A\n");
    const std::string b = work.write("b.txt", "1003\n0 0 0\n");
    // The directory is made when it is missing.
    ProgramRun run =
        tested({"convert", a, b, "--nci", "-d", (work.path() / "out").string(), "--no-config"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(work.path() / "out/a.nci"), "A\n");
    EXPECT_EQ(readFile(work.path() / "out/b.nci"), "1003\n0 0 0\n");
    // A converter that writes ISO code gives .nc files.
    run = tested(
        {"convert", a, "-c", "Numbering", "--longhand", "-d", (work.path() / "out").string()});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(readFile(work.path() / "out/a.nc"), "P1: A\n");
    // -d into the input's own directory with the same name would overwrite the input.
    run = tested({"convert", a, "--nci", "-d", work.path().string()});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(readFile(work.path() / "a.nci"), "A\n");
    // An input that fails does not stop the others; the status is the failure's.
    fs::remove(work.path() / "out/b.nci");
    run = tested({"convert", "missing.nci", b, "--nci", "-d", (work.path() / "out").string()});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(readFile(work.path() / "out/b.nci"), "1003\n0 0 0\n");
    // Converted at once, the same results, messages, counts and status as one by one.
    const std::string nul = work.write("c.nci", std::string("1005\nX\0Y\n", 9));
    const std::vector<std::string> batch{"convert", nul, "missing.nci", b, a, "--nci", "--from",
                                         "nci", "--no-config", "-d"};
    std::vector<std::string> oneByOne = batch, atOnce = batch;
    oneByOne.insert(oneByOne.end(), {(work.path() / "one").string(), "-j", "1"});
    atOnce.insert(atOnce.end(), {(work.path() / "all").string(), "--jobs=3"});
    const ProgramRun sequential = tested(oneByOne), parallel = tested(atOnce);
    EXPECT_EQ(parallel.exitCode, 3);
    EXPECT_EQ(parallel.exitCode, sequential.exitCode);
    EXPECT_EQ(parallel.err, sequential.err);
    for (const char* name : {"a.nci", "b.nci", "c.nci"})
        EXPECT_EQ(readFile(work.path() / "all" / name), readFile(work.path() / "one" / name));
}

TEST_F(Cli, NoProgressBarWhenStandardErrorIsNotATerminal) {
    std::string program;
    for (int i = 0; i < 30000; ++i)
        program += "1\n0 " + std::to_string(i) + " 0 0 100 0\n";
    const std::string input = work.write("long.nci", program);
    const ProgramRun run =
        build({"convert", input, "--nci", "--no-config", "-o", (work.path() / "out.nci").string()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(work.path() / "out.nci"), program);
}

}  // namespace
}  // namespace morvane::test
