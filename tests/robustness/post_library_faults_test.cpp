// Post-processor libraries that misbehave, met through the plug-in's exports in a host of their
// own: morvane-record is copied into a scratch host directory whose Dll/ holds the odd reader
// library, and runs one action there. The reader may lack its entry points, answer a null table,
// a null, negative, huge or dangling count, a count or table in memory that cannot be read, or
// remove the result file before the plug-in reads it. The host program must end normally and
// receive what docs/limits.md says.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "morvane_runner.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

struct OddReaderCase {
    const char* situation;
    const char* reader;  // built library installed as Dll/MorvaneNCIReader.so
    const char* script;
    const char* expected;  // what morvane-record prints
};

constexpr const char* kProgram = "G81 X1 Y2 Z-5 R2 F100\nG80\nM30\n";

// The converter chosen in the dialog; the odd readers ignore its contents.
constexpr const char* kToNci =
    "file CONVERTER; click IDC_BROWSE; select Fanuc; check IDC_CONVERT_NCI; click IDOK";
constexpr const char* kThroughPost = "file CONVERTER; click IDC_BROWSE; select Fanuc; click IDOK";
// Neither a pattern nor a post-processor: the selection flag, then the configuration.
constexpr const char* kNoPost =
    "property: SELECTION_ONLY = true\n"
    "property: PLUGIN_CONFIG = OutputToNCI=False;PostProcessor=CONVERTER;"
    "ResInNewWindow=False;SelectionOnly=True;UseLonghandCycles=False;\n";

std::string replaced(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at))
        text.replace(at, what.size(), with), at += with.size();
    return text;
}

// A host directory of its own: bin/morvane-record with bin/Dll and bin/Converters, lib/ with
// the plug-in.
class OddHost {
  public:
    explicit OddHost(const char* reader) {
        const fs::path bin = dir_.path() / "bin";
        fs::create_directories(bin / "Dll");
        fs::create_directories(dir_.path() / "lib");
        fs::create_directories(dir_.path() / "tmp");
        fs::copy_file(MORVANE_RECORD, bin / "morvane-record");
        fs::create_symlink(PLUGIN_LIBRARY,
                           dir_.path() / "lib" / fs::path(PLUGIN_LIBRARY).filename());
        fs::copy_file(reader, bin / "Dll" / "MorvaneNCIReader.so");
        fs::copy_file(STAND_IN_POST, bin / "Dll" / "MorvanePost.so");
        converter_ = dir_.write("bin/Converters/Odd.conv", "[converter]\nname = Odd\n[cycles]\n");
        program_ = dir_.write("program.nc", kProgram);
    }

    ProgramRun run(const std::string& script) const {
        return runProgram((dir_.path() / "bin" / "morvane-record").string(),
                          {"--script", replaced(script, "CONVERTER", converter_), program_},
                          {{"TMPDIR", (dir_.path() / "tmp").string()}});
    }
    const std::string& converter() const { return converter_; }

  private:
    ScratchDirectory dir_;
    std::string converter_;
    std::string program_;
};

TEST(PostLibraryFaults, OddReadersThroughTheExports) {
    // The drill cycle written natively never happens: no odd reader supports a cycle.
    const std::string longhand =
        "line: 1005\nline: Drilling cycle\n";  // the expansion begins with its label
    const OddReaderCase cases[] = {
        {"no entry points: no pattern, no post-processor", ODD_NO_ENTRIES, kThroughPost, kNoPost},
        {"a null table stops the run", ODD_NULL_TABLE, kToNci, "property: SELECTION_ONLY = true\n"},
        {"NCIConverter missing: no post-processor", ODD_NO_CONVERTER, kThroughPost, kNoPost},
        {"a null count pointer reads as no pattern", ODD_NULL_COUNT, kToNci, "EXPANDED"},
        {"a negative count reads as no pattern", ODD_NEGATIVE_COUNT, kToNci, "EXPANDED"},
        {"a count of 2^30 is cut to the patterns a table may hold", ODD_HUGE_COUNT, kToNci,
         "EXPANDED"},
        {"a count pointer left dangling is read once, bounded", ODD_DANGLING_COUNT, kToNci,
         "EXPANDED"},
        {"a count pointer into unmapped memory reads as no pattern", ODD_UNMAPPED_COUNT, kToNci,
         "EXPANDED"},
        {"a table shorter than its count is read up to where it ends", ODD_SHORT_TABLE, kToNci,
         "EXPANDED"},
        {"a result file removed before it is read sends no line", ODD_REMOVES_RESULT, kThroughPost,
         kNoPost},
    };
    for (const OddReaderCase& c : cases) {
        SCOPED_TRACE(c.situation);
        const OddHost host(c.reader);
        const ProgramRun run = host.run(c.script);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        const std::string& out = run.out;
        const std::string expected = replaced(c.expected, "CONVERTER", host.converter());
        if (expected == "EXPANDED") {
            // Every pattern the plug-in read is all zeros, which matches no cycle: the cycle is
            // expanded, the NCI comes back, the configuration follows.
            EXPECT_TRUE(out.starts_with("property: SELECTION_ONLY = true\nline: 1050\n")) << out;
            EXPECT_NE(out.find(longhand), std::string::npos) << out;
            EXPECT_EQ(out.find("line: 91081"), std::string::npos) << out;
            EXPECT_TRUE(
                out.ends_with("line: 1003\nline: 0 0 0\nproperty: PLUGIN_CONFIG = "
                              "OutputToNCI=True;PostProcessor=" +
                              host.converter() +
                              ";ResInNewWindow=False;SelectionOnly=True;"
                              "UseLonghandCycles=False;\n"))
                << out;
        } else {
            EXPECT_EQ(out, expected);
        }
    }
}

}  // namespace
}  // namespace morvane::test
