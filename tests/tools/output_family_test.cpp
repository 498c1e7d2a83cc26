// The two output families on NCI programs written by hand. Each tests/tools/data/<family>/*.case
// file holds a converter, the NCI records and the NC code worked out from the rules in
// docs/converters.md. Arcs written with R (and Heidenhain CR) are also read back with Morvane's
// own readers, which must find the centres of the NCI again in every plane.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "post_fixture.h"
#include "post_session.h"
#include "support/memory_program.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

const fs::path kCases(POST_CASES_DIR);

std::vector<fs::path> caseFiles() {
    std::vector<fs::path> files;
    for (const char* family : {"iso", "heidenhain"})
        for (const auto& entry : fs::directory_iterator(kCases / family))
            if (entry.path().extension() == ".case") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

class OutputFamily : public testing::TestWithParam<fs::path> {};

TEST_P(OutputFamily, WritesTheWorkedOutCode) {
    const PostCase c = loadCase(GetParam());
    EXPECT_EQ(post::postProcessText(c.nci, converter(c.converter)), c.code);
}

// "iso_every_other_record": the family's folder and the file's name.
std::string caseName(const testing::TestParamInfo<fs::path>& param) {
    return param.param.parent_path().filename().string() + "_" + param.param.stem().string();
}

INSTANTIATE_TEST_SUITE_P(Cases, OutputFamily, testing::ValuesIn(caseFiles()), caseName);

TEST(IsoOutput, PeckCycleSettingChoosesG73) {
    const PostCase c = loadCase(kCases / "iso" / "native_cycles_of_the_iso_writer.case");
    std::string chipBreaking = c.code;
    chipBreaking.replace(chipBreaking.find("G83"), 3, "G73");
    const std::string converterText = c.converter + "[format]\npeck-cycle = G73\n";
    EXPECT_EQ(post::postProcessText(c.nci, converter(converterText)), chipBreaking);
}

constexpr std::string_view kIsoRadius =
    "[converter]\n[program-start]\nline = %\n[program-end]\nline = M30\n[format]\narcs = r\n";
constexpr std::string_view kHeidenhainRadius =
    "[converter]\noutput = heidenhain\n[format]\narcs = r\n";

TEST(IsoOutput, RadiusArcsReadBackAboutTheirCentresInEveryPlane) {
    // Short and long arcs both ways in XY, XZ and YZ.
    const std::string nci = nciOf({
        kIsoHeader,
        {"0", "0 10 0 0 -2 0"},
        {"3", "0 0 0 10 0 0 0 100 0 0"},  // XY 90 degrees counter-clockwise
        {"3", "0 0 -10 0 0 0 0 -1 0 0"},  // 90 more
        {"2", "0 0 0 -10 0 0 0 -1 0 0"},  // 270 degrees clockwise from -10 0
        {"0", "0 0 0 0 -2 0"},
        {"3", "2 0 10 10 0 10 0 -1 0 0"},   // XZ from X0 Z0 to X10 Z10 round X0 Z10: 90
        {"2", "2 0 0 20 0 10 0 -1 0 0"},    // on to X0 Z20 clockwise: 270
        {"3", "2 0 -10 10 0 10 0 -1 0 0"},  // to X-10 Z10: 90
        {"0", "0 0 0 0 -2 0"},
        {"2", "1 0 10 10 0 10 0 -1 0 0"},   // YZ from Y0 Z0 to Y10 Z10 round Y0 Z10: 270
        {"3", "1 0 0 20 0 10 0 -1 0 0"},    // to Y0 Z20: 90
        {"2", "1 0 -10 10 0 10 0 -1 0 0"},  // to Y-10 Z10 clockwise: 270
        {"1003", "0 0 0"},
    });
    const std::string code = post::postProcessText(nci, converter(kIsoRadius));
    EXPECT_EQ(code.find(" I"), std::string::npos) << code;
    const PathComparison c = comparePaths(toolPathOf(nci, ProgramFormat::Nci),
                                          toolPathOf(code, ProgramFormat::Fanuc), 0.001);
    EXPECT_EQ(c.count, 0u) << (c.count > 0 ? c.differences[0].what : "") << "\n" << code;
}

TEST(HeidenhainOutput, RadiusAndPolarCirclesReadBackAboutTheirCentres) {
    const std::string nci = nciOf({
        {"0", "0 10 0 0 -2 0"},
        {"3", "0 0 0 10 0 0 0 100 0 0"},  // 90
        {"3", "0 0 -10 0 0 0 0 -1 0 0"},  // 90
        {"2", "0 0 0 -10 0 0 0 -1 0 0"},  // 270 clockwise
        {"3", "0 0 10 0 0 0 0 -1 0 0"},   // 90
        {"2", "0 0 0 -10 0 0 0 -1 0 0"},  // 90 clockwise
        {"3", "0 0 0 10 0 0 -3 -1 0 0"},  // helix, 180
        {"3", "0 0 0 10 0 0 -4 -1 0 1"},  // helix, a full turn
    });
    const std::string code = post::postProcessText(nci, converter(kHeidenhainRadius));
    const PathComparison c = comparePaths(toolPathOf(nci, ProgramFormat::Nci),
                                          toolPathOf(code, ProgramFormat::Heidenhain), 0.001);
    EXPECT_EQ(c.count, 0u) << (c.count > 0 ? c.differences[0].what : "") << "\n" << code;
}

}  // namespace
}  // namespace morvane::test
