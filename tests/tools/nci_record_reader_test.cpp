// The NCI record reader: every record of the catalogue read by its layout, records it cannot
// read reported with the reason (never a failure of the reader), and lines read from files of
// any size in fixed chunks.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "line_reader.h"
#include "nci_record_reader.h"
#include "support/table_file.h"

namespace morvane::post {
namespace {

std::vector<NciRecord> readAll(std::string_view text) {
    LineReader lines(text);
    NciRecordReader reader(lines);
    std::vector<NciRecord> records;
    NciRecord record;
    while (reader.next(record)) {
        records.push_back(record);
        records.back().text = {};  // the text is valid only until the next record
    }
    return records;
}

NciRecord readOne(std::string_view text) {
    LineReader lines(text);
    NciRecordReader reader(lines);
    NciRecord record;
    EXPECT_TRUE(reader.next(record)) << text;
    return record;
}

// The table tools/nci_records.txt.
TEST(NciRecordReader, RecordTable) {
    const std::map<std::string, RecordProblem> problems = {
        {"None", RecordProblem::None},
        {"BadCodeLine", RecordProblem::BadCodeLine},
        {"UnknownCode", RecordProblem::UnknownCode},
        {"FieldCount", RecordProblem::FieldCount},
        {"BadNumber", RecordProblem::BadNumber},
        {"OutOfRange", RecordProblem::OutOfRange}};
    for (const test::TableRow& row : test::readTable("tools/nci_records.txt")) {
        const std::string text = test::unescaped(row.at(1));
        LineReader lines(text);
        NciRecordReader reader(lines);
        NciRecord r;
        ASSERT_TRUE(reader.next(r)) << row.where;
        if (row.at(0) == "problem") {
            ASSERT_EQ(problems.count(row.at(2)), 1u) << row.where << ": no problem " << row.at(2);
            EXPECT_EQ(r.problem, problems.at(row.at(2))) << row.where;
            EXPECT_EQ(std::to_string(r.badField), row.at(3)) << row.where;
            continue;
        }
        EXPECT_EQ(r.problem, RecordProblem::None) << row.where;
        if (row.at(0) == "text") {
            EXPECT_EQ(r.text, row.at(2)) << row.where;
            continue;
        }
        ASSERT_NE(r.kind, nullptr) << row.where;
        EXPECT_EQ(r.kind->name, row.at(2)) << row.where;
        EXPECT_EQ(std::to_string(r.fieldCount), row.at(3)) << row.where;
        EXPECT_EQ(r.field(std::stoul(row.at(4))), std::stod(row.at(5))) << row.where;
        EXPECT_EQ(r.line, 1u) << row.where;
    }
}

TEST(NciRecordReader, ReadsNumbersInTheCLocaleWhateverTheProcessSays) {
    // A comma locale would read "10,5"; the reader reads "10.5" and nothing else.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous != nullptr ? previous : "C";
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
    const NciRecord r = readOne("1\n0 10.5 +2 1e-05 100 0\n");
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_EQ(r.problem, RecordProblem::None);
    EXPECT_EQ(r.field(1), 10.5);
    EXPECT_EQ(r.field(2), 2.0);
    EXPECT_EQ(r.field(3), 1e-05);
}

TEST(NciRecordReader, FindsTheRecordsAgainAfterADamagedLine) {
    // Line numbers: a blank line where a code is expected and a code line that is not a number
    // stand alone, and the next line is read as a code line again.
    const std::string text =
        "1050\n0 0 0 0 0 0 0 0 1\n"  // lines 1, 2
        "\n"                         // 3
        "garbage here\n"             // 4
        "0 0 0\n"                    // 5: a parameter line where a code belongs
        "0\n0 1 2 3 -2 0\n"          // 6, 7
        "1003\r\n0 0 0\r\n";         // 8, 9
    const std::vector<NciRecord> records = readAll(text);
    ASSERT_EQ(records.size(), 6u);
    EXPECT_EQ(records[0].code, 1050);
    EXPECT_EQ(records[1].problem, RecordProblem::BlankLine);
    EXPECT_EQ(records[1].line, 3u);
    EXPECT_EQ(records[2].problem, RecordProblem::BadCodeLine);
    EXPECT_EQ(records[2].line, 4u);
    EXPECT_EQ(records[3].problem, RecordProblem::BadCodeLine);
    EXPECT_EQ(records[3].line, 5u);
    EXPECT_EQ(records[4].code, 0);
    EXPECT_EQ(records[4].line, 6u);
    EXPECT_EQ(records[4].field(3), 3.0);
    EXPECT_EQ(records[5].code, 1003);
    EXPECT_EQ(records[5].problem, RecordProblem::None);
}

// A temporary file holding `text`, removed at the end of the test.
class TextFile {
  public:
    explicit TextFile(const std::string& text) : file_(std::tmpfile(), &std::fclose) {
        std::fwrite(text.data(), 1, text.size(), file_.get());
        std::rewind(file_.get());
    }
    std::FILE* get() const { return file_.get(); }

  private:
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file_;
};

TEST(LineReader, ReadsAFileAcrossItsChunksAndCutsOverlongLines) {
    // Lines of growing length so that line ends fall at every offset of the 64 KiB chunks, a
    // line far longer than a chunk, and a last line without a line feed.
    std::string text;
    std::vector<std::string> expected;
    for (std::size_t n = 0; n < 700; ++n) {
        std::string line(n % 300, static_cast<char>('a' + n % 26));
        expected.push_back(line);
        text += line + (n % 3 == 0 ? "\r\n" : "\n");
    }
    const std::string huge(200000, 'h');
    text += huge + "\n";
    text += "last";
    TextFile file(text);
    LineReader lines(file.get());
    std::string_view line;
    bool cut = false;
    for (std::size_t n = 0; n < expected.size(); ++n) {
        ASSERT_TRUE(lines.next(line, cut)) << n;
        EXPECT_EQ(line, expected[n]) << n;
        EXPECT_FALSE(cut);
    }
    ASSERT_TRUE(lines.next(line, cut));
    EXPECT_TRUE(cut);
    EXPECT_EQ(line, huge.substr(0, LineReader::kMaxLineLength));
    ASSERT_TRUE(lines.next(line, cut));
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(cut);
    EXPECT_EQ(lines.lineNumber(), expected.size() + 2);
    EXPECT_FALSE(lines.next(line, cut));
    EXPECT_FALSE(lines.failed());
}

TEST(LineReader, AnOverlongRecordLineIsNamed) {
    const std::string text = "1005\n" + std::string(5000, 'c') + "\n1003\n0 0 0\n" +
                             std::string(5000, '1') + "\n0 0 0\n";
    TextFile file(text);
    LineReader lines(file.get());
    NciRecordReader reader(lines);
    NciRecord r;
    ASSERT_TRUE(reader.next(r));
    EXPECT_EQ(r.problem, RecordProblem::LineTooLong);
    ASSERT_TRUE(reader.next(r));
    EXPECT_EQ(r.code, 1003);
    ASSERT_TRUE(reader.next(r));
    EXPECT_EQ(r.problem, RecordProblem::LineTooLong);
    EXPECT_FALSE(r.codeRead);
}

TEST(LineReader, NoFileMeansNoLines) {
    LineReader lines(static_cast<std::FILE*>(nullptr));
    std::string_view line;
    bool cut = false;
    EXPECT_FALSE(lines.next(line, cut));
}

}  // namespace
}  // namespace morvane::post
