// The NCI record reader: every record of the catalogue read by its layout, records it cannot
// read reported with the reason (never a failure of the reader), and lines read from files of
// any size in fixed chunks.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "line_reader.h"
#include "nci_record_reader.h"

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

TEST(NciRecordReader, ReadsEveryRecordOfTheCatalogueByItsLayout) {
    struct Case {
        const char* text;
        const char* name;
        std::uint32_t fields;
        std::size_t probe;  // a field to check
        double value;
    };
    // Parameter lines as the writers lay them out.
    const Case cases[] = {
        {"0\n40 1 2 3 -2 0\n", "RapidMove", 6, 0, 40},
        {"1\n0 10.5 -3.25 -0 100 1\n", "LinearMove", 6, 2, -3.25},
        {"2\n2 0 10 0 5 0 -5 100 0 0\n", "ArcMove", 10, 6, -5},
        {"3\n0 0 0 10 0 0 -1 -1 0 1\n", "ArcMove", 10, 9, 1},
        {"4\n\n", "DwellTime", 0, 0, 0},
        {"4\n0.5 1 0\n", "DwellTime", 3, 0, 0.5},
        {"92\n3000\n", "SpindleLimit", 1, 0, 3000},
        {"96\n-200\n", "SurfaceSpeed", 1, 0, -200},
        {"999\n0 0 0\n", "OperationEnd", 3, 0, 0},
        {"1000\n0 0 0 3 10 0 0 1200 100 0 10 20 50 0 0 \n", "OperationStart", 15, 4, 10},
        {"1001\n0 0 0 5 0 0 0 2000 -1 0 0 0 0 0 0 \n", "ToolChange", 15, 7, 2000},
        {"1003\n0 0 0\n", "ProgramEnd", 3, 0, 0},
        {"1011\n0 0 0 0 0 0 0.05 0 0 0\n", "Tolerance", 10, 6, 0.05},
        {"1018\n100 0 0 0 0 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0\n", "SubprogramLabel",
         29, 0, 100},
        {"1019\n0 0 0\n", "SubprogramReturn", 3, 0, 0},
        {"1020\n100 50 20 0 0 -20 8 0 0 0 0 0 0 0 \n", "StockBlank", 14, 5, -20},
        {"10181\n7 0 0 0 0 1 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0\n", "SubprogramCall",
         31, 5, 1},
        {"91003\n0 0 0\n", "ReferenceReturn", 3, 0, 0},
        {"91011\n1 0.5 1\n", "Scaling", 3, 1, 0.5},
        {"91012\n1 0 1 0 0 0 0 0 0\n", "Mirror", 9, 2, 1},
        {"91014\n0 0 30\n", "Rotation", 3, 2, 30},
        {"91024\n2\n", "Chamfer", 1, 0, 2},
        {"91025\n1.5\n", "Rounding", 1, 0, 1.5},
        {"91054\n6\n", "DatumSelect", 1, 0, 6},
        {"91080\n0 0 0\n", "CycleEnd", 3, 0, 0},
        {"91081\n1 5 5 10 10 8 0 12 100 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 -1\n", "CycleCall",
         29, 7, 12},
        {"91081\n\n", "CycleCall", 0, 0, 0},
        {"91083\n15 5 8 8\n", "CycleCallRepeat", 4, 0, 15},
        {"9101301\n0 0 1\n", "PlaneRotation", 3, 2, 1},
        {"91251\n1 2\n", "CycleCallByNumber", 2, 1, 2},
    };
    for (const Case& c : cases) {
        const NciRecord r = readOne(c.text);
        ASSERT_NE(r.kind, nullptr) << c.text;
        EXPECT_EQ(r.problem, RecordProblem::None) << c.text;
        EXPECT_EQ(r.kind->name, c.name) << c.text;
        EXPECT_EQ(r.fieldCount, c.fields) << c.text;
        EXPECT_EQ(r.field(c.probe), c.value) << c.text;
        EXPECT_EQ(r.line, 1u);
    }
}

