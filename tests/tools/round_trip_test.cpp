// Round trips through the post-processor: a program is converted to NCI, post-processed with a
// shipped converter and read back with the parser of the target control; the tool path must be the same (end points and centres within 0.001, the same feeds,
// tool changes where the reading parser sees them, the same holes), with no feed move lacking a
// feed and no rapid move down in Z beside X or Y. Programs: the examples, the golden programs and, when it is
// there, the corpus of real programs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "converter_file.h"
#include "post_session.h"
#include "support/memory_program.h"
#include "tool_path.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

constexpr int kFanuc = 0;
constexpr int kHeidenhain = 1;
constexpr double kTolerance = 0.001 + 1e-9;

const fs::path kConverters = fs::path(MORVANE_SOURCE_DIR) / "post" / "Converters";

struct Converter {
    post::PostSettings settings;
    SupportedCycleList cycles;
};

Converter loadConverter(const std::string& name) {
    std::string error;
    const auto file = post::readConverterFile((kConverters / name).c_str(), &error);
    EXPECT_TRUE(file.has_value()) << name << ": " << error;
    Converter converter;
    if (!file) return converter;
    converter.settings = post::settingsFrom(*file);
    for (const post::CyclePattern& pattern : file->cycles) {
        SupportedCycle cycle{};
        std::copy(pattern.fields.begin(), pattern.fields.end(), cycle.begin());
        converter.cycles.push_back(cycle);
    }
    return converter;
}

// One way through the post-processor and back.
struct Route {
    const char* name;
    int source;  // dialect of the programs
    const char* converter;
    bool native;  // the plug-in asks the converter for its native cycles
    int target;   // dialect the output is read back with
    PathRules rules;
};

// Test names and messages show a route by its name.
void PrintTo(const Route& route, std::ostream* os) {
    *os << route.name;
}

// The Fanuc reader drops M6, so tool changes are compared only where the Heidenhain reader
// reads the output; the Heidenhain reader takes every arc as an XY arc, so arcs in the other
// planes keep only their end points and direction on that road.
// G83 has no dwell word, and a Heidenhain cycle's retract to its second set-up clearance becomes
// a rise in Z before G98.
constexpr double kTncAngleStep = 0.0001;
constexpr PathRules kToFanuc{false, true, true, false, true, false, 0.0};
constexpr PathRules kToHeidenhain{false, false, true, false, false, true, kTncAngleStep};
constexpr PathRules kHeidenhainBoth{true, false, true, false, false, true, kTncAngleStep};
constexpr PathRules kHeidenhainToFanucNative{false, true, false, true, true, false, 0.0};
const Route kRoutes[] = {
    {"Fanuc to Fanuc, native cycles", kFanuc, "Fanuc.conv", true, kFanuc, kToFanuc},
    {"Fanuc to Fanuc, longhand", kFanuc, "Fanuc-longhand.conv", false, kFanuc, kToFanuc},
    {"Fanuc to Heidenhain, native cycles", kFanuc, "Heidenhain.conv", true, kHeidenhain,
     kToHeidenhain},
    {"Fanuc to Heidenhain, longhand", kFanuc, "Heidenhain.conv", false, kHeidenhain, kToHeidenhain},
    {"Heidenhain to Heidenhain, native cycles", kHeidenhain, "Heidenhain.conv", true, kHeidenhain,
     kHeidenhainBoth},
    {"Heidenhain to Heidenhain, longhand", kHeidenhain, "Heidenhain.conv", false, kHeidenhain,
     kHeidenhainBoth},
    {"Heidenhain to Fanuc, native cycles", kHeidenhain, "Fanuc.conv", true, kFanuc,
     kHeidenhainToFanucNative},
    {"Heidenhain to Fanuc, longhand", kHeidenhain, "Fanuc-longhand.conv", false, kFanuc, kToFanuc},
};

