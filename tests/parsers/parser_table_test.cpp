// The runners of parsers/blocks.txt (each source line parsed on its own into the block, by the
// Heidenhain block parser or the ISO block parser of its dialect) and parsers/words.txt (what
// the ISO G-code reader and the Heidenhain lexer read from a line).
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <sstream>
#include <string>

#include "parsers/heidenhain/block_parser.h"
#include "parsers/heidenhain/keyword_table.h"
#include "parsers/heidenhain/lexer.h"
#include "parsers/iso/block_parser.h"
#include "parsers/iso/gcode_reader.h"
#include "support/block_words.h"
#include "support/table_file.h"

namespace morvane::test {
namespace {

std::string heidenhainWords(const std::string& line) {
    HHParser::BlockParser parser;
    parser.position = {10.0, 20.0, 30.0, 0.0, 0.0, 0.0};
    parser.params[1] = 4.0;
    parser.beginLine();
    parser.parseLine(line);
    return blockWords(parser.blk);
}

std::string heidenhainParameters(const std::string& line) {
    HHParser::BlockParser parser;
    parser.beginLine();
    parser.parseLine(line);
    std::string text;
    for (const auto& [q, value] : parser.params)
        text += (text.empty() ? "Q" : " Q") + std::to_string(q) + "=" + exactNumber(value);
    return text;
}

std::string stateOf(const iso::AxisState& axes) {
    return std::string(axes.absolute ? "abs" : "inc") + " " + exactNumber(axes.position[0]) + " " +
           exactNumber(axes.position[1]) + " " + exactNumber(axes.position[2]);
}

void checkIsoRow(const iso::Dialect& dialect, const TableRow& row) {
    iso::GCodeReader reader(dialect);
    iso::AxisState axes;
    std::istringstream before(row.at(2));
    std::string mode;
    before >> mode >> axes.position[0] >> axes.position[1] >> axes.position[2];
    axes.absolute = mode == "abs";
    iso::BlockParser parser(reader, axes);
    block b;
    b.reset();
    parser.parse(row.at(1), 0, b);
    EXPECT_EQ(blockWords(b), row.at(3)) << row.where;
    EXPECT_EQ(stateOf(axes), row.at(4).empty() ? row.at(2) : row.at(4)) << row.where;
    EXPECT_EQ(reader.hasComment(), row.fields.size() > 5) << row.where;
    EXPECT_EQ(reader.comment(), row.at(5)) << row.where;
}

const std::map<std::string, const iso::Dialect*> kDialects = {{"fanuc", &iso::kFanuc},
                                                              {"siemens", &iso::kSiemens},
                                                              {"sinumerik", &iso::kSinumerik},
                                                              {"numeripath", &iso::kNumeripath}};

TEST(BlockTable, EveryLineLeavesItsWords) {
    for (const TableRow& row : readTable("parsers/blocks.txt")) {
        const std::string& kind = row.at(0);
        if (kind == "heidenhain")
            EXPECT_EQ(heidenhainWords(row.at(1)), row.at(2)) << row.where;
        else if (kind == "heidenhain-q")
            EXPECT_EQ(heidenhainParameters(row.at(1)), row.at(2)) << row.where;
        else if (kDialects.count(kind))
            checkIsoRow(*kDialects.at(kind), row);
        else
            ADD_FAILURE() << row.where << ": no dialect " << kind;
    }
}

// The cursor `cursor` and the comment the reader holds, against the fields from `at` on.
void expectReaderState(const iso::GCodeReader& reader, std::size_t cursor, const TableRow& row,
                       std::size_t at) {
    EXPECT_EQ(std::to_string(cursor), row.at(at)) << row.where;
    EXPECT_EQ(reader.hasComment(), row.fields.size() > at + 1) << row.where;
    EXPECT_EQ(reader.comment(), row.at(at + 1)) << row.where;
}

// A keyword or value row: the Heidenhain lexer reads from the line's start.
void checkLexerRow(const TableRow& row) {
    ParamMap params{{1, 4.0}, {5, 25.5}, {339, 2.0}};
    HHParser::Lexer lexer(params);
    const std::string line = unescaped(row.at(1));
    std::uint32_t cursor = 0;
    if (row.at(0) == "keyword") {
        const std::string& word = row.at(2);
        EXPECT_EQ(lexer.readKeyword(line, cursor),
                  word == "-" ? HHParser::kw::None : HHParser::keywordCode(word))
            << row.where;
        EXPECT_EQ(lexer.commentFlag, row.fields.size() > 4) << row.where;
    } else {
        const double value = lexer.readValue(line, cursor);
        if (row.at(2) == "nan") {
            EXPECT_TRUE(std::isnan(value)) << row.where;
        } else {
            EXPECT_EQ(value, std::stod(row.at(2))) << row.where;
            EXPECT_EQ(std::signbit(value), row.at(2).front() == '-') << row.where;
        }
    }
    EXPECT_EQ(std::to_string(cursor), row.at(3)) << row.where;
    EXPECT_EQ(lexer.commentText, row.at(4)) << row.where;
}

TEST(WordTable, EveryLineReadsAsListed) {
    for (const TableRow& row : readTable("parsers/words.txt")) {
        const std::string& kind = row.at(0);
        if (kind == "keyword" || kind == "value") {
            checkLexerRow(row);
            continue;
        }
        const bool known = kind == "comment" || kDialects.count(row.at(1)) > 0;
        ASSERT_TRUE(known) << row.where << ": no dialect " << row.at(1);
        iso::GCodeReader reader(kind == "comment" ? iso::kFanuc : *kDialects.at(row.at(1)));
        if (kind == "number") {
            std::size_t cursor = std::stoul(row.at(3));
            EXPECT_EQ(reader.readNumber(row.at(2), cursor), std::stod(row.at(4))) << row.where;
            expectReaderState(reader, cursor, row, 5);
        } else if (kind == "address") {
            std::size_t cursor = 0;
            EXPECT_EQ(reader.readAddress(row.at(2), cursor), std::stoi(row.at(3))) << row.where;
            expectReaderState(reader, cursor, row, 4);
        } else if (kind == "comment") {
            std::size_t cursor = 0;
            reader.readComment(row.at(1), cursor);
            EXPECT_TRUE(reader.hasComment()) << row.where;
            EXPECT_EQ(reader.comment(), row.at(2)) << row.where;
            EXPECT_EQ(std::to_string(cursor), row.at(3)) << row.where;
        } else {
            ADD_FAILURE() << row.where << ": no kind " << kind;
        }
    }
}

}  // namespace
}  // namespace morvane::test