TEST(NciRecordReader, TextRecordsKeepTheirText) {
    const std::pair<const char*, const char*> cases[] = {
        {"1005\n second centre\n", " second centre"},
        {"1005\n\n", ""},
        {"1005\n1 2 3 (not numbers) ;\n", "1 2 3 (not numbers) ;"},
        {"1050\n0 0 0 0 0 0 0 0 DRILL\n", "DRILL"},
        {"1050\n0 0 0 0 0 0 0 0 1\n", "1"},
        {"1050\n0 0 0 0 0 0 0 0 \n", ""},
        {"1050\n0 0 0 0 0 0 0 0 SP1 1002\r\n", "SP1 1002"},
    };
    for (const auto& [text, expected] : cases) {
        LineReader lines(text);
        NciRecordReader reader(lines);
        NciRecord r;
        ASSERT_TRUE(reader.next(r));
        EXPECT_EQ(r.problem, RecordProblem::None) << text;
        EXPECT_EQ(r.text, expected) << text;
    }
}

TEST(NciRecordReader, NamesWhatItCannotRead) {
    struct Case {
        const char* text;
        RecordProblem problem;
        std::int32_t badField;
    };
    const Case cases[] = {
        {"1\n0 10 x5 0 100 0\n", RecordProblem::BadNumber, 2},
        {"1\n0 10 5 0 100\n", RecordProblem::FieldCount, -1},
        {"1\n0 10 5 0 100 0 7\n", RecordProblem::FieldCount, -1},
        {"1\n0 1e400 5 0 100 0\n", RecordProblem::OutOfRange, 1},
        {"1\n0 2e9 5 0 100 0\n", RecordProblem::OutOfRange, 1},
        {"1\n0 nan 5 0 100 0\n", RecordProblem::BadNumber, 1},
        {"1\n0 inf 5 0 100 0\n", RecordProblem::BadNumber, 1},
        {"1\n0 1,5 5 0 100 0\n", RecordProblem::BadNumber, 1},
        {"1\n0 --5 5 0 100 0\n", RecordProblem::BadNumber, 1},
        {"4\n1 2\n", RecordProblem::FieldCount, -1},
        {"91081\n1 2 3\n", RecordProblem::FieldCount, -1},
        {"1050\n0 0 0 x 0 0 0 0 NAME\n", RecordProblem::BadNumber, 3},
        {"1050\n0 0\n", RecordProblem::FieldCount, -1},
        {"77\n0 0 0\n", RecordProblem::UnknownCode, -1},
        {"-5\n0 0 0\n", RecordProblem::UnknownCode, -1},
        {"1\n", RecordProblem::MissingParameterLine, -1},
        {"LinearMove\n", RecordProblem::BadCodeLine, -1},
        {"1.0\n0 0 0 0 0 0\n", RecordProblem::BadCodeLine, -1},
        {"99999999999\n0\n", RecordProblem::BadCodeLine, -1},
        {"10181\n"
         "0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\n",
         RecordProblem::FieldCount, -1},
    };
    for (const Case& c : cases) {
        const NciRecord r = readOne(c.text);
        EXPECT_EQ(r.problem, c.problem) << c.text;
        EXPECT_EQ(r.badField, c.badField) << c.text;
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

TEST(NciRecordReader, EmptyAndTruncatedInputs) {
    EXPECT_TRUE(readAll("").empty());
    const auto blank = readAll("\n \n\r\n");
    ASSERT_EQ(blank.size(), 3u);
    for (const NciRecord& r : blank)
        EXPECT_EQ(r.problem, RecordProblem::BlankLine);
    const auto truncated = readAll("0\n0 1 2 3 -2 0\n1");
    ASSERT_EQ(truncated.size(), 2u);
    EXPECT_EQ(truncated[1].problem, RecordProblem::MissingParameterLine);
    const auto noFinalFeed = readAll("1003\n0 0 0");
    ASSERT_EQ(noFinalFeed.size(), 1u);
    EXPECT_EQ(noFinalFeed[0].problem, RecordProblem::None);
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
