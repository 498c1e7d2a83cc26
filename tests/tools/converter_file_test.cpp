// Converter files and the post-processor stand-ins: the parser of the format, the shipped
// converters against the writers' cycle masks, and the reader library's two entry points.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "converter_file.h"
#include "morvane/post_api.h"
#include "post_settings.h"
#include "support/table_file.h"

namespace morvane::post {
namespace {

namespace fs = std::filesystem;

const std::string kConverters = std::string(MORVANE_SOURCE_DIR) + "/post/Converters/";

TEST(ConverterFile, ReadsSectionsSettingsAndPatterns) {
    const auto file = parseConverterText(
        "# comment\r\n"
        "\n"
        "[converter]\r\n"
        "  name =  Fanuc mill \n"
        "empty=\n"
        "[format]\n"
        "decimals = 3\n"
        "decimals = 4\n"
        "[cycles]\n"
        "  # patterns\n"
        "G81 = 1 1 1 1 1 1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1\n"
        "200=2\t2 2 2 2 2 7 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 2 1");
    ASSERT_TRUE(file.has_value());
    ASSERT_NE(file->find("converter", "name"), nullptr);
    EXPECT_EQ(*file->find("converter", "name"), "Fanuc mill");
    EXPECT_EQ(*file->find("converter", "empty"), "");
    EXPECT_EQ(*file->find("format", "decimals"), "4");
    EXPECT_EQ(file->find("format", "name"), nullptr);
    ASSERT_EQ(file->cycles.size(), 2u);
    EXPECT_EQ(file->cycles[0].name, "G81");
    EXPECT_EQ(file->cycles[0].fields[6], 0);
    EXPECT_EQ(file->cycles[0].fields[28], 1);
    EXPECT_EQ(file->cycles[1].name, "200");
    EXPECT_EQ(file->cycles[1].fields[6], 7);
    EXPECT_EQ(file->cycles[1].fields[0], 2);
}

TEST(ConverterFile, RejectsWhatIsNotAConverterFileAndSaysWhere) {
    const std::string ones = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";
    std::string tooMany = "[converter]\n[cycles]\n";
    for (std::size_t i = 0; i <= kMaxCyclePatterns; ++i)
        tooMany += "c = " + ones + "\n";
    std::string error;
    EXPECT_FALSE(parseConverterText(tooMany, &error).has_value());
    EXPECT_EQ(error, "line 259: too many cycle patterns");
    for (const test::TableRow& row : test::readTable("tools/converter_errors.txt")) {
        EXPECT_FALSE(parseConverterText(test::unescaped(row.at(0)), &error).has_value())
            << row.where;
        EXPECT_EQ(error, row.at(1)) << row.where;
    }
    // The same keys in a section where they mean nothing are kept and ignored.
    EXPECT_TRUE(parseConverterText("[converter]\n[other]\ndecimals = many\n").has_value());
}

TEST(PostSettings, DefaultsPerFamilyAndTheLineSections) {
    // The output cases (tests/tools/data) show the format keys through the code they write.
    const auto bare = parseConverterText("[converter]\n");
    ASSERT_TRUE(bare.has_value());
    const PostSettings iso = settingsFrom(*bare);
    EXPECT_EQ(iso.family, OutputFamily::Iso);
    EXPECT_EQ(iso.decimals, 3);
    EXPECT_EQ(iso.programStart, (std::vector<std::string>{"%"}));
    EXPECT_EQ(iso.programEnd, (std::vector<std::string>{"M30", "%"}));
    EXPECT_EQ(iso.referenceReturn, (std::vector<std::string>{"G91 G28 {axes}", "G90"}));

    const auto heidenhainFile = parseConverterText("[converter]\noutput = heidenhain\n");
    ASSERT_TRUE(heidenhainFile.has_value());
    const PostSettings heidenhain = settingsFrom(*heidenhainFile);
    EXPECT_EQ(heidenhain.family, OutputFamily::Heidenhain);
    EXPECT_TRUE(heidenhain.programStart.empty());
    EXPECT_EQ(heidenhain.programEnd, (std::vector<std::string>{"L M30"}));
    EXPECT_EQ(heidenhain.referenceReturn, (std::vector<std::string>{"L {axes} R0 FMAX M91"}));

    // Every line of a section in order, an empty one included; an empty section means none.
    const auto full = parseConverterText(
        "[converter]\n[format]\nangle-decimals = 2\n[program-start]\nline = %\n"
        "line = O7 ({name})\nline =\n[program-end]\n[reference-return]\nline = G28 G91 Z0\n");
    ASSERT_TRUE(full.has_value());
    const PostSettings s = settingsFrom(*full);
    EXPECT_EQ(s.angleDecimals, 2);
    EXPECT_EQ(s.programStart, (std::vector<std::string>{"%", "O7 ({name})", ""}));
    EXPECT_TRUE(s.programEnd.empty());
    EXPECT_EQ(s.referenceReturn, (std::vector<std::string>{"G28 G91 Z0"}));
}

// The writers' requirement masks of the cycles a converter may want natively, one digit a
// field. A pattern field of 2 matches anything.
struct Mask {
    const char* cycle;
    std::string_view fields;
};
constexpr Mask kMasks[] = {
    {"73", "11111101100001000000000000001"},  {"74", "11111101101000000000100000001"},
    {"76", "11111101101000000000010000001"},  {"81", "11111101100000000000000000001"},
    {"82", "11111171101000000000000000001"},  {"83", "11111101100001000000000000001"},
    {"200", "11111111101101000000000000001"}, {"201", "11111111111000000000000000001"},
    {"203", "11111111111110110111000000001"}, {"206", "11111111101000000000100000001"},
    {"207", "11111111100000000000100000001"}, {"209", "11111111100000000110100100001"},
};

std::vector<std::string> nativeCycles(const ConverterFile& file) {
    std::vector<std::string> cycles;
    for (const Mask& mask : kMasks) {
        for (const CyclePattern& pattern : file.cycles) {
            bool match = true;
            for (std::size_t i = 0; i < kPatternFields; ++i)
                match =
                    match && (pattern.fields[i] == 2 || pattern.fields[i] == mask.fields[i] - '0');
            if (match) {
                cycles.emplace_back(mask.cycle);
                break;
            }
        }
    }
    return cycles;
}

TEST(ShippedConverters, DeclareExactlyTheCyclesTheirOutputWrites) {
    struct Case {
        const char* file;
        std::vector<std::string> cycles;
        OutputFamily family;
    };
    // Fanuc writes every ISO drill cycle and turns Heidenhain 200 into G81..G83; Heidenhain
    // writes 200/203 and turns G81, G82 and G73/G83 into cycle 200 (no G74, G76 there).
    const Case cases[] = {
        {"Fanuc-longhand.conv", {}, OutputFamily::Iso},
        {"Fanuc.conv", {"73", "74", "76", "81", "82", "83", "200"}, OutputFamily::Iso},
        {"Heidenhain.conv", {"73", "81", "82", "83", "200", "203"}, OutputFamily::Heidenhain},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto file = readConverterFile((kConverters + c.file).c_str(), &error);
        ASSERT_TRUE(file.has_value()) << c.file << ": " << error;
        EXPECT_EQ(nativeCycles(*file), c.cycles) << c.file;
        EXPECT_EQ(settingsFrom(*file).family, c.family) << c.file;
    }
}

class ReaderLibrary : public testing::Test {
  protected:
    void SetUp() override {
        library = ::dlopen(READER_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << ::dlerror();
        getSupportedCycles =
            reinterpret_cast<GetSupportedCyclesFn>(::dlsym(library, "GetSupportedCycles"));
        nciConverter = reinterpret_cast<NCIConverterFn>(::dlsym(library, "NCIConverter"));
        ASSERT_NE(getSupportedCycles, nullptr);
        ASSERT_NE(nciConverter, nullptr);
        scratch = fs::temp_directory_path() / ("morvane-reader-" + std::to_string(::getpid()));
        fs::create_directories(scratch);
    }
    void TearDown() override { fs::remove_all(scratch); }

    std::string write(const std::string& name, const std::string& text) {
        const fs::path path = scratch / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }

    // The patterns answered for `converter`, or -1 patterns for a null table.
    int patternCount(const char* converter) {
        PostCycleRecord* table = nullptr;
        std::int32_t* count = nullptr;
        getSupportedCycles(converter, POST_LIBRARY, &table, &count);
        if (table == nullptr) return -1;
        return count != nullptr ? *count : -2;
    }

    void* library = nullptr;
    GetSupportedCyclesFn getSupportedCycles = nullptr;
    NCIConverterFn nciConverter = nullptr;
    fs::path scratch;
};

TEST_F(ReaderLibrary, AnswersPatternsOrANullTable) {
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>(i * 7);
    std::string enormous = "[converter]\n";
    enormous += std::string(kMaxConverterFileSize, '#');
    const std::pair<std::string, int> cases[] = {
        {kConverters + "Fanuc.conv", 6},
        {kConverters + "Heidenhain.conv", 5},
        {kConverters + "Fanuc-longhand.conv", 0},
        {write("empty.conv", ""), -1},
        {write("binary.conv", binary), -1},
        {write("enormous.conv", enormous), -1},
        {write("justfits.conv", "[converter]\n" + std::string(kMaxConverterFileSize - 12, '#')), 0},
        {(scratch / "missing.conv").string(), -1},
        {scratch.string(), -1},  // a directory
        {"", -1},
    };
    for (const auto& [path, patterns] : cases)
        EXPECT_EQ(patternCount(path.c_str()), patterns) << path;
    EXPECT_EQ(patternCount(nullptr), -1);

    // The record layout: first field, 27 values, last field.
    PostCycleRecord* table = nullptr;
    std::int32_t* count = nullptr;
    getSupportedCycles((kConverters + "Fanuc.conv").c_str(), POST_LIBRARY, &table, &count);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[1].first, 1);
    EXPECT_EQ(table[1].values[5], 7.0);  // G82's dwell field, pattern position 6
    EXPECT_EQ(table[1].second, 1);
    // Null places for the answers are not written through.
    EXPECT_EQ(getSupportedCycles((kConverters + "Fanuc.conv").c_str(), nullptr, nullptr, nullptr),
              1);
}

TEST_F(ReaderLibrary, ConvertsThroughThePostLibrary) {
    // A blank line between records is skipped; the ISO run's header names no program.
    const std::string nci = write("program.nci", "1050\n0 0 0 0 0 0 0 0 1\n\n1003\n0 0 0\n");
    const std::string fanuc = kConverters + "Fanuc-longhand.conv";
    const std::string heidenhain = kConverters + "Heidenhain.conv";
    struct Case {
        const char* situation;
        std::string nci;
        std::string converter;
        std::string post;
        std::string expected;
        std::int32_t answer;
    };
    const Case cases[] = {
        {"Fanuc", nci, fanuc, POST_LIBRARY, "%\nO1000 (NCI)\nN10 G90 G17 G40 G80 G21\nM30\n%\n", 1},
        {"Heidenhain", nci, heidenhain, POST_LIBRARY,
         "0 BEGIN PGM NCI MM\n1 L M30\n2 END PGM NCI MM\n", 1},
        {"converter rejected", nci, write("bad.conv", "nonsense"), POST_LIBRARY, "", 0},
        {"a setting out of range", nci,
         write("range.conv", "[converter]\n[format]\ndecimals = 9\n"), POST_LIBRARY, "", 0},
        {"post library missing", nci, fanuc, (scratch / "none.so").string(), "", 0},
        {"post library by a bare name", nci, fanuc, "MorvanePost.so", "", 0},
        {"post without its entries", nci, fanuc, READER_LIBRARY, "", 0},
        {"NCI file missing", (scratch / "none.nci").string(), fanuc, POST_LIBRARY, "", 0},
    };
    for (const Case& c : cases) {
        const std::string result = write("result.txt", "");
        EXPECT_EQ(nciConverter(c.nci.c_str(), result.c_str(), c.converter.c_str(), c.post.c_str()),
                  c.answer)
            << c.situation;
        std::ifstream in(result, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        EXPECT_EQ(text, c.expected) << c.situation;
    }
    EXPECT_EQ(nciConverter(nullptr, nullptr, nullptr, nullptr), 0);
    // A result that cannot be written whole (/dev/full refuses every write, as a full disk does)
    // is a failure, although the program is small enough to leave only when the file is closed.
    EXPECT_EQ(nciConverter(nci.c_str(), "/dev/full", fanuc.c_str(), POST_LIBRARY), 0);
}

TEST_F(ReaderLibrary, PostProcessesAMillionRecordsWhole) {
    // Straight moves, rapid moves, comments and half circles of radius 0.125 ending 0.25
    // further along X, a million records.
    const fs::path nci = scratch / "million.nci";
    {
        std::ofstream out(nci, std::ios::binary);
        std::string chunk;
        for (int i = 0; i < 1000000; ++i) {
            const std::string x = std::to_string((i % 1000) * 0.25);
            const std::string y = std::to_string((i / 1000) * 0.5);
            const int kind = i % 20;
            if (kind == 0) chunk += "0\n0 " + x + " " + y + " 5 -2 0\n";
            if (kind == 1) chunk += "1005\npass " + std::to_string(i) + "\n";
            if (kind == 2)
                chunk += "3\n0 0 " + std::to_string((i % 1000) * 0.25 + 0.25) + " " + y + " " +
                         std::to_string((i % 1000) * 0.25 + 0.125) + " " + y + " -1 -1 0 0\n";
            if (kind > 2)
                chunk += "1\n0 " + x + " " + y + " -1 " + (kind == 3 ? "300" : "-1") + " 0\n";
            if (chunk.size() > (1 << 20)) {
                out << chunk;
                chunk.clear();
            }
        }
        out << chunk;
    }
    const std::string result = write("million.nc", "");
    EXPECT_EQ(nciConverter(nci.c_str(), result.c_str(), (kConverters + "Fanuc.conv").c_str(),
                           POST_LIBRARY),
              1);
    std::ifstream in(result, std::ios::binary);
    std::size_t lines = 0;
    std::string line;
    std::string last;
    while (std::getline(in, line)) {
        ++lines;
        last = line;
    }
    EXPECT_GT(lines, 900000u);
    EXPECT_EQ(last, "%");
}

}  // namespace
}  // namespace morvane::post
