// Real conversational programs by others: each converts without a crash, a hang or a sanitizer
// report, and its NCI text is well formed: records of two lines, an integer code line, no
// non-number in a parameter line.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <string>
#include <vector>

#include "cycles/cycle_errors.h"
#include "support/memory_program.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusPrograms() {
    std::vector<fs::path> programs;
    const fs::path dir = fs::path(MORVANE_CORPUS_DIR) / "heidenhain";
    if (!fs::is_directory(dir)) return programs;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.is_regular_file()) programs.push_back(entry.path());
    std::sort(programs.begin(), programs.end());
    return programs;
}

bool isInteger(const std::string& line) {
    std::int64_t value = 0;
    const auto result = std::from_chars(line.data(), line.data() + line.size(), value);
    return !line.empty() && result.ec == std::errc() && result.ptr == line.data() + line.size();
}

TEST(HeidenhainCorpus, EveryProgramConvertsToWellFormedNci) {
    const std::vector<fs::path> programs = corpusPrograms();
    if (programs.empty()) GTEST_SKIP() << "no corpus at " << MORVANE_CORPUS_DIR;
    for (const fs::path& path : programs) {
        SCOPED_TRACE(path.filename().string());
        std::string nci;
        try {
            nci = convertToNci(1, readFile(path.string()));
        } catch (const CycleWrongValue&) {
            continue;  // a rejected cycle parameter ends a conversion early by design
        } catch (const CycleWrongCode&) {
            continue;
        }
        const std::vector<std::string> lines = splitLines(nci);
        EXPECT_FALSE(lines.empty());
        ASSERT_EQ(lines.size() % 2, 0u) << "records are two lines each";
        for (std::size_t i = 0; i < lines.size(); i += 2) {
            ASSERT_TRUE(isInteger(lines[i])) << "line " << i + 1 << ": " << lines[i];
            if (lines[i] == "1005") continue;  // free text
            for (const char* bad : {"nan", "inf"})
                EXPECT_EQ(lines[i + 1].find(bad), std::string::npos)
                    << "line " << i + 2 << ": " << lines[i + 1];
        }
    }
}

}  // namespace
}  // namespace morvane::test
