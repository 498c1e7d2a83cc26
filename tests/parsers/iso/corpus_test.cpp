// Real ISO programs written by others, converted in every ISO dialect: the conversion must end
// (no crash, no hang, no sanitizer report) and leave a well-formed NCI file: header first,
// trailer last, records of a numeric code line and a parameter line. A cycle parameter that the
// cycle expansion rejects may end a conversion early, without the trailer.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cycles/cycle_errors.h"
#include "parsers/program_parser.h"
#include "support/memory_program.h"

namespace morvane::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kIsoFolders[] = {"fanuc", "sinumerik", "other"};
constexpr std::pair<const char*, int> kIsoFormats[] = {
    {"Fanuc", 0}, {"Siemens", 2}, {"Sinumerik", 3}, {"G&L Numeripath", 4}};

// Converts `text` as the conversion driver does, which lets a rejected cycle parameter end the
// conversion; `rejected` tells whether that happened.
std::string convert(int format, const std::string& text, bool& rejected) {
    MemoryProgram source(text);
    const std::string path = ::testing::TempDir() + "iso_corpus.nci";
    rejected = false;
    try {
        makeParser(format, source.source(), path, {})->run();
    } catch (const CycleWrongValue&) {
        rejected = true;
    } catch (const CycleWrongCode&) {
        rejected = true;
    }
    std::string nci = readFile(path);
    std::remove(path.c_str());
    return nci;
}

// Empty when `nci` is well formed, else what is wrong with it.
std::string checkRecords(const std::string& nci, bool rejected) {
    const std::vector<std::string> lines = splitLines(nci);
    if (lines.size() < 2 || (!rejected && lines.size() % 2 != 0)) return "odd or too few lines";
    if (lines[0] != "1050" || lines[1] != "0 0 0 0 0 0 0 0 1") return "no header";
    if (!rejected && (lines[lines.size() - 2] != "1003" || lines.back() != "0 0 0"))
        return "no trailer";
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
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
            bool rejected = false;
            const std::string nci = convert(format, text, rejected);
            EXPECT_EQ(checkRecords(nci, rejected), "") << program.filename() << " as " << dialect;
        }
    }
}

}  // namespace
}  // namespace morvane::test
