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
#include <vector>

#include "cycles/cycle_errors.h"
#include "parsers/program_parser.h"
#include "recording_host.h"
#include "support/memory_program.h"
#include "support/nci_check.h"

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
