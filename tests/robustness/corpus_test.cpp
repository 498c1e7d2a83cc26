// Real NC programs written by others (the shared corpus, not in the repository), every one in
// every dialect: with every cycle expanded and with every native cycle supported, directly
// through the parser entry; and through the plug-in's exports with every shipped converter.
// Each conversion must end (no crash, no hang, no sanitizer report) and its NCI text must be
// well formed. A cycle parameter that the cycle expansion rejects may end a conversion early.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "nci/cycle_errors.h"
#include "parsers/program_parser.h"
#include "recording_host.h"
#include "support/memory_program.h"
#include "support/nci_check.h"
#include "support/tool_path_check.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;
using testhost::HostEvent;
using testhost::RecordingHost;

struct Dialect {
    const char* name;  // as the format list shows it
    int format;
    const char* id;  // for test names
};

constexpr Dialect kDialects[] = {
    {"Fanuc", 0, "fanuc"},         {"Heidenhain", 1, "heidenhain"},     {"Siemens", 2, "siemens"},
    {"Sinumerik", 3, "sinumerik"}, {"G&L Numeripath", 4, "numeripath"},
};

std::vector<fs::path> corpusPrograms() {
    std::vector<fs::path> programs;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(MORVANE_CORPUS_DIR, error))
        if (entry.is_regular_file() && entry.path().filename() != "SOURCES.md")
            programs.push_back(entry.path());
    std::sort(programs.begin(), programs.end());
    return programs;
}

SupportedCycleList everyNativeCycle() {
    SupportedCycle all;
    all.fill(2);
    return {all};
}

// Converts as the conversion driver does: a rejected cycle parameter ends the conversion.
std::string convert(int format, const std::vector<std::string>& lines,
                    const SupportedCycleList& cycles, bool& ended) {
    MemoryProgram source(lines);
    // ctest runs the dialects side by side: one file per process.
    const std::string path =
        ::testing::TempDir() + "robustness_corpus_" + std::to_string(::getpid()) + ".nci";
    ended = true;
    try {
        makeParser(format, source.source(), path, cycles)->run();
    } catch (const CycleWrongValue&) {
        ended = false;
    } catch (const CycleWrongCode&) {
        ended = false;
    }
    std::string nci = readFile(path);
    std::remove(path.c_str());
    return nci;
}

class CorpusInEveryDialect : public testing::TestWithParam<Dialect> {};

TEST_P(CorpusInEveryDialect, LonghandAndNativeCyclesGiveWellFormedNci) {
    const std::vector<fs::path> programs = corpusPrograms();
    if (programs.empty()) GTEST_SKIP() << "no corpus at " << MORVANE_CORPUS_DIR;
    const Dialect& dialect = GetParam();
    for (const fs::path& program : programs) {
        SCOPED_TRACE(program.filename().string());
        const std::vector<std::string> lines = splitLines(readFile(program.string()));
        for (const SupportedCycleList& cycles : {SupportedCycleList{}, everyNativeCycle()}) {
            bool ended = true;
            const std::string nci = convert(dialect.format, lines, cycles, ended);
            EXPECT_EQ(dialect.format == 1 ? checkNciRecords(nci) : checkIsoProgram(nci, ended), "")
                << (cycles.empty() ? "longhand" : "native");
        }
    }
}

// Programs whose arcs no semantics puts on their circle, with their count: lathe programs
// (X a diameter, I a radius) read by the Fanuc dialect, and a milling and a grinding program read
// by the Sinumerik dialect (X halved, Y and Z exchanged).
constexpr std::pair<std::string_view, std::size_t> kArcsOffCircle[] = {
    {"ld_lathe_Threading_ballhatch.NC", 2}, {"ld_lathe_bishopFromCam.nc", 5},
    {"sh_lathe_2001.nc", 9},                 {"ph_CAM_TEST.MPF", 444},
    {"nk_40CI_shape.SPF", 2},
};

