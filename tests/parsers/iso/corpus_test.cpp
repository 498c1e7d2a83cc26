// Real ISO programs written by others, converted in every ISO dialect: the conversion must end
// (no crash, no hang, no sanitizer report) and leave a well-formed NCI file: header first,
// trailer last, records of a numeric code line and a parameter line.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <string>
#include <vector>

#include "support/memory_program.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kIsoFolders[] = {"fanuc", "sinumerik", "other"};
constexpr std::pair<const char*, int> kIsoFormats[] = {
    {"Fanuc", 0}, {"Siemens", 2}, {"Sinumerik", 3}, {"G&L Numeripath", 4}};

// Empty when `nci` is well formed, else what is wrong with it.
std::string checkRecords(const std::string& nci) {
    const std::vector<std::string> lines = splitLines(nci);
    if (lines.size() < 4 || lines.size() % 2 != 0) return "odd or too few lines";
    if (lines[0] != "1050" || lines[1] != "0 0 0 0 0 0 0 0 1") return "no header";
    if (lines[lines.size() - 2] != "1003" || lines.back() != "0 0 0") return "no trailer";
    for (std::size_t i = 0; i < lines.size(); i += 2) {
        const std::string& code = lines[i];
        int value = 0;
        const auto [end, ec] = std::from_chars(code.data(), code.data() + code.size(), value);
        if (ec != std::errc{} || end != code.data() + code.size())
            return "line " + std::to_string(i + 1) + " is not a record code: [" + code + "]";
    }
    return {};
}

std::vector<fs::path> corpusPrograms() {
    std::vector<fs::path> programs;
    for (const char* folder : kIsoFolders) {
        const fs::path dir = fs::path(MORVANE_CORPUS_DIR) / folder;
        if (!fs::is_directory(dir)) continue;
        for (const auto& entry : fs::directory_iterator(dir))
            if (entry.is_regular_file()) programs.push_back(entry.path());
    }
    std::sort(programs.begin(), programs.end());
    return programs;
}

TEST(IsoCorpus, EveryProgramConvertsInEveryIsoDialect) {
    const std::vector<fs::path> programs = corpusPrograms();
    if (programs.empty()) GTEST_SKIP() << "no corpus at " << MORVANE_CORPUS_DIR;
    for (const fs::path& program : programs) {
        const std::string text = readFile(program.string());
        for (const auto& [dialect, format] : kIsoFormats) {
            const std::string nci = convertToNci(format, text);
            EXPECT_EQ(checkRecords(nci), "") << program.filename() << " as " << dialect;
        }
    }
}

}  // namespace
}  // namespace morvane::test
