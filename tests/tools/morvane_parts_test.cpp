// The command-line host's pieces on their own: the command line, format recognition, the
// document and its line terminators, where a result goes, the dialog script, the stored
// configuration, translations, the progress bar's text and the host's records.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "command_line.h"
#include "config_store.h"
#include "converter_catalog.h"
#include "diagnostic_report.h"
#include "dialog_script.h"
#include "editor_host.h"
#include "failure_report.h"
#include "frontend/morvane_dialog.h"
#include "input_document.h"
#include "locale_file.h"
#include "morvane_runner.h"
#include "output_file.h"
#include "progress_bar.h"
#include "result_placement.h"
#include "source_formats.h"

namespace morvane::cli {
namespace {

using test::readFile;
using test::ScratchDirectory;

std::vector<std::string> words(std::initializer_list<const char*> list) {
    return {list.begin(), list.end()};
}

TEST(CommandLine, ConvertOptions) {
    CommandLine line;
    std::string error;
    ASSERT_TRUE(
        parseCommandLine(words({"convert", "a.nc", "--from=heidenhain", "-c", "Fanuc", "--longhand",
                                "-l", "3-9", "-d", "out", "--locale", "de", "-v", "--no-progress",
                                "--result-only", "--no-config", "--", "-odd.nc"}),
                         line, error))
        << error;
    const ConvertOptions& o = line.convert;
    EXPECT_EQ(line.command, Subcommand::Convert);
    EXPECT_EQ(o.inputs, words({"a.nc", "-odd.nc"}));
    EXPECT_EQ(o.from, SourceFormat::Heidenhain);
    EXPECT_EQ(o.converter, "Fanuc");
    EXPECT_EQ(o.longhand, true);
    ASSERT_TRUE(o.lines.has_value());
    EXPECT_EQ(o.lines->first, 3);
    EXPECT_EQ(o.lines->last, 9);
    EXPECT_EQ(o.directory, "out");
    EXPECT_FALSE(o.output.has_value());
    EXPECT_EQ(o.locale, "de");
    EXPECT_TRUE(o.verbose && o.resultOnly && o.noConfig && !o.progress && !o.nci && !o.inPlace);

    EXPECT_FALSE(o.exact || o.strict);

    ASSERT_TRUE(
        parseCommandLine(words({"convert", "a", "b", "-i", "--nci", "--no-longhand", "-q",
                                "--max-output=512M", "--allow-truncated", "--exact", "--strict"}),
                         line, error));
    EXPECT_TRUE(line.convert.inPlace && line.convert.nci && line.convert.quiet &&
                line.convert.allowTruncated && line.convert.exact && line.convert.strict);
    EXPECT_EQ(line.convert.maxOutput, std::uint64_t{512} << 20);
    EXPECT_EQ(line.convert.longhand, false);
    EXPECT_FALSE(line.convert.from.has_value());
    ASSERT_TRUE(parseCommandLine(words({"convert", "-", "--output", "-"}), line, error));
    EXPECT_EQ(line.convert.inputs, words({"-"}));
    EXPECT_EQ(line.convert.output, "-");
}

TEST(CommandLine, SubcommandsAndHelp) {
    struct Case {
        std::vector<std::string> arguments;
        Subcommand command;
        std::optional<Subcommand> topic;
    };
    const Case cases[] = {
        {words({"--help"}), Subcommand::Help, std::nullopt},
        {words({"-h"}), Subcommand::Help, std::nullopt},
        {words({"help"}), Subcommand::Help, std::nullopt},
        {words({"help", "converters"}), Subcommand::Help, Subcommand::Converters},
        {words({"convert", "--help"}), Subcommand::Help, Subcommand::Convert},
        {words({"convert", "x", "--from", "nci", "-h"}), Subcommand::Help, Subcommand::Convert},
        {words({"formats", "--help"}), Subcommand::Help, Subcommand::Formats},
        {words({"formats"}), Subcommand::Formats, std::nullopt},
        {words({"converters"}), Subcommand::Converters, std::nullopt},
        {words({"--version"}), Subcommand::Version, std::nullopt},
        {words({"version"}), Subcommand::Version, std::nullopt},
    };
    for (const Case& c : cases) {
        CommandLine line;
        std::string error;
        ASSERT_TRUE(parseCommandLine(c.arguments, line, error))
            << c.arguments.front() << ": " << error;
        EXPECT_EQ(line.command, c.command) << c.arguments.front();
        EXPECT_EQ(line.helpTopic, c.topic) << c.arguments.front();
        EXPECT_FALSE(helpText(line.helpTopic).empty());
    }
}

TEST(CommandLine, Mistakes) {
    struct Case {
        std::vector<std::string> arguments;
        const char* error;
    };
    const Case cases[] = {
        {{}, "a command is missing"},
        {words({"convrt"}), "unknown command 'convrt'"},
        {words({"convert"}), "convert needs an input file"},
        {words({"convert", "a", "--from"}), "--from needs a value"},
        {words({"convert", "a", "--from", "mazak"}), "unknown format 'mazak'"},
        {words({"convert", "a", "--nci=yes"}), "--nci takes no value"},
        {words({"convert", "a", "--lines", "0-3"}), "--lines takes A-B"},
        {words({"convert", "a", "-o", "x", "-d", "y"}), "give only one of -o, -d and --in-place"},
        {words({"convert", "a", "-i", "-d", "y"}), "give only one of"},
        {words({"convert", "a", "b"}), "several inputs need -d DIR or --in-place"},
        {words({"convert", "-", "-i"}), "--in-place cannot replace standard input (-)"},
        {words({"convert", "-", "a", "-d", "o"}), "standard input (-) has no name; give -o FILE"},
        {words({"convert", "a", "b", "-o", "x"}), "several inputs need"},
        {words({"convert", "a", "-x"}), "unknown option -x"},
        {words({"convert", "a", "--max-output", "1.5M"}), "--max-output takes a number of bytes"},
        {words({"formats", "all"}), "formats takes no argument 'all'"},
        {words({"help", "everything"}), "no help on 'everything'"},
    };
    for (const Case& c : cases) {
        CommandLine line;
        std::string error;
        EXPECT_FALSE(parseCommandLine(c.arguments, line, error)) << c.error;
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(CommandLine, LineSelections) {
    struct Case {
        const char* text;
        bool valid;
        std::int32_t first;
        std::optional<std::int32_t> last;
    };
    const Case cases[] = {
        {"3-9", true, 3, 9},
        {"3-3", true, 3, 3},
        {"7", true, 7, 7},
        {"7-", true, 7, std::nullopt},
        {"9-3", false, 0, 0},
        {"0", false, 0, 0},
        {"-3", false, 0, 0},
        {"a-b", false, 0, 0},
        {"", false, 0, 0},
        {"3-x", false, 0, 0},
        {"1-99999999999", false, 0, 0},
        {"2 - 3", false, 0, 0},
    };
    for (const Case& c : cases) {
        const auto selection = parseLineSelection(c.text);
        ASSERT_EQ(selection.has_value(), c.valid) << c.text;
        if (!selection) continue;
        EXPECT_EQ(selection->first, c.first) << c.text;
        EXPECT_EQ(selection->last, c.last) << c.text;
    }
}

TEST(CommandLine, ByteSizes) {
    const std::pair<const char*, std::optional<std::uint64_t>> cases[] = {
        {"4096", 4096},
        {"64K", 65536},
        {"2g", std::uint64_t{2} << 30},
        {"1M", std::uint64_t{1} << 20},
        {"0", std::nullopt},
        {"1.5M", std::nullopt},
        {"M", std::nullopt},
        {"", std::nullopt},
        {"-1", std::nullopt},
        {"12KB", std::nullopt},
        {"17179869184G", std::nullopt},  // beyond 64 bits
    };
    for (const auto& [text, bytes] : cases)
        EXPECT_EQ(parseByteSize(text), bytes) << text;
}

TEST(Diagnostics, AsTheUserReadsThem) {
    struct Case {
        const char* received;
        std::int32_t firstServed;
        const char* printed;
        Semantics semantics = Semantics::Corrected;  // the semantics the host asked for
    };
    const Case cases[] = {
        {"12:limit-reached: the NCI reached 100 bytes", 0,
         "p.nc:12: error: the NCI reached 100 bytes [limit-reached]"},
        // A selection from line 41 of the file: its line 2 is the file's line 42.
        {"2:line-feed-in-line: text after it is not read", 40,
         "p.nc:42: warning: text after it is not read [line-feed-in-line]"},
        {"0:write-failed: cannot write /t/NEW1.tmp: File too large", 40,
         "p.nc: error: cannot write /t/NEW1.tmp: File too large [write-failed]"},
        {"3:too-many-diagnostics: 5 more", 0, "p.nc:3: note: 5 more [too-many-diagnostics]"},
        {"7:from-a-newer-plugin: something", 0, "p.nc:7: warning: something [from-a-newer-plugin]"},
        {"no line or code", 0, "p.nc: warning: no line or code"},
        {"9:: empty code", 0, "p.nc: warning: 9:: empty code"},
        // A correction is a warning when the host asked for the exact semantics.
        {"2:nci-precision: kept", 0, "p.nc:2: note: kept [nci-precision]"},
        {"2:nci-precision: lost", 0, "p.nc:2: warning: lost [nci-precision]", Semantics::Exact},
    };
    for (const Case& c : cases)
        EXPECT_EQ(formatDiagnostic("p.nc", parseDiagnostic(c.received, c.firstServed, c.semantics)),
                  c.printed);

    const std::vector<Severity> severities = {Severity::Warning, Severity::Note, Severity::Error,
                                              Severity::Warning};
    for (const bool quiet : {false, true}) {
        ScratchDirectory dir;
        std::FILE* out = std::fopen((dir.path() / "err").c_str(), "w+");
        DiagnosticPrinter printer(quiet, out);
        EXPECT_EQ(printer.summary(), "");
        for (const Severity severity : severities)
            printer.print("p.nc", {1, "c", severity, "m"});
        std::fclose(out);
        EXPECT_EQ(printer.summary(),
                  quiet ? "morvane: 1 error" : "morvane: 1 note, 2 warnings and 1 error");
        EXPECT_EQ(readFile(dir.path() / "err"),
                  quiet ? "p.nc:1: error: m [c]\n"
                        : "p.nc:1: warning: m [c]\np.nc:1: note: m [c]\np.nc:1: error: m [c]\n"
                          "p.nc:1: warning: m [c]\n");
    }
}

TEST(SourceFormats, NamesOfTheCommandLineAndTheDialog) {
    EXPECT_EQ(formatByOption("NUMERIPATH"), SourceFormat::Numeripath);
    EXPECT_EQ(formatByOption("G&L Numeripath"), SourceFormat::Numeripath);
    EXPECT_EQ(formatByOption("nci"), SourceFormat::Nci);
    EXPECT_EQ(formatByOption("haas"), std::nullopt);
    // The entries must be the dialog's list texts, in its order (the parsers' positions), each
    // reached by its option.
    const char* entries[] = {"Fanuc",     "Heidenhain",     "Siemens",
                             "Sinumerik", "G&L Numeripath", "NCI"};
    const char* options[] = {"fanuc", "heidenhain", "siemens", "sinumerik", "numeripath", "nci"};
    for (std::size_t i = 0; i < kFormats.size(); ++i) {
        EXPECT_EQ(kFormats[i].dialogEntry, entries[i]);
        EXPECT_EQ(formatByOption(options[i]), kFormats[i].format) << options[i];
        EXPECT_EQ(static_cast<std::size_t>(kFormats[i].format), i) << options[i];
    }
}

TEST(SourceFormats, Recognition) {
    struct Case {
        const char* path;
        const char* text;
        std::optional<SourceFormat> format;
        const char* reason;
    };
    const Case cases[] = {
        {"part.H", "", SourceFormat::Heidenhain, "extension .H"},
        {"part.h", "", std::nullopt, "neither"},
        {"part.NCI", "", SourceFormat::Nci, "extension .NCI"},
        {"dir.x/part.MPF", "", SourceFormat::Sinumerik, "extension .MPF"},
        {"part.spf", "G1 X1\n", SourceFormat::Sinumerik, "extension .spf"},
        {"part.txt", "; header\n0 BEGIN PGM P1 MM\n", SourceFormat::Heidenhain,
         "line 2 has BEGIN PGM"},
        {"part", "1050\n0 0 0 0 0 0 0 0 1\n1005\nany text\n1003\n0 0 0\n", SourceFormat::Nci,
         "NCI records"},
        {"part", "1005\n\n", SourceFormat::Nci, "NCI records"},
        {"part", "1001\nhello world\n", std::nullopt, "neither"},
        {"part", "1001\nT1 M6\n", SourceFormat::Fanuc, "line 2 is an ISO block"},
        {"part.nc", "N10 G0 X0\n; finish\n", SourceFormat::Fanuc, "line 1 is an ISO block"},
        {"part.nc", "(T1 D=0.25 CR=0 - flat end mill)\nG0 X0\n", SourceFormat::Fanuc,
         "line 2 is an ISO block"},
        {"part.ngc", "#<_encoder_cycles> = 45\nG0 X1\n", SourceFormat::Fanuc,
         "line 2 is an ISO block"},
        {"part.nc", "G0 X0 ; CYCLE81 would be native\n", SourceFormat::Fanuc,
         "line 1 is an ISO block"},
        {"part.nc", "N10 G0 X0\nMSG(\"ROUGHING\")\n", SourceFormat::Sinumerik, "line 2 has MSG("},
        {"part.nc", "N10 G0 X0\nN20 CYCLE81(10,0,2,-5)\n", SourceFormat::Sinumerik,
         "line 2 has CYCLE"},
        {"part.nc", "T1\nN20 lims=3000\n", SourceFormat::Sinumerik, "line 2 has LIMS="},
        {"part.nc", "G1 X10 ! fast\n", SourceFormat::Numeripath, "line 1 has a ! comment"},
        // Sinumerik and Numeripath are read as lathe programs; a mill's are read as it wrote them.
        {"part.MPF", "G90\nG17 G0 X165.356 Z5\n", SourceFormat::Siemens,
         "extension .MPF; a milling program (line 2 has G17), so Siemens"},
        {"part.spf", "PROC P\nG0 X1 Y=R1 Z0\n", SourceFormat::Siemens, "(line 2 has a Y word)"},
        {"part.nc", "N20 CYCLE71(10,0,2,-5)\n", SourceFormat::Siemens, "has a milling cycle"},
        {"part.nc", "G17 G1 X10 Y5 ! fast\n", SourceFormat::Fanuc,
         "so Fanuc: G&L Numeripath would read it as a lathe program"},
        {"part.MPF", "MSG(\"G17 Y1\") ; G17 Y1\nG18 X40 Z2\n", SourceFormat::Sinumerik,
         "a lathe program (line 2 has G18)"},
        {"part.mpf", "N5 DIAMON\nG0 X40 Z2\n", SourceFormat::Sinumerik, "diameter programming"},
        {"part.mpf", "G0 X40 Z2\nG1 X30 F.2\n", SourceFormat::Sinumerik,
         "it moves in X and Z and never in Y"},
        {"part.spf", "PROC P\nRET\n", SourceFormat::Sinumerik,
         "nothing tells a mill from a lathe, read as a lathe program: give --from siemens"},
        {"part.nc", "(WHY!) G1 X10\n", SourceFormat::Fanuc, "line 1 is an ISO block"},
        {"part.nc", "%\nO1000 (SQUARE)\n", SourceFormat::Fanuc, "line 1 is an ISO block"},
        {"part.nc", "\n\nN10 G90 G17\n", SourceFormat::Fanuc, "line 3 is an ISO block"},
        {"part.nc", "n10 x-5.\n", SourceFormat::Fanuc, "line 1 is an ISO block"},
        {"notes.txt", "Grocery list\nmilk\n", std::nullopt,
         "neither its extension nor its first lines"},
        {"empty.nc", "", std::nullopt, "neither"},
    };
    for (const Case& c : cases) {
        InputDocument document;
        document.assign(c.text);
        const Detection detection = detectFormat(c.path, document.head(200));
        EXPECT_EQ(detection.format, c.format) << c.path << ": " << c.text;
        EXPECT_NE(detection.reason.find(c.reason), std::string::npos)
            << c.path << ": " << detection.reason;
    }
}

// Real programs, as tests/tools/program_formats.txt lists them: none is binary data, each is
// recognised as the format listed (the corpus lies beside the repository when it is there).
TEST(SourceFormats, RealProgramsAsListed) {
    const std::filesystem::path source(MORVANE_SOURCE_DIR);
    const std::map<std::string, std::filesystem::path> roots = {
        {"corpus", MORVANE_CORPUS_DIR}, {"golden", source / "tests/golden"}};
    std::istringstream table(readFile(source / "tests/tools/program_formats.txt"));
    int checked = 0;
    for (std::string path, format; table >> path >> format;) {
        if (path.front() == '#') {
            std::getline(table, path);
            continue;
        }
        const std::size_t slash = path.find('/');
        const std::filesystem::path file = roots.at(path.substr(0, slash)) / path.substr(slash + 1);
        if (!std::filesystem::exists(file)) continue;
        InputDocument document;
        std::string error;
        ASSERT_TRUE(document.read(file.string(), error)) << path << ": " << error;
        EXPECT_FALSE(looksBinary(document.sample())) << path;
        const Detection detection = detectFormat(file.string(), document.head(200));
        EXPECT_EQ(detection.format, formatByOption(format)) << path << ": " << detection.reason;
        ++checked;
    }
    EXPECT_GT(checked, 30);
}

// The whole document written back into a file, as that file reads; "<failed>" when it could not
// be written.
std::string writtenBack(const InputDocument& document) {
    ScratchDirectory dir;
    const std::string path = (dir.path() / "copy").string();
    std::FILE* out = std::fopen(path.c_str(), "wb");
    const bool written = document.writeLines(out, 0, document.lineCount());
    std::fclose(out);
    return written ? readFile(path) : "<failed>";
}

TEST(InputDocument, LinesTerminatorsAndEncodings) {
    using namespace std::string_literals;
    struct Case {
        const char* name;
        std::string text;
        std::vector<std::string> lines;  // as the file has them; the plug-in sees up to a NUL
        const char* terminator;          // the document's own
        const char* refused = "";        // a part of the reason the text is refused
    };
    const Case cases[] = {
        {"empty", "", {}, "\n"},
        {"one line feed", "\n", {""}, "\n"},
        {"last line unterminated", "A\nB", {"A", "B"}, "\n"},
        {"CR LF", "A\r\nB\r\n", {"A", "B"}, "\r\n"},
        {"a lone CR ends a line", "A\rB\n", {"A", "B"}, "\r"},
        {"CR only", "G0 X1\rG1 X2\rM30\r", {"G0 X1", "G1 X2", "M30"}, "\r"},
        {"CR, CR LF", "A\r\r\nB", {"A", "", "B"}, "\r"},
        {"mixed: the first line decides", "A\nB\r\n", {"A", "B"}, "\n"},
        {"empty lines", "\n\nC\n", {"", "", "C"}, "\n"},
        {"CR at the very end", "A\r", {"A"}, "\r"},
        {"NUL bytes inside lines",
         "A\0B\r\nC\nD\0\0\rE\0"s,
         {"A\0B"s, "C", "D\0\0"s, "E\0"s},
         "\r\n"},
        {"UTF-8 byte-order mark set aside",
         "\xEF\xBB\xBF"
         "0 BEGIN PGM P MM\n",
         {"0 BEGIN PGM P MM"},
         "\n"},
        {"UTF-16LE with its mark", "\xFF\xFEG\0001\0\n\0"s, {}, "", "UTF-16 text (little"},
        {"UTF-16BE with its mark", "\xFE\xFF\0G\0001\0\n"s, {}, "", "-f UTF-16 -t UTF-8"},
        {"UTF-16LE told by its NUL bytes",
         "G\0001\0 \0X\0001\0\n\0"s,
         {},
         "",
         "-f UTF-16LE -t UTF-8"},
        {"UTF-16BE told by its NUL bytes", "\0G\0001\0 \0X\0001\0\n"s, {}, "", "-f UTF-16BE"},
        {"UTF-32LE with its mark", "\xFF\xFE\0\0G\0\0\0"s, {}, "", "UTF-32 text"},
        {"UTF-32LE told by its NUL bytes", "G\0\0\0001\0\0\0\n\0\0\0"s, {}, "", "-f UTF-32LE"},
    };
    for (const Case& c : cases) {
        InputDocument document;
        std::string error;
        ASSERT_EQ(document.assign(c.text, &error), *c.refused == '\0') << c.name << ": " << error;
        EXPECT_NE(error.find(c.refused), std::string::npos) << c.name << ": " << error;
        ASSERT_EQ(document.lineCount(), static_cast<std::int32_t>(c.lines.size())) << c.name;
        for (std::size_t i = 0; i < c.lines.size(); ++i) {
            const auto index = static_cast<std::int32_t>(i);
            EXPECT_EQ(document.line(index), c.lines[i]) << c.name;
            EXPECT_EQ(std::string(document.lineText(index)), c.lines[i].c_str()) << c.name;
        }
        EXPECT_EQ(document.lineText(document.lineCount()), nullptr) << c.name;
        EXPECT_EQ(document.lineText(-1), nullptr) << c.name;
        if (!document.assign(c.text)) continue;
        EXPECT_EQ(document.terminator(), c.terminator) << c.name;
        // Written back after its byte-order mark, the document is byte for byte the file.
        EXPECT_EQ(std::string(document.byteOrderMark()) + writtenBack(document), c.text) << c.name;
    }
    // Counted before it is indexed: one line more than a program may have is refused.
    InputDocument document;
    std::string error;
    EXPECT_FALSE(document.assign(std::string((std::size_t{1} << 26) + 1, '\n'), &error));
    EXPECT_EQ(error, "it has 67108865 lines, more than the 67108864 a program may have; split it");
}

TEST(InputDocument, ALargeProgramIsReadInAnyOrderAndWrittenBackByteForByte) {
    // Over the size at which the text is held in huge pages; lines of every terminator, empty
    // lines, lines with NUL bytes, a line longer than a page, and a last line without a
    // terminator.
    using namespace std::string_literals;
    std::string text;
    std::vector<std::string> lines;
    for (int i = 0; lines.size() < 200000; ++i) {
        lines.push_back(i % 1000 == 7  ? std::string(5000, 'X')
                        : i % 997 == 3 ? "N"s + std::to_string(i) + "\0 G1\0"s
                        : i % 97 == 0  ? ""
                                       : "N" + std::to_string(i) + " G1 X1");
        // A CR before an empty line's line feed would make a CR LF of them.
        const bool crlf = i % 3 == 0 || lines.back().empty();
        text += lines.back() + (crlf ? "\r\n" : i % 5 == 0 ? "\r" : "\n");
    }
    lines.push_back("M30");
    text += "M30";
    ASSERT_GT(text.size(), std::size_t{3} << 20);
    ScratchDirectory dir;
    const std::string file = dir.write("large.nc", text);
    InputDocument document;
    std::string error;
    ASSERT_TRUE(document.read(file, error)) << error;
    ASSERT_EQ(document.lineCount(), static_cast<std::int32_t>(lines.size()));
    // In order, backwards (every step a jump back), and in strides across the kept starts.
    const auto expectLine = [&](std::size_t i) {
        const auto index = static_cast<std::int32_t>(i);
        ASSERT_EQ(document.line(index), lines[i]) << i;
        ASSERT_EQ(std::string_view(document.lineText(index)), lines[i].c_str()) << i;
    };
    for (std::size_t i = 0; i < lines.size(); ++i)
        expectLine(i);
    for (std::size_t i = lines.size(); i-- > 0;)
        expectLine(i);
    for (std::size_t i = 0; i < lines.size(); i += 45)
        expectLine(i);
    // As subprograms run again and again: jumps to the same lines, each followed by a few more.
    for (int round = 0; round < 3; ++round)
        for (const std::size_t label : {100007u, 77u, 150031u, 100023u})
            for (std::size_t i = label; i < label + 5; ++i)
                expectLine(i);
    EXPECT_TRUE(writtenBack(document) == text);
}

// The host's records as the plug-in calls them.
class HostRecords : public testing::Test {
  protected:
    void SetUp() override {
        document.assign("L1\nL2\nL3\nL4\n");
        spool = std::fopen(spoolPath.c_str(), "w+b");
    }
    void TearDown() override { std::fclose(spool); }
    std::string spooled() {
        std::fflush(spool);
        return readFile(spoolPath);
    }
    std::vector<std::string> served(EditorHost& host) {
        LineSource* source = host.lineSource();
        std::int32_t count = -1;
        source->getLineCount(source->context, &count);
        std::vector<std::string> lines;
        for (std::int32_t i = 0; i <= count; ++i) {
            const char* text = reinterpret_cast<const char*>(1);
            source->getLine(source->context, i, &text);
            lines.push_back(text == nullptr ? "<null>" : text);
        }
        return lines;
    }
    ScratchDirectory dir;
    const std::string spoolPath = (dir.path() / "spool").string();
    InputDocument document;
    std::FILE* spool = nullptr;
};

TEST_F(HostRecords, TheSelectionIsServedOnlyWhenThePluginAsksForIt) {
    EditorHost host(document, LineRange{1, 2}, nullptr, nullptr);
    host.beginAction(spool);
    ResultStream* stream = host.resultStream();
    EXPECT_EQ(served(host), words({"L1", "L2", "L3", "L4", "<null>"}));
    stream->setProperty(stream->context, "SELECTION_ONLY", "true");
    EXPECT_EQ(served(host), words({"L2", "L3", "<null>"}));
    stream->setProperty(stream->context, "SELECTION_ONLY", "false");
    EXPECT_EQ(served(host), words({"L1", "L2", "L3", "L4", "<null>"}));
    EXPECT_EQ(host.localizeSource(), nullptr);
}

TEST_F(HostRecords, ResultLinesGoToTheSpoolAndPropertiesAreObserved) {
    EditorHost host(document, std::nullopt, nullptr, nullptr);
    host.beginAction(spool);
    ResultStream* stream = host.resultStream();
    EXPECT_FALSE(host.observations().selectionOnlySent);
    stream->setProperty(stream->context, "SELECTION_ONLY", "false");
    stream->setProperty(stream->context, "UseLonghandCycles", "true");
    stream->writeLine(stream->context, "1005", 4);
    stream->writeLine(stream->context, "", 0);
    stream->writeLine(stream->context, "ab\0cd", 5);  // a NUL inside stays
    stream->setProperty(stream->context, "DIAGNOSTIC", "2:limit-reached: cut");
    stream->setProperty(stream->context, "DIAGNOSTIC", "0:write-failed: lost");
    stream->setProperty(stream->context, "RESULT_IN_NEW_WINDOW", "true");
    stream->setProperty(stream->context, "PLUGIN_CONFIG", "A=1;");
    stream->setProperty(stream->context, nullptr, "ignored");
    const Observations& seen = host.observations();
    EXPECT_TRUE(seen.selectionOnlySent && !seen.selectionOnly && seen.longhandCycles &&
                seen.resultInNewWindow);
    EXPECT_EQ(seen.config, "A=1;");
    EXPECT_EQ(seen.diagnostics, words({"2:limit-reached: cut", "0:write-failed: lost"}));
    EXPECT_EQ(seen.resultLines, 3u);
    host.endAction();
    EXPECT_EQ(spooled(), std::string("1005\n\nab\0cd\n", 12));
    // A new action forgets what the last one said.
    host.beginAction(spool);
    EXPECT_FALSE(host.observations().config.has_value());
    EXPECT_EQ(host.observations().resultLines, 0u);
}

TEST_F(HostRecords, ResultLinesOfAnySizeReachTheSpoolInOrder) {
    // The lines are collected in a megabyte and written when it is full: lines that cross that
    // mark, a line longer than the whole collection, and lines after it.
    EditorHost host(document, std::nullopt, nullptr, nullptr);
    host.beginAction(spool);
    ResultStream* stream = host.resultStream();
    std::string expected;
    const auto send = [&](const std::string& line) {
        stream->writeLine(stream->context, line.data(), static_cast<std::int32_t>(line.size()));
        expected += line + "\n";
    };
    for (int i = 0; i < 150000; ++i)
        send("0 " + std::to_string(i) + " 2.5 -1 0");
    send(std::string(3 << 20, 'Y'));
    send("");
    for (int i = 0; i < 1000; ++i)
        send(std::to_string(i));
    host.endAction();
    EXPECT_EQ(host.observations().resultLines, 151002u);
    EXPECT_EQ(host.observations().resultWriteError, 0);
    EXPECT_TRUE(spooled() == expected);
    // A spool that cannot take them: the first failure is kept with its reason.
    std::FILE* full = std::fopen("/dev/full", "wb");
    ASSERT_NE(full, nullptr);
    host.beginAction(full);
    send(std::string(3 << 20, 'Z'));
    host.endAction();
    std::fclose(full);
    EXPECT_EQ(host.observations().resultWriteError, ENOSPC);
}

// The exit status an error of the plug-in decides, for those no test run can provoke.
TEST(FailureReport, ErrorsOfThePluginDecideTheExitStatus) {
    struct Case {
        const char* received;
        bool fileSystemFull;
        ExitStatus status;
    };
    const Case cases[] = {
        {"0:no-working-file: cannot make a working file", false, ExitStatus::FileError},
        {"0:post-processor-unavailable: cannot load it", false, ExitStatus::Installation},
        {"0:post-processor-failed: not whole", false, ExitStatus::ConversionFailed},
        {"0:post-processor-failed: not whole", true, ExitStatus::FileError},
        {"0:some-new-error: text", false, ExitStatus::Done},  // an unknown code is a warning
    };
    Observations seen;
    seen.selectionOnlySent = true;
    seen.config = "OutputToNCI=True;";
    seen.resultLines = 1;
    for (const Case& c : cases) {
        RunContext context;
        context.workingFileSystemFull = c.fileSystemFull;
        const auto failure =
            explainRun(seen, {parseDiagnostic(c.received, 0, Semantics::Exact)}, context);
        EXPECT_EQ(failure ? failure->status : ExitStatus::Done, c.status) << c.received;
    }
}

TEST(LocaleTable, FileFormat) {
    LocaleTable table;
    std::string error;
    ASSERT_TRUE(table.parse(
        "# comment\n\n  OK = Gut  \r\nTITLE=\nTEXT = a = b\nOK = Besser\nUMLAUT = Größe\n", error))
        << error;
    EXPECT_EQ(std::wstring(table.find("OK")), L"Besser");
    EXPECT_EQ(std::wstring(table.find("TITLE")), L"");
    EXPECT_EQ(std::wstring(table.find("TEXT")), L"a = b");
    EXPECT_EQ(std::wstring(table.find("UMLAUT")), L"Gr\u00f6\u00dfe");
    EXPECT_EQ(table.find("MISSING"), nullptr);
    LocaleTable wrong;
    EXPECT_FALSE(wrong.parse("OK = Gut\njust words\n", error));
    EXPECT_EQ(error, "line 2: expected KEY = text");
    EXPECT_FALSE(wrong.parse("= no key\n", error));
    EXPECT_EQ(error, "line 1: expected KEY = text");
}

TEST(LocaleTable, TheShippedGermanTranslationCoversEveryText) {
    LocaleTable table;
    std::string error;
    ASSERT_TRUE(
        table.read(std::string(MORVANE_SOURCE_DIR) + "/apps/morvane/locale/de.conf", error))
        << error;
    // Every text the dialog asks the host for, and nothing else.
    for (const LocalisedText& text : kLocalisedTexts) {
        ASSERT_NE(table.find(text.key), nullptr) << text.key;
        EXPECT_NE(std::wstring(table.find(text.key)), L"") << text.key;
    }
    EXPECT_EQ(table.size(), kLocalisedTexts.size());
}

TEST(DialogScript, ChoicesBecomeActions) {
    struct Case {
        const char* name;
        DialogChoices choices;
        const char* script;
    };
    auto with = [](auto change) {
        DialogChoices choices;
        change(choices);
        return choices;
    };
    const Case cases[] = {
        {"nothing given keeps the restored switches", DialogChoices{},
         "select Fanuc; uncheck IDC_RESULT_NEW_WINDOW; click IDOK"},
        {"NCI, longhand, a selection", with([](DialogChoices& c) {
             c.format = SourceFormat::Numeripath;
             c.convertToNci = true;
             c.longhandCycles = true;
             c.selectionOnly = true;
         }),
         "select G&L Numeripath; uncheck IDC_CONVERT_NCI; check IDC_CONVERT_NCI; check "
         "IDC_LONGHAND_CYCLES; check IDC_SELECTION_ONLY; "
         "uncheck IDC_RESULT_NEW_WINDOW; click IDOK"},
        {"a converter: browse first, then leave NCI", with([](DialogChoices& c) {
             c.format = SourceFormat::Heidenhain;
             c.converterPath = "/conv/Fanuc.conv";
             c.convertToNci = false;
             c.longhandCycles = false;
             c.resultInNewWindow = true;
         }),
         "select Heidenhain; file /conv/Fanuc.conv; click IDC_BROWSE; uncheck IDC_CONVERT_NCI; "
         "uncheck IDC_LONGHAND_CYCLES; check IDC_RESULT_NEW_WINDOW; click IDOK"},
    };
    for (const Case& c : cases) {
        std::string error;
        EXPECT_EQ(buildDialogScript(c.choices, error), c.script) << c.name << error;
    }
    for (const char* path : {"/a;b.conv", " /lead.conv", "/trail.conv ", ""}) {
        DialogChoices choices;
        choices.converterPath = path;
        std::string error;
        EXPECT_EQ(buildDialogScript(choices, error), std::nullopt) << path;
        EXPECT_NE(error.find("cannot be handed to the dialog"), std::string::npos);
    }
}

TEST(StoredConfiguration, Summary) {
    struct Case {
        const char* text;
        bool nci, longhand;
        const char* converter;
    };
    const Case cases[] = {
        {"", false, false, ""},
        {"OutputToNCI=True;PostProcessor=/c/F.conv;UseLonghandCycles=True;", true, true,
         "/c/F.conv"},
        {"OutputToNCI=False;UseLonghandCycles=true;", false, false, ""},
        {"PostProcessor=C:\\a\\EQb\\SCc.conv;", false, false, "C:\\a=b;c.conv"},
        {"OutputToNCI=True;OutputToNCI=False;", true, false, ""},  // the first entry counts
        {"OutputToNCI=;OutputToNCI=True;", true, false, ""},       // an empty value is no entry
        {"OutputToNCI=True=1;PostProcessor", false, false, ""},
    };
    for (const Case& c : cases) {
        const ConfigSummary summary = summarizeConfig(c.text);
        EXPECT_EQ(summary.outputToNci, c.nci) << c.text;
        EXPECT_EQ(summary.longhandCycles, c.longhand) << c.text;
        EXPECT_EQ(summary.converterPath, c.converter) << c.text;
    }
}

TEST(StoredConfiguration, StoredAndLoaded) {
    ScratchDirectory dir;
    const std::string path = (dir.path() / "deep/er/plugin.conf").string();
    EXPECT_EQ(loadConfig(path), std::nullopt);
    std::string error;
    ASSERT_TRUE(storeConfig(path, "A=1;B=\\SC;", error)) << error;
    EXPECT_EQ(readFile(path), "A=1;B=\\SC;\n");
    EXPECT_EQ(loadConfig(path), "A=1;B=\\SC;");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat((dir.path() / "deep").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    ASSERT_TRUE(storeConfig(path, "C=3;", error));
    EXPECT_EQ(loadConfig(path), "C=3;");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "deep/er"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(ResultPlacement, WhereTheResultGoes) {
    struct Case {
        const char* name;
        std::string document;
        LineRange served;
        bool newWindow;
        std::string result;
        std::string expected;
    };
    const Case cases[] = {
        {"a selection in the middle",
         "a\nb\nc\nd\n",
         {1, 2},
         false,
         "X\nY\nZ\n",
         "a\nX\nY\nZ\nd\n"},
        {"a selection at the start", "a\nb\nc\n", {0, 1}, false, "X\n", "X\nb\nc\n"},
        {"a selection at the unterminated end", "a\nb", {1, 1}, false, "X\n", "a\nX\n"},
        {"the whole document", "a\nb\n", {0, 2}, false, "X\n", "X\n"},
        {"CR LF document, whole", "a\r\nb\r\n", {0, 2}, false, "X\nY\n", "X\r\nY\r\n"},
        {"CR LF document, selection", "a\r\nb\r\nc\r\n", {1, 1}, false, "X\n", "a\r\nX\r\nc\r\n"},
        {"new window: the result alone, line feeds", "a\r\nb\r\n", {1, 1}, true, "X\n", "X\n"},
        {"CR document, selection", "a\rb\rc", {1, 1}, false, "X\nY\n", "a\rX\rY\rc"},
        {"byte-order mark kept around a selection",
         "\xEF\xBB\xBF"
         "a\nb\n",
         {0, 1},
         false,
         "X\n",
         "\xEF\xBB\xBF"
         "X\nb\n"},
        {"byte-order mark not before a whole result",
         "\xEF\xBB\xBF"
         "a\n",
         {0, 1},
         false,
         "X\n",
         "X\n"},
    };
    for (const Case& c : cases) {
        ScratchDirectory dir;
        InputDocument document;
        document.assign(c.document);
        Observations seen;
        seen.resultInNewWindow = c.newWindow;
        const Placement placement = decidePlacement(seen, c.served, document);
        const std::string destination = (dir.path() / "out").string();
        OutputFile spool;
        std::string error;
        ASSERT_TRUE(spool.open(destination, error));
        std::fputs(c.result.c_str(), spool.stream());
        ASSERT_TRUE(
            writeResult(document, placement, spool, {Destination::Kind::File, destination}, error))
            << c.name << error;
        spool.discard();
        EXPECT_EQ(readFile(destination), c.expected) << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                                std::filesystem::directory_iterator()),
                  1)
            << c.name;
    }
}

TEST(ProgressBar, Text) {
    EXPECT_EQ(ProgressBar::render("a.nc", 0, 1, 60), "a.nc [....................]   0%");
    EXPECT_EQ(ProgressBar::render("a.nc", 50, 1, 60), "a.nc [##########..........]  50%");
    EXPECT_EQ(ProgressBar::render("a.nc", 100, 2, 60), "a.nc [####################] 100% pass 2");
    // A long name is cut at its start; the bar never grows past the width.
    const std::string narrow = ProgressBar::render("a-very-long-program-name.nc", 7, 1, 30);
    EXPECT_EQ(narrow, "...m-name.nc [..........]   7%");
    EXPECT_EQ(narrow.size(), 30u);
    EXPECT_EQ(ProgressBar::render("name.nc", 140, 1, 16), "[##########] 100%");
}

TEST(ConverterCatalog, FindingAndDescribing) {
    ScratchDirectory dir;
    dir.write("Fanuc.conv",
              "[converter]\nname = Fanuc 0i\ndescription = ISO for Fanuc\noutput = iso\n");
    dir.write("broken.conv", "[converter]\nname = x\nno equals sign here\n");
    dir.write("notes.txt", "just notes\n");
    const std::string directory = dir.path().string();
    const auto all = listConverters(directory);
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].fileName, "Fanuc.conv");
    EXPECT_EQ(all[0].description, "ISO for Fanuc");
    EXPECT_EQ(all[0].output, "iso");
    EXPECT_EQ(all[1].fileName, "broken.conv");
    EXPECT_EQ(all[1].fault, "line 3: expected key = value");
    for (const char* name : {"Fanuc", "fanuc", "FANUC.CONV", "fanuc 0i"})
        EXPECT_EQ(findConverter(name, directory).value_or(ConverterEntry{}).fileName, "Fanuc.conv")
            << name;
    EXPECT_EQ(findConverter("notes", directory), std::nullopt);
    EXPECT_EQ(findConverter("sub/Fanuc", directory), std::nullopt);
    EXPECT_EQ(findConverter(directory + "/notes.txt", directory).value_or(ConverterEntry{}).fault,
              "line 1: expected key = value");
    EXPECT_EQ(converterListing(all),
              "  Fanuc.conv   ISO for Fanuc\n"
              "  broken.conv  (not usable: line 3: expected key = value)\n");
}

}  // namespace
}  // namespace morvane::cli
