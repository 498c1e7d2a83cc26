// Converter files and the post-processor stand-ins: the parser of the format, the shipped
// converters against the writers' cycle masks, and the reader library's two entry points.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "converter_file.h"
#include "morvane/post_api.h"

namespace morvane::post {
namespace {

namespace fs = std::filesystem;

const std::string kConverters = std::string(MORVANE_SOURCE_DIR) + "/tools/post/Converters/";

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

TEST(ConverterFile, RejectsWhatIsNotAConverterFile) {
    const std::string ones = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1";
    std::string tooMany = "[converter]\n[cycles]\n";
    for (std::size_t i = 0; i <= kMaxCyclePatterns; ++i)
        tooMany += "c = " + ones + "\n";
    const std::pair<std::string, const char*> cases[] = {
        {"", "no [converter] section"},
        {"# only a comment\n", "no [converter] section"},
        {"[format]\ndecimals = 3\n", "no [converter] section"},
        {"name = x\n[converter]\n", "line 1: a setting outside any section"},
        {"[converter]\njust words\n", "line 2: expected key = value"},
        {"[converter\n", "line 1: a section header is [name]"},
        {"[]\n", "line 1: a section header is [name]"},
        {"[converter]\n = value\n", "line 2: a key is made of letters, digits, '_', '-', '.'"},
        {"[converter]\nbad key = 1\n", "line 2: a key is made of letters, digits, '_', '-', '.'"},
        {std::string("[converter]\0\n", 13), "binary data"},
        {"[converter]\n[cycles]\nG81 = 1 1 1\n",
         "line 3: a cycle pattern is 29 numbers, each 0, 1, 2 or 7"},
        {"[converter]\n[cycles]\nG81 = " + ones + " 1\n",
         "line 3: a cycle pattern is 29 numbers, each 0, 1, 2 or 7"},
        {"[converter]\n[cycles]\nG81 = 3" + ones.substr(1) + "\n",
         "line 3: a cycle pattern is 29 numbers, each 0, 1, 2 or 7"},
        {"[converter]\n[cycles]\nG81 = -1" + ones.substr(1) + "\n",
         "line 3: a cycle pattern is 29 numbers, each 0, 1, 2 or 7"},
        {"[converter]\n[cycles]\nG81 = 1.5" + ones.substr(1) + "\n",
         "line 3: a cycle pattern is 29 numbers, each 0, 1, 2 or 7"},
        {"[converter]\n[cycles]\nG81 = 99999999999" + ones.substr(1) + "\n",
         "line 3: a cycle pattern is 29 numbers, each 0, 1, 2 or 7"},
        {tooMany, "line 259: too many cycle patterns"},
    };
    for (const auto& [text, why] : cases) {
        std::string error;
        EXPECT_FALSE(parseConverterText(text, &error).has_value()) << text.substr(0, 40);
        EXPECT_EQ(error, why) << text.substr(0, 40);
    }
}

// The writers' requirement masks of the cycles a converter may want natively. A pattern field
// of 2 matches anything.
struct Mask {
    const char* cycle;
    std::array<std::int32_t, 29> fields;
};
constexpr Mask kMasks[] = {
    {"73", {1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"74", {1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"76", {1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 1}},
    {"81", {1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"82", {1, 1, 1, 1, 1, 1, 7, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"83", {1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"200",
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"201",
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"203",
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"206",
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"207",
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 1}},
    {"209",
     {1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 0, 0, 1, 0, 0, 0, 0, 1}},
};

std::vector<std::string> nativeCycles(const ConverterFile& file) {
    std::vector<std::string> cycles;
    for (const Mask& mask : kMasks) {
        for (const CyclePattern& pattern : file.cycles) {
            bool match = true;
            for (std::size_t i = 0; i < kPatternFields; ++i)
                match = match && (pattern.fields[i] == 2 || pattern.fields[i] == mask.fields[i]);
            if (match) {
                cycles.emplace_back(mask.cycle);
                break;
            }
        }
    }
    return cycles;
}

TEST(ShippedConverters, DeclareExactlyTheirNativeCycles) {
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"Longhand.conv", {}},
        {"Fanuc.conv", {"73", "81", "82", "83", "200", "203"}},
    };
    for (const auto& [name, cycles] : cases) {
        std::string error;
        const auto file = readConverterFile((kConverters + name).c_str(), &error);
        ASSERT_TRUE(file.has_value()) << name << ": " << error;
        EXPECT_EQ(nativeCycles(*file), cycles) << name;
        ASSERT_NE(file->find("converter", "output"), nullptr) << name;
    }
}

class ReaderLibrary : public testing::Test {
  protected:
    void SetUp() override {
        library = ::dlopen(STAND_IN_READER, RTLD_NOW | RTLD_LOCAL);
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
        getSupportedCycles(converter, STAND_IN_POST, &table, &count);
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
        {kConverters + "Fanuc.conv", 5},
        {kConverters + "Longhand.conv", 0},
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
    getSupportedCycles((kConverters + "Fanuc.conv").c_str(), STAND_IN_POST, &table, &count);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table[1].first, 1);
    EXPECT_EQ(table[1].values[5], 7.0);  // G82's dwell field, pattern position 6
    EXPECT_EQ(table[1].second, 1);
    // Null places for the answers are not written through.
    EXPECT_EQ(getSupportedCycles((kConverters + "Fanuc.conv").c_str(), nullptr, nullptr, nullptr),
              1);
}

TEST_F(ReaderLibrary, ConvertsThroughThePostLibrary) {
    const std::string nci = write("program.nci", "1050\n0 0 0 0 0 0 0 0 1\n\n1003\n0 0 0\n");
    const std::string converter = kConverters + "Longhand.conv";
    struct Case {
        const char* situation;
        std::string converter;
        std::string post;
        std::string expected;
    };
    const Case cases[] = {
        {"stand-in post", converter, STAND_IN_POST, "1050\n0 0 0 0 0 0 0 0 1\n\n1003\n0 0 0\n"},
        {"converter rejected", write("bad.conv", "nonsense"), STAND_IN_POST, ""},
        {"post library missing", converter, (scratch / "none.so").string(), ""},
        {"post without its entry", converter, STAND_IN_READER, ""},
    };
    for (const Case& c : cases) {
        const std::string result = write("result.txt", "");
        nciConverter(nci.c_str(), result.c_str(), c.converter.c_str(), c.post.c_str());
        std::ifstream in(result, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        EXPECT_EQ(text, c.expected) << c.situation;
    }
    EXPECT_EQ(nciConverter(nullptr, nullptr, nullptr, nullptr), 0);
}

}  // namespace
}  // namespace morvane::post
