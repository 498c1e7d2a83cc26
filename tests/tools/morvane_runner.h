// Running the real `morvane` program in tests: its exit status, standard output and standard
// error, with an environment of the test's own (no terminal, no dialog script, a private
// configuration and temporary directory). And host directories of the test's own: a copy of
// the program beside a chosen post library and converter files.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "fake_services.h"           // ScratchDirectory: a directory removed with what it holds
#include "support/memory_program.h"  // readFile

namespace morvane::test {

struct ProgramRun {
    int exitCode = -1;  // -1 when the program did not exit normally
    int signal = 0;     // the signal that ended it, if any
    std::string out;
    std::string err;
};

// In a child about to run the program under test: the ending signals' default actions, as a
// terminal session starts a program. A test run under nohup or from a background job would
// otherwise hand down ignored signals, and the program would outlive the signal a test sends.
void giveSignalsTheirDefaults();

// Runs `program` with `arguments`, standard input from /dev/null, in a new session without a
// controlling terminal, the ending signals at their defaults. `environment` entries replace or add variables; an empty value removes
// one. MORVANE_DIALOG, MORVANE_PLUGIN, TMPDIR and XDG_CONFIG_HOME are removed unless given.
ProgramRun runProgram(const std::string& program, const std::vector<std::string>& arguments,
                      const std::map<std::string, std::string>& environment = {},
                      const std::string& workingDirectory = {});

// The environment of a run of its own below `work`: the configuration in work/config, the
// temporary files in work/tmp (made here), the home directory work/home.
std::map<std::string, std::string> privateEnvironment(const std::filesystem::path& work);
// What a run with that environment stored as its configuration.
std::string storedConfig(const std::filesystem::path& work);

// A host directory: morvane and libmorvane.so copied from the build, Dll/MorvaneNCIReader.so
// the build's reader, Dll/MorvanePost.so the given post library (none: left out), and the given
// converter files in Converters/.
struct HostFiles {
    std::string postLibrary;
    std::map<std::string, std::string> converters;  // file name -> text
};
std::filesystem::path makeHostDirectory(const std::filesystem::path& where, const HostFiles& files);

}  // namespace morvane::test
