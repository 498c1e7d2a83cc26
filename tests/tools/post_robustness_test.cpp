// The post-processor on NCI that no writer produced: damaged, truncated, binary, absurd values,
// random records. It must write a whole program every time (start, what it could read, the
// marks of what it could not, end), with no number a control would choke on.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "nci_catalogue.h"
#include "post_fixture.h"

namespace morvane::test {
namespace {

constexpr std::string_view kFanuc = "[program-start]\nline = %\n[program-end]\nline = M30\n";
constexpr std::string_view kHeidenhain = "output = heidenhain\n";

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find('\n'); end != std::string::npos;
         end = text.find('\n', start)) {
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    EXPECT_EQ(start, text.size()) << "the output ends inside a line";
    return lines;
}

// The words of a line, without its comment (after `mark`).
std::string wordsOf(const std::string& line, char mark) {
    return line.substr(0, line.find(mark));
}

// Words hold numbers only: no "nan", no "inf", no exponent.
void expectPlainNumbers(const std::string& words) {
    EXPECT_EQ(words.find("nan"), std::string::npos) << words;
    EXPECT_EQ(words.find("inf"), std::string::npos) << words;
    EXPECT_EQ(words.find("e+"), std::string::npos) << words;
    EXPECT_EQ(words.find("e-"), std::string::npos) << words;
}

// A whole ISO program: "%" first, "M30" last, plain numbers, nothing absurdly long.
void expectWholeIsoProgram(const std::string& code, const std::string& input) {
    const std::vector<std::string> lines = linesOf(code);
    ASSERT_GE(lines.size(), 2u) << input;
    EXPECT_EQ(lines.front(), "%") << input;
    EXPECT_EQ(lines.back(), "M30") << input;
    for (const std::string& line : lines) {
        expectPlainNumbers(wordsOf(line, '('));
        EXPECT_LT(line.size(), 4200u) << input;
        EXPECT_EQ(line.find('\r'), std::string::npos) << line;
        // A comment is one pair of parentheses at the end of its line.
        const std::size_t open = line.find('(');
        if (open != std::string::npos) {
            EXPECT_EQ(line.back(), ')') << line;
            EXPECT_EQ(line.find_first_of("()", open + 1), line.size() - 1) << line;
        }
    }
}

// A whole Heidenhain program: numbered blocks from 0, Q lines inside cycle definitions only.
void expectWholeHeidenhainProgram(const std::string& code, const std::string& input) {
    const std::vector<std::string> lines = linesOf(code);
    ASSERT_GE(lines.size(), 3u) << input;
    EXPECT_EQ(lines.front().rfind("0 BEGIN PGM ", 0), 0u) << input;
    EXPECT_NE(lines.back().find(" END PGM "), std::string::npos) << input;
    long expected = 0;
    for (const std::string& line : lines) {
        if (line.rfind("  Q", 0) != 0) {
            EXPECT_EQ(line.rfind(std::to_string(expected) + " ", 0), 0u) << line;
            ++expected;
        }
        if (line.find(" PGM ") == std::string::npos) expectPlainNumbers(wordsOf(line, ';'));
    }
}

TEST(PostRobustness, DamagedInputsStillGiveWholePrograms) {
    std::string binary(3000, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i)
        binary[i] = static_cast<char>((i * 131 + 7) % 256);
    const std::string cases[] = {
        "",
        "\n\n\n",
        "1",
        "1\n0 1 2",
        "1\n0 x 2 3 4 0\n",
        "1\n0 1e308 2 3 4 0\n2\n0 0 1e300 1 0 0 0 100 0 0\n",
        "2\n7 0 1 1 0 0 0 100 0 0\n",                  // a plane code no writer uses
        "91081\n1 2\n91083\n1 2 3 4\n91080\n0 0 0\n",  // a repeat without a readable cycle
        "91083\n5 5 0 0\n0\n0 5 5 0 -2 0\n",
        "1005\n" + std::string(100000, '(') + "\n",
        "1050\n0 0 0 0 0 0 0 0 " + std::string(5000, 'N') + "\n",
        std::string("1\n0 1\0 2 3 4 0\n", 15),
        binary,
        "10181\n999999999 0 0 0 0 999999999 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0\n",
        "4\n-5 1 0\n4\n999999999 1 0\n1001\n0 0 0 -7 0 0 0 999999999 -1 0 0 0 0 0 0\n",
        "91054\n-3\n92\n-999999999\n1020\n1e9 1e9 1e9 -1e9 -1e9 -1e9 8 0 0 0 0 0 0 0\n",
    };
    for (const std::string& nci : cases) {
        expectWholeIsoProgram(postWith(kFanuc, nci), nci.substr(0, 60));
        expectWholeHeidenhainProgram(postWith(kHeidenhain, nci), nci.substr(0, 60));
    }
}

TEST(PostRobustness, UnreadableRecordsAreMarkedInTheOutput) {
    const std::string nci = "0\n0 1 2 3 -2 0\n1\n0 x 2 3 4 0\n1\n";
    const std::string code = postWith(kFanuc, nci);
    EXPECT_EQ(code,
              "%\n"
              "G0 X1. Y2. Z3.\n"
              "(NCI line 3: record 1 skipped, a field is not a number [field 2])\n"
              "(NCI line 5: record 1 skipped, the parameter line is missing)\n"
              "M30\n");
}

// Random programs built from real record codes, plausible and absurd numbers, and noise.
std::string randomNci(std::mt19937& random) {
    static const char* const kNumbers[] = {
        "0",    "1", "-1", "2",     "3",   "10.5", "-0", "0.0004", "1e-9", "1e5", "99999", "1e9",
        "-2e9", "x", "",   "1.5.5", "nan", "42",   "41", "40",     "200",  "-2",  "0.001", "7"};
    std::uniform_int_distribution<std::size_t> pickKind(0, std::size(post::kRecordCatalogue) + 2);
    std::uniform_int_distribution<std::size_t> pickNumber(0, std::size(kNumbers) - 1);
    std::uniform_int_distribution<int> count(0, 32);
    std::uniform_int_distribution<int> records(1, 40);
    std::string text;
    const int n = records(random);
    for (int r = 0; r < n; ++r) {
        const std::size_t k = pickKind(random);
        if (k < std::size(post::kRecordCatalogue)) {
            const post::RecordKind& kind = post::kRecordCatalogue[k];
            text += std::to_string(kind.code) + "\n";
            // Mostly the right number of fields, now and then any number.
            const int fields = random() % 4 == 0 ? count(random) : kind.fieldsB;
            for (int f = 0; f < fields; ++f)
                text += std::string(f == 0 ? "" : " ") + kNumbers[pickNumber(random)];
            text += "\n";
        } else if (k == std::size(post::kRecordCatalogue)) {
            text += "junk " + std::to_string(random()) + "\n";
        } else {
            text += "\n";
        }
    }
    return text;
}

TEST(PostRobustness, RandomProgramsNeverBreakTheOutput) {
    std::mt19937 random(20240613);
    for (int i = 0; i < 3000; ++i) {
        const std::string nci = randomNci(random);
        expectWholeIsoProgram(postWith(kFanuc, nci), nci);
        expectWholeHeidenhainProgram(postWith(kHeidenhain, nci), nci);
        if (HasFailure()) break;
    }
}

}  // namespace
}  // namespace morvane::test
