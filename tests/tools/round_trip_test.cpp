// Round trips through the post-processor: a program is converted to NCI in the corrected
// semantics, post-processed with a shipped converter and read back in the format of the target
// control. The two tool paths must be the same by the comparison `morvane show` makes
// (src/nci/path_compare.h, within 0.01 mm), and the output must make no move that no control
// should (a feed move with no feed in force, a rapid move down in Z beside X or Y). Programs:
// the examples, the golden programs and, when it is there, every program of the corpus.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "converter_file.h"
#include "nci/path_compare.h"
#include "post_session.h"
#include "support/memory_program.h"
#include "support/table_file.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

constexpr double kTolerance = 0.01;

const fs::path kConverters = fs::path(MORVANE_SOURCE_DIR) / "post" / "Converters";

struct Route {
    const char* name;
    const char* converter;
    bool native;  // the conversion writes the converter's native drilling cycles
    ProgramFormat target;
};

const Route kRoutes[] = {
    {"FanucNativeCycles", "Fanuc.conv", true, ProgramFormat::Fanuc},
    {"FanucLonghand", "Fanuc-longhand.conv", false, ProgramFormat::Fanuc},
    {"HeidenhainNativeCycles", "Heidenhain.conv", true, ProgramFormat::Heidenhain},
    {"HeidenhainLonghand", "Heidenhain.conv", false, ProgramFormat::Heidenhain},
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

struct Program {
    fs::path file;
    ProgramFormat format;
};

// The differences of one program's round trip; empty when the tool paths agree.
std::string roundTrip(const Route& route, const Program& program) {
    std::string error;
    const auto file = post::readConverterFile((kConverters / route.converter).c_str(), &error);
    if (!file) return route.converter + (": " + error);
    ConvertOptions options;
    options.longhandCycles = !route.native;
    for (const post::CyclePattern& pattern : file->cycles) {
        auto& cycle = options.supportedCycles.emplace_back();
        std::copy(pattern.fields.begin(), pattern.fields.end(), cycle.begin());
    }
    const std::string text = readFile(program.file.string());
    std::string nci;
    if (!convertToNci(text, program.format, options, nci).ok) return {};  // failures: other tests
    if ((!route.native || !kLargeOnNativeRoutes) && nci.size() > kLargeNci) return {};
    const std::string code = post::postProcessText(nci, post::settingsFrom(*file));
    const MovePath expected = toolPathOf(text, program.format);
    const MovePath back = toolPathOf(code, route.target);
    const PathComparison c = comparePaths(expected, back, kTolerance);
    std::string report;
    for (const PathDifference& d : c.differences)
        report += "move " + std::to_string(d.move) + ", lines " + std::to_string(d.firstLine) +
                  " and " + std::to_string(d.secondLine) + ": " + d.what + "\n";
    // Only the moves the output adds count: an expanded cycle may itself rapid down sideways.
    if (expected.firstUnsafeMove().empty() && !back.firstUnsafeMove().empty())
        report += "the output makes " + back.firstUnsafeMove() + "\n";
    if (report.empty()) return {};
    return std::to_string(c.count) + " differences\n" + report + "--- NC code written (start):\n" +
           code.substr(0, 2000);
}

// The programs under `dir` whose format is known (`format`, or recognised from each file).
std::vector<Program> programsUnder(const fs::path& dir, std::optional<ProgramFormat> format) {
    std::vector<Program> programs;
    if (!fs::is_directory(dir)) return programs;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (!entry.is_regular_file()) continue;
        // A golden program with budgets of its own is about a bound, not a tool path; the
        // exact half of a correction's golden pair is the path the correction says is wrong.
        fs::path limits = entry.path(), corrected = entry.path();
        if (fs::exists(limits.replace_extension(".limits")) ||
            fs::exists(corrected.replace_extension(".corrected.nci")))
            continue;
        const std::string ext = entry.path().extension().string();
        if (ext == ".nci" || ext == ".diag" || ext == ".limits" || ext == ".cycles" || ext == ".md")
            continue;
        const std::string name = entry.path().filename().string();
        const auto known = format ? format : detectFormat(name, readFile(entry.path().string()));
        if (known && *known != ProgramFormat::Nci) programs.push_back({entry.path(), *known});
    }
    std::sort(programs.begin(), programs.end(),
              [](const Program& a, const Program& b) { return a.file < b.file; });
    return programs;
}

// The round trips that still differ, by route and program (tests/tools/round_trip_differences.txt).
bool knownToDiffer(const Route& route, const fs::path& file) {
    static const std::vector<TableRow> rows = readTable("tools/round_trip_differences.txt");
    const std::string program = file.lexically_relative(MORVANE_SOURCE_DIR).string();
    return std::any_of(rows.begin(), rows.end(), [&](const TableRow& row) {
        return row.at(0) == route.name && row.at(1) == program;
    });
}

void runRoute(const Route& route, const std::vector<Program>& programs) {
    for (const Program& program : programs) {
        const std::string difference = roundTrip(route, program);
        if (knownToDiffer(route, program.file))
            EXPECT_FALSE(difference.empty())
                << route.name << ", " << program.file.string()
                << " comes back the same now: remove its row from round_trip_differences.txt";
        else
            EXPECT_TRUE(difference.empty()) << route.name << ", " << program.file.string() << ":\n"
                                            << difference;
    }
}

class RoundTrip : public testing::TestWithParam<Route> {};

TEST_P(RoundTrip, ExamplesAndGoldenPrograms) {
    const fs::path source(MORVANE_SOURCE_DIR);
    std::vector<Program> programs = programsUnder(source / "examples", std::nullopt);
    for (const auto& folder : fs::directory_iterator(source / "tests" / "golden")) {
        const auto format = formatNamed(folder.path().filename().string());
        if (!format) continue;
        const auto golden = programsUnder(folder.path(), format);
        programs.insert(programs.end(), golden.begin(), golden.end());
    }
    ASSERT_GT(programs.size(), 5u);
    runRoute(GetParam(), programs);
}

TEST_P(RoundTrip, Corpus) {
    const fs::path corpus(MORVANE_CORPUS_DIR);
    if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
    const auto programs = programsUnder(corpus, std::nullopt);
    ASSERT_EQ(programs.size(), 77u);
    runRoute(GetParam(), programs);
}

INSTANTIATE_TEST_SUITE_P(Routes, RoundTrip, testing::ValuesIn(kRoutes),
                         [](const testing::TestParamInfo<Route>& route) {
                             return route.param.name;
                         });

}  // namespace
}  // namespace morvane::test
