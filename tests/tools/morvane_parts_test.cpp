// The command-line host's pieces on their own: the command line, format recognition, the
// document and its line terminators, where a result goes, the dialog script, the stored
// configuration, translations, the progress bar's text and the host's records (the program
// itself, end to end: morvane_cli_test with runs.txt).
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
#include "diagnostic_report.h"
#include "dialog_script.h"
#include "editor_host.h"
#include "failure_report.h"
#include "formats/source_formats.h"
#include "frontend/morvane_dialog.h"
#include "input_document.h"
#include "locale_file.h"
#include "morvane_runner.h"
#include "output_file.h"
#include "progress_bar.h"
#include "result_placement.h"
#include "support/table_file.h"
#include "text/text_encoding.h"

namespace morvane::cli {
namespace {

using test::readFile;
using test::ScratchDirectory;

// The whole document written back into a file, as that file reads; "<failed>" when it could not
// be written.
std::string writtenBack(const InputDocument& document) {
    ScratchDirectory dir;
    const std::string path = (dir.path() / "copy").string();
    morvane::BufferedFile out;
    const bool written = out.open(path) && document.writeLines(out, 0, document.lineCount());
    return out.close() && written ? readFile(path) : "<failed>";
}

void checkMistake(const test::TableRow& row) {
    CommandLine line;
    std::string error;
    EXPECT_FALSE(parseCommandLine(test::splitWords(row.at(1)), line, error)) << row.where;
    EXPECT_NE(error.find(row.at(2)), std::string::npos) << row.where << ": " << error;
}

void checkLines(const test::TableRow& row) {
    const auto selection = parseLineSelection(row.at(1));
    std::string text = "refused";
    if (selection)
        text = std::to_string(selection->first) + " " +
               (selection->last ? std::to_string(*selection->last) : "-");
    EXPECT_EQ(text, row.at(2)) << row.where;
}

void checkBytes(const test::TableRow& row) {
    const auto bytes = parseByteSize(row.at(1));
    EXPECT_EQ(bytes ? std::to_string(*bytes) : "refused", row.at(2)) << row.where;
}

void checkDetection(const test::TableRow& row) {
    InputDocument document;
    document.assign(test::unescaped(row.at(2)));
    const Detection detection = detectFormat(row.at(1), document.head(200));
    const auto expected = formatByOption(row.at(3));
    EXPECT_EQ(detection.format, expected) << row.where;
    EXPECT_TRUE(expected || row.at(3) == "none") << row.where << ": no format " << row.at(3);
    EXPECT_NE(detection.reason.find(row.at(4)), std::string::npos)
        << row.where << ": " << detection.reason;
}

void checkDiagnostic(const test::TableRow& row) {
    const Semantics semantics = row.at(4) == "exact" ? Semantics::Exact : Semantics::Corrected;
    EXPECT_EQ(formatDiagnostic("p.nc", parseDiagnostic(row.at(1), std::stoi(row.at(2)), semantics)),
              row.at(3))
        << row.where;
}

void checkDocument(const test::TableRow& row) {
    const std::string text = test::unescaped(row.at(1));
    const std::string refused = row.at(2).starts_with("refused: ") ? row.at(2).substr(9) : "";
    InputDocument document;
    std::string error;
    ASSERT_EQ(document.assign(text, &error), refused.empty()) << row.where << ": " << error;
    EXPECT_NE(error.find(refused), std::string::npos) << row.where << ": " << error;
    const std::size_t lines = refused.empty() ? row.fields.size() - 3 : 0;
    ASSERT_EQ(document.lineCount(), static_cast<std::int32_t>(lines)) << row.where;
    for (std::size_t i = 0; i < lines; ++i) {
        const auto index = static_cast<std::int32_t>(i);
        const std::string line = test::unescaped(row.at(3 + i));
        EXPECT_EQ(document.line(index), line) << row.where;
        EXPECT_EQ(std::string(document.lineText(index)), line.c_str()) << row.where;
    }
    EXPECT_EQ(document.lineText(document.lineCount()), nullptr) << row.where;
    EXPECT_EQ(document.lineText(-1), nullptr) << row.where;
    if (!refused.empty()) return;
    EXPECT_EQ(document.terminator(), test::unescaped(row.at(2))) << row.where;
    EXPECT_EQ(std::string(document.byteOrderMark()) + writtenBack(document), text) << row.where;
}

void checkPlacement(const test::TableRow& row) {
    ScratchDirectory dir;
    InputDocument document;
    document.assign(test::unescaped(row.at(1)));
    Observations seen;
    seen.resultInNewWindow = row.at(3) == "window";
    LineRange served{};
    std::istringstream(row.at(2)) >> served.first >> served.count;
    const Placement placement = decidePlacement(seen, served, document);
    const std::string destination = (dir.path() / "out").string();
    OutputFile spool;
    std::string error;
    ASSERT_TRUE(spool.open(destination, error)) << row.where;
    std::fputs(test::unescaped(row.at(4)).c_str(), spool.stream());
    ASSERT_TRUE(
        writeResult(document, placement, spool, {Destination::Kind::File, destination}, error))
        << row.where << error;
    spool.discard();
    EXPECT_EQ(readFile(destination), test::unescaped(row.at(5))) << row.where;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1)
        << row.where;
}

void checkConfig(const test::TableRow& row) {
    const ConfigSummary summary = summarizeConfig(test::unescaped(row.at(1)));
    EXPECT_EQ(summary.outputToNci, row.at(2) == "yes") << row.where;
    EXPECT_EQ(summary.longhandCycles, row.at(3) == "yes") << row.where;
    EXPECT_EQ(summary.converterPath, test::unescaped(row.at(4))) << row.where;
}

void checkProgress(const test::TableRow& row) {
    EXPECT_EQ(ProgressBar::render(row.at(1), std::stoi(row.at(2)), std::stoi(row.at(3)),
                                  std::stoi(row.at(4))),
              row.at(5))
        << row.where;
}

void checkLocale(const test::TableRow& row) {
    LocaleTable table;
    std::string error;
    const bool parsed = table.parse(test::unescaped(row.at(1)), error);
    const wchar_t* text = parsed ? table.find(row.at(2)) : nullptr;
    EXPECT_EQ(parsed ? (text ? wideToUtf8(text) : "missing") : "refused: " + error, row.at(3))
        << row.where;
}

// The table tools/command_line.txt.
TEST(CommandLineTable, EveryRow) {
    const std::map<std::string, void (*)(const test::TableRow&)> kinds = {
        {"mistake", checkMistake},     {"lines", checkLines},           {"bytes", checkBytes},
        {"detect", checkDetection},    {"diagnostic", checkDiagnostic}, {"document", checkDocument},
        {"placement", checkPlacement}, {"config", checkConfig},         {"progress", checkProgress},
        {"locale", checkLocale}};
    for (const test::TableRow& row : test::readTable("tools/command_line.txt")) {
        const auto kind = kinds.find(row.at(0));
        if (kind == kinds.end())
            ADD_FAILURE() << row.where << ": no kind " << row.at(0);
        else
            kind->second(row);
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

TEST(InputDocument, OneLineMoreThanAProgramMayHaveIsRefused) {
    // Counted before it is indexed.
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

// The host's records as the plug-in calls them (the lines it serves, a selection or all: the
// placement rows of runs.txt).
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
    ScratchDirectory dir;
    const std::string spoolPath = (dir.path() / "spool").string();
    InputDocument document;
    std::FILE* spool = nullptr;
};

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
    EXPECT_EQ(seen.diagnostics,
              (std::vector<std::string>{"2:limit-reached: cut", "0:write-failed: lost"}));
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

TEST(LocaleTable, TheShippedGermanTranslationCoversEveryText) {
    LocaleTable table;
    std::string error;
    ASSERT_TRUE(table.read(std::string(MORVANE_SOURCE_DIR) + "/apps/morvane/locale/de.conf", error))
        << error;
    // Every text the dialog asks the host for, and nothing else.
    for (const LocalisedText& text : kLocalisedTexts) {
        ASSERT_NE(table.find(text.key), nullptr) << text.key;
        EXPECT_NE(std::wstring(table.find(text.key)), L"") << text.key;
    }
    EXPECT_EQ(table.size(), kLocalisedTexts.size());
}

// The dialog scripts of the choices are said by -v (runs.txt); some paths cannot be in one.
TEST(DialogScript, PathsTheScriptCannotHoldAreRefused) {
    for (const char* path : {"/a;b.conv", " /lead.conv", "/trail.conv ", ""}) {
        DialogChoices choices;
        choices.converterPath = path;
        std::string error;
        EXPECT_EQ(buildDialogScript(choices, error), std::nullopt) << path;
        EXPECT_NE(error.find("cannot be handed to the dialog"), std::string::npos);
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

}  // namespace
}  // namespace morvane::cli
