// Golden NCI tests: every NC program under tests/golden/<dialect>/ is converted and compared
// byte for byte with the NCI file beside it (same name, extension .nci). The expected files are
// worked out by hand from the conversion rules; the comments inside each input program explain
// the case.
//
// A file <name>.cycles beside a program lists the native cycle patterns of the post-processor
// (29 integers a line, "#" starts a comment); without it every cycle is expanded (longhand).
// A file <name>.limits sets budgets of the run ("nciBytes 200", one a line) in place of the
// defaults. A file <name>.diag holds the diagnostics the conversion reports, as a host receives
// them, one a line; without it the conversion must report none. Reporting never changes the NCI.
//
// Every program is converted with the exact semantics. A program with a file
// <name>.corrected.nci is converted with the corrected semantics too, and compared with it and
// with <name>.corrected.diag: the golden pair of a correction (docs/corrections.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "support/memory_program.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
    std::string name;  // dialect/theme/file, for the test name
    fs::path program;
    int format = 0;
};

// GoogleTest names a case by its program; without this it would print the struct's bytes,
// padding included.
void PrintTo(const GoldenCase& c, std::ostream* out) {
    *out << c.name;
}

constexpr std::pair<const char*, int> kDialectDirs[] = {
    {"fanuc", 0}, {"heidenhain", 1}, {"siemens", 2}, {"sinumerik", 3}, {"numeripath", 4},
};

std::vector<GoldenCase> discoverCases() {
    std::vector<GoldenCase> cases;
    const fs::path root = fs::path(MORVANE_SOURCE_DIR) / "tests" / "golden";
    for (const auto& [dir, format] : kDialectDirs) {
        if (!fs::is_directory(root / dir)) continue;
        for (const auto& entry : fs::recursive_directory_iterator(root / dir)) {
            if (!entry.is_regular_file()) continue;
            const auto ext = entry.path().extension();
            if (ext == ".nci" || ext == ".cycles" || ext == ".md" || ext == ".limits" ||
                ext == ".diag")
                continue;
            cases.push_back({fs::relative(entry.path(), root).string(), entry.path(), format});
        }
    }
    std::sort(cases.begin(), cases.end(),
              [](const GoldenCase& a, const GoldenCase& b) { return a.name < b.name; });
    return cases;
}

SupportedCycleList readCycles(const fs::path& path) {
    SupportedCycleList cycles;
    std::istringstream text(readFile(path.string()));
    std::string line;
    while (std::getline(text, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        SupportedCycle pattern{};
        std::size_t n = 0;
        while (n < pattern.size() && fields >> pattern[n]) ++n;
        if (n == 0) continue;
        EXPECT_EQ(n, pattern.size()) << path << ": a pattern needs 29 numbers";
        cycles.push_back(pattern);
    }
    return cycles;
}

RunLimits readLimits(const fs::path& path) {
    RunLimits limits;
    if (!fs::exists(path)) return limits;
    std::istringstream text(readFile(path.string()));
    std::string name;
    std::uint64_t value = 0;
    while (text >> name >> value) {
        if (name == "nciBytes") limits.nciBytes = value;
        else if (name == "repeatedTextBytes") limits.repeatedTextBytes = value;
        else if (name == "isoRepeatedBlocks") limits.isoRepeatedBlocks = value;
        else if (name == "enrolledLines") limits.enrolledLines = value;
        else ADD_FAILURE() << path << ": no budget " << name;
    }
    return limits;
}

// `program` with `extension` in place of its own.
fs::path beside(const fs::path& program, const char* extension) {
    fs::path path = program;
    return path.replace_extension(extension);
}

// Names the first line where the texts differ, with both versions of it.
std::string firstDifference(const std::string& expected, const std::string& actual) {
    const auto want = splitLines(expected);
    const auto got = splitLines(actual);
    for (std::size_t i = 0; i < std::max(want.size(), got.size()); ++i) {
        const std::string w = i < want.size() ? want[i] : "<end of file>";
        const std::string g = i < got.size() ? got[i] : "<end of file>";
        if (w != g)
            return "line " + std::to_string(i + 1) + ":\n  expected: [" + w + "]\n  actual:   [" + g + "]";
    }
    return "the texts differ only in their line ends";
}

class Golden : public testing::TestWithParam<GoldenCase> {};

// Converts `c` with `semantics` and compares the NCI and the diagnostics with the files
// `expected` and `expectedDiagnostics` (absent: no diagnostic).
void expectConversion(const GoldenCase& c, Semantics semantics, const fs::path& expectedPath,
                      const fs::path& diagnosticsPath) {
    const fs::path cyclesPath = beside(c.program, ".cycles");
    const SupportedCycleList cycles =
        fs::exists(cyclesPath) ? readCycles(cyclesPath) : SupportedCycleList{};
    const RunLimits limits = readLimits(beside(c.program, ".limits"));
    const std::string program = readFile(c.program.string());
    const std::string expected = readFile(expectedPath.string());

    Diagnostics silent(false, semantics);
    const std::string actual = convertToNci(c.format, program, cycles, limits, &silent);
    EXPECT_TRUE(actual == expected)
        << expectedPath.filename() << " differs at " << firstDifference(expected, actual);
    Diagnostics diagnostics(true, semantics);
    EXPECT_TRUE(convertToNci(c.format, program, cycles, limits, &diagnostics) == actual)
        << c.name << ": reporting changed the NCI";
    EXPECT_EQ(diagnosticLines(diagnostics), readFile(diagnosticsPath.string()))
        << diagnosticsPath.filename();
}

TEST_P(Golden, ConvertsToTheExpectedNci) {
    const GoldenCase& c = GetParam();
    const fs::path exact = beside(c.program, ".nci");
    ASSERT_TRUE(fs::exists(exact)) << "no expected output " << exact;
    expectConversion(c, Semantics::Exact, exact, beside(c.program, ".diag"));
    const fs::path corrected = beside(c.program, ".corrected.nci");
    if (fs::exists(corrected))
        expectConversion(c, Semantics::Corrected, corrected, beside(c.program, ".corrected.diag"));
}

std::string testName(const testing::TestParamInfo<GoldenCase>& info) {
    std::string name = info.param.name;
    std::replace_if(name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, Golden, testing::ValuesIn(discoverCases()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);

}  // namespace
}  // namespace morvane::test