// Programs whose NCI is larger than this take the native routes only: they are the corpus's
// repetitions of long label sections (tens of megabytes of NCI). Under the sanitizers, which
// slow the run down tenfold, they are left out.
constexpr std::size_t kLargeNci = 8u << 20;
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kLargeOnNativeRoutes = false;
#else
constexpr bool kLargeOnNativeRoutes = true;
#endif

// The difference of one program's round trip; empty when the tool paths agree. Nothing when the
// program is too large for the route.
std::string roundTrip(const Route& route, const Converter& converter, const std::string& program) {
    const SupportedCycleList none;
    const SupportedCycleList& cycles = route.native ? converter.cycles : none;
    // Both ways in the corrected semantics: the tool path a control cuts, read by the same rules.
    Diagnostics there(false, Semantics::Corrected);
    const std::string nci = convertToNci(route.source, program, cycles, {}, &there);
    if ((!route.native || !kLargeOnNativeRoutes) && nci.size() > kLargeNci) return {};
    const std::string code = post::postProcessText(nci, converter.settings);
    Diagnostics andBack(false, Semantics::Corrected);
    const std::string back = convertToNci(route.target, code, cycles, {}, &andBack);
    std::string difference = comparePaths(nci, back, route.rules, kTolerance);
    // Only the moves the output adds count: an expanded cycle may itself rapid down sideways.
    if (difference.empty() && unsafeMove(nci).empty()) difference = unsafeMove(back);
    if (difference.empty()) return {};
    return difference + "\n--- NC code written (start):\n" + code.substr(0, 3000);
}

std::vector<fs::path> programsUnder(const fs::path& dir, int dialect) {
    std::vector<fs::path> programs;
    if (!fs::is_directory(dir)) return programs;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        const bool heidenhain = ext == ".h";
        const bool iso = ext == ".nc";
        // A golden program with budgets of its own is about a bound, not a tool path; the
        // exact half of a correction's golden pair is the path the correction says is wrong.
        fs::path limits = entry.path(), corrected = entry.path();
        if (fs::exists(limits.replace_extension(".limits")) ||
            fs::exists(corrected.replace_extension(".corrected.nci")))
            continue;
        if ((dialect == kHeidenhain && heidenhain) || (dialect == kFanuc && iso))
            programs.push_back(entry.path());
    }
    std::sort(programs.begin(), programs.end());
    return programs;
}

void runRoute(const Route& route, const std::vector<fs::path>& programs) {
    const Converter converter = loadConverter(route.converter);
    for (const fs::path& path : programs) {
        const std::string difference = roundTrip(route, converter, readFile(path.string()));
        EXPECT_TRUE(difference.empty()) << route.name << ", " << path.string() << ":\n"
                                        << difference;
    }
}

class RoundTrip : public testing::TestWithParam<Route> {};

TEST_P(RoundTrip, ExamplesAndGoldenPrograms) {
    const fs::path source(MORVANE_SOURCE_DIR);
    const int dialect = GetParam().source;
    std::vector<fs::path> programs = programsUnder(source / "examples", dialect);
    const auto golden = programsUnder(
        source / "tests" / "golden" / (dialect == kFanuc ? "fanuc" : "heidenhain"), dialect);
    programs.insert(programs.end(), golden.begin(), golden.end());
    ASSERT_GT(programs.size(), 5u);
    runRoute(GetParam(), programs);
}

TEST_P(RoundTrip, Corpus) {
    const fs::path corpus(MORVANE_CORPUS_DIR);
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    const int dialect = GetParam().source;
    const auto programs =
        programsUnder(corpus / (dialect == kFanuc ? "fanuc" : "heidenhain"), dialect);
    ASSERT_FALSE(programs.empty());
    runRoute(GetParam(), programs);
}

std::string routeName(const testing::TestParamInfo<Route>& info) {
    std::string name;
    for (const char* c = info.param.name; *c != '\0'; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
    return name;
}

INSTANTIATE_TEST_SUITE_P(Routes, RoundTrip, testing::ValuesIn(kRoutes), routeName);

}  // namespace
}  // namespace morvane::test