// Every program in the dialect of its folder, in the corrected semantics: an arc ends on its
// circle (within 0.01), except those counted above, and every arc off its circle is reported.
TEST(CorpusArcs, EndOnTheirCircleOrAreReported) {
    const std::vector<fs::path> programs = corpusPrograms();
    if (programs.empty()) GTEST_SKIP() << "no corpus at " << MORVANE_CORPUS_DIR;
    for (const fs::path& program : programs) {
        const std::string name = program.filename().string();
        SCOPED_TRACE(name);
        const std::string folder = program.parent_path().filename().string();
        const int format = folder == "heidenhain" ? 1 : folder == "sinumerik" ? 3 : 0;
        Diagnostics diagnostics(true, Semantics::Corrected);
        const std::string nci = convertToNci(format, readFile(program.string()), {}, {}, &diagnostics);
        std::uint64_t reported = 0;
        bool cut = false;  // more diagnostics than are kept: the rest are only counted
        for (const Diagnostics::Entry& entry : diagnostics.entries()) {
            if (entry.code->name == diagnostic::kArcOffCircle.name) reported += entry.count;
            cut = cut || entry.code->name == diagnostic::kTooManyDiagnostics.name;
        }
        const std::vector<std::string> offCircle = checkToolPath(nci, 0.01);
        std::size_t expected = 0;
        for (const auto& [known, count] : kArcsOffCircle)
            if (known == name) expected = count;
        EXPECT_EQ(offCircle.size(), expected) << (offCircle.empty() ? "" : offCircle.front());
        if (cut)
            EXPECT_GE(offCircle.size(), reported);
        else
            EXPECT_EQ(offCircle.size(), reported);
    }
}

std::string dialectName(const testing::TestParamInfo<Dialect>& info) {
    return info.param.id;
}

INSTANTIATE_TEST_SUITE_P(Robustness, CorpusInEveryDialect, testing::ValuesIn(kDialects),
                         dialectName);

std::vector<fs::path> shippedConverters() {
    std::vector<fs::path> converters;
    for (const auto& entry :
         fs::directory_iterator(fs::path(MORVANE_BINARY_DIR) / "bin/Converters"))
        if (entry.path().extension() == ".conv") converters.push_back(entry.path());
    std::sort(converters.begin(), converters.end());
    return converters;
}

// Every program in every dialect through every shipped converter, as the editor would run it:
// the action ends and the configuration is told last. (A program read in a dialect it was not
// written for may give no line at all.)
class CorpusThroughConverters : public testing::TestWithParam<Dialect> {};

TEST_P(CorpusThroughConverters, EveryConverterTakesEveryProgram) {
    const std::vector<fs::path> programs = corpusPrograms();
    if (programs.empty()) GTEST_SKIP() << "no corpus at " << MORVANE_CORPUS_DIR;
    const std::vector<fs::path> converters = shippedConverters();
    ASSERT_FALSE(converters.empty());
    const Dialect& dialect = GetParam();
    for (const fs::path& program : programs) {
        RecordingHost host(splitLines(readFile(program.string())));
        for (const fs::path& converter : converters) {
            SCOPED_TRACE(program.filename().string() + " as " + dialect.name + " with " +
                         converter.filename().string());
            TeskPlugin_ClearOptions();
            host.clearEvents();
            host.attach();
            host.perform("file " + converter.string() + "; click IDC_BROWSE; select " +
                         dialect.name + "; click IDOK");
            const std::vector<HostEvent>& events = host.events();
            ASSERT_FALSE(events.empty());
            EXPECT_EQ(events.back().name, "PLUGIN_CONFIG");
        }
    }
    TeskPlugin_ClearOptions();
}

INSTANTIATE_TEST_SUITE_P(Robustness, CorpusThroughConverters, testing::ValuesIn(kDialects),
                         dialectName);

}  // namespace
}  // namespace morvane::test
