// The conversion driver over fake services: what the host receives, in which order, and what
// each failure does.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "fake_services.h"
#include "frontend/conversion_driver.h"
#include "host_recorder.h"
#include "support/memory_program.h"
#include "support/table_file.h"

namespace morvane::test {
namespace {

using testhost::HostEvent;
using testhost::HostRecorder;
using testhost::lineEvent;
using testhost::propertyEvent;

constexpr int kFanuc = 0;
constexpr int kNci = 5;

class DriverTest : public testing::Test {
  protected:
    void SetUp() override {
        FakePost::reset();
        FakeParsers::reset();
        state.lineSource = host.lineSource();
        state.resultStream = host.resultStream();
    }

    void run(const ConversionChoices& choices) {
        ConversionDriver(state, services, entries, &FakeParsers::make).run(choices);
    }

    static ConversionChoices nciChoices() {
        ConversionChoices choices;
        choices.formatPosition = kNci;
        choices.convertToNci = true;
        return choices;
    }

    // What the NCI file held when the driver removed it.
    std::string removedNci() const { return services.removed.at(services.temporaryFiles.at(0)); }

    std::vector<std::string> entryCalls() const {
        std::vector<std::string> names;
        for (const auto& call : FakePost::calls)
            names.push_back(call.front());
        return names;
    }

    HostRecorder host{{"G0 X0", "", "M30"}};
    PluginState state;
    FakeServices services;
    PostEntryPoints entries;
};

// A set-up word of frontend/failures.txt: the post-processor installed, with one fault.
void setUp(FakeServices& s, const std::string& word) {
    if (word == "no-supported-cycles") return s.installPost(false, true);
    if (word == "no-converter") return s.installPost(true, false);
    s.installPost();
    if (word == "no-reader") s.files.erase(FakeServices::kReader);
    else if (word == "no-post") s.files.erase(FakeServices::kPost);
    else if (word == "no-libraries") s.libraries.clear();
    else if (word == "null-table") FakePost::nullTable = true;
    else if (word == "no-temporary-files") s.failTemporaryFiles = true;
    else if (word == "write-fails") FakeParsers::ending = FakeParsers::Ending::WriteFailed;
    else if (word == "result-removed") FakePost::removeResultFile = true;
    else if (word == "post-fails") FakePost::answerFailure = true;
    else if (word != "post") ADD_FAILURE() << "no set-up " << word;
    if (word == "post-fails") FakePost::output = "N10 G0";
}

ConversionChoices choose(int format, bool toNci, bool longhand, bool newWindow) {
    ConversionChoices choices;
    choices.formatPosition = format;
    choices.convertToNci = toNci;
    choices.longhandCycles = longhand;
    choices.resultInNewWindow = newWindow;
    choices.converterPath = "/opt/editor/Converters/Fanuc.conv";
    return choices;
}

// The choices of a row: the format, then the boxes checked.
ConversionChoices choicesOf(const std::string& text) {
    const std::vector<std::string> words = splitWords(text);
    const auto checked = [&](const char* what) {
        return std::find(words.begin() + 1, words.end(), what) != words.end();
    };
    return choose(words.front() == "fanuc" ? kFanuc : kNci, checked("nci"), checked("longhand"),
                  checked("window"));
}

// The events of a row, and with `diagnostic` (not empty) where the host receives it.
std::vector<HostEvent> eventsOf(const std::string& text, const std::string& diagnostic) {
    std::vector<HostEvent> events;
    std::istringstream pieces(text);
    for (std::string piece; std::getline(pieces, piece, '&');) {
        piece = piece.substr(piece.find_first_not_of(' '));
        piece = piece.substr(0, piece.find_last_not_of(' ') + 1);
        const std::size_t eq = piece.find('=');
        if (piece.starts_with("line:")) events.push_back(lineEvent(piece.substr(5)));
        else events.push_back(propertyEvent(piece.substr(0, eq), piece.substr(eq + 1)));
    }
    if (diagnostic.empty()) return events;
    auto at = events.begin();
    while (at != events.end() && at->name != "RESULT_IN_NEW_WINDOW" && at->name != "PLUGIN_CONFIG")
        ++at;
    events.insert(at, propertyEvent("DIAGNOSTIC", diagnostic));
    return events;
}

TEST_F(DriverTest, EveryRowOfTheFailureTable) {
    for (const TableRow& row : readTable("frontend/failures.txt")) {
        for (const bool diagnostics : {false, true}) {
            SCOPED_TRACE(row.where + (diagnostics ? ", with diagnostics" : ""));
            FakePost::reset();
            FakeParsers::reset();
            FakeServices fresh;
            PluginState rowState;
            rowState.config = {{"OutputToNCI", "True"}, {"UseLonghandCycles", ""}};
            if (diagnostics) rowState.options = {{"DIAGNOSTICS", "True"}};
            HostRecorder rowHost{{"G0 X0", "", "M30"}};
            rowState.lineSource = rowHost.lineSource();
            rowState.resultStream = rowHost.resultStream();
            setUp(fresh, row.at(0));
            PostEntryPoints rowEntries;
            ConversionDriver(rowState, fresh, rowEntries, &FakeParsers::make)
                .run(choicesOf(row.at(1)));
            EXPECT_EQ(rowHost.events(), eventsOf(row.at(2), diagnostics ? row.at(4) : ""));
            std::vector<std::string> calls = splitWords(row.at(3));
            if (calls == std::vector<std::string>{"-"}) calls.clear();
            EXPECT_EQ(entryCalls(), calls);
            for (const std::string& path : fresh.temporaryFiles)
                EXPECT_FALSE(std::filesystem::exists(path)) << path;
        }
    }
}

TEST_F(DriverTest, AFullPostRunTellsTheHostInOrderAndPassesEveryPath) {
    services.installPost();
    FakePost::output = "N10 G0 X0\r\nN20 M30\r\n";
    FakeParsers::text = "1003\n0 0 0\n";
    ConversionChoices choices = choose(kFanuc, false, true, true);
    choices.selectionOnly = false;
    choices.converterPath = "/opt/editor/Converters/Fräse.conv";
    run(choices);

    EXPECT_EQ(host.events(),
              (std::vector<HostEvent>{
                  propertyEvent("SELECTION_ONLY", "false"),
                  propertyEvent("UseLonghandCycles", "true"), lineEvent("N10 G0 X0"),
                  lineEvent("N20 M30"), propertyEvent("RESULT_IN_NEW_WINDOW", "true"),
                  propertyEvent("PLUGIN_CONFIG",
                                "OutputToNCI=False;ResInNewWindow=True;SelectionOnly=False;"
                                "UseLonghandCycles=True;")}));
    ASSERT_EQ(services.temporaryFiles.size(), 2u);
    const std::string& nciPath = services.temporaryFiles[0];
    const std::string& resultPath = services.temporaryFiles[1];
    EXPECT_EQ(
        FakePost::calls,
        (std::vector<std::vector<std::string>>{
            {"NCIConverter", nciPath, resultPath, choices.converterPath, FakeServices::kPost}}));
    ASSERT_EQ(FakeParsers::built.size(), 1u);
    EXPECT_EQ(FakeParsers::built[0].position, kFanuc);
    EXPECT_EQ(FakeParsers::built[0].lines, host.lineSource());
    EXPECT_EQ(FakeParsers::built[0].nciPath, nciPath);
    EXPECT_TRUE(FakeParsers::built[0].cycles.empty());
    // Both working files are removed at the end, holding the NCI text and the result.
    EXPECT_EQ(services.removed.at(nciPath), "1003\n0 0 0\n");
    EXPECT_EQ(services.removed.at(resultPath), FakePost::output);
    EXPECT_EQ(services.loads, (std::vector<std::string>{FakeServices::kReader}));
    EXPECT_NE(entries.nciConverter, nullptr);
    EXPECT_NE(entries.getSupportedCycles, nullptr);
}

TEST_F(DriverTest, NciLinesAreCopiedWithALineFeedEachAndNullLinesReadEmpty) {
    services.installPost();
    HostRecorder withGaps{{"1005", "", "text with  blanks ", "1003"}};
    state.lineSource = withGaps.lineSource();
    ConversionChoices choices = nciChoices();
    choices.longhandCycles = true;
    run(choices);
    ASSERT_FALSE(services.temporaryFiles.empty());
    EXPECT_EQ(removedNci(), "1005\n\ntext with  blanks \n1003\n");
    EXPECT_EQ(withGaps.lineRequests(), (std::vector<std::int32_t>{0, 1, 2, 3}));
    EXPECT_EQ(host.resultLines(),
              (std::vector<std::string>{"1005", "", "text with  blanks ", "1003"}));
    EXPECT_TRUE(FakeParsers::built.empty());

    // A host that answers null for a line, or has no line source at all.
    LineSource nullLines{nullptr,
                         [](void*, std::int32_t* n) {
                             *n = 2;
                             return 1;
                         },
                         [](void*, std::int32_t, const char** t) {
                             *t = nullptr;
                             return 1;
                         }};
    for (LineSource* source : {&nullLines, static_cast<LineSource*>(nullptr)}) {
        host.clearEvents();
        services.temporaryFiles.clear();
        state.lineSource = source;
        run(choices);
        ASSERT_FALSE(services.temporaryFiles.empty());
        EXPECT_EQ(removedNci(), source != nullptr ? "\n\n" : "");
    }
}

TEST_F(DriverTest, ARejectedCycleParameterEndsTheProgramButNotTheRun) {
    services.installPost();
    for (auto ending :
         {FakeParsers::Ending::CycleWrongValue, FakeParsers::Ending::CycleWrongCode}) {
        host.clearEvents();
        FakeParsers::text = "1050\n0 0 0 0 0 0 0 0 1\n";
        FakeParsers::ending = ending;
        run(choose(kFanuc, true, true, false));
        EXPECT_EQ(host.resultLines(), (std::vector<std::string>{"1050", "0 0 0 0 0 0 0 0 1"}));
        EXPECT_TRUE(host.property("PLUGIN_CONFIG").has_value());
    }
}

TEST_F(DriverTest, WithoutAParserOrASelectionTheNciFileStaysEmpty) {
    services.installPost();
    FakeParsers::none = true;
    for (int position : {kFanuc, 4, -1, 6}) {
        host.clearEvents();
        services.temporaryFiles.clear();
        run(choose(position, true, true, false));
        EXPECT_TRUE(host.resultLines().empty()) << position;
        EXPECT_TRUE(host.property("PLUGIN_CONFIG").has_value()) << position;
        ASSERT_FALSE(services.temporaryFiles.empty());
        EXPECT_EQ(removedNci(), "") << position;
    }
}

TEST_F(DriverTest, ResultFileLinesKeepOnlyCarriageReturnsNotBeforeALineFeed) {
    services.installPost();
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"", {}},
        {"one", {"one"}},
        {"one\n", {"one"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\n", {"a\rb"}},
        {"a\r", {"a\r"}},
        {"\n\n", {"", ""}},
        {"\r\n", {""}},
        {std::string(70000, 'x') + "\r\n" + std::string(65535, 'y') + "\r\nz",
         {std::string(70000, 'x'), std::string(65535, 'y'), "z"}},
        // The file is read a megabyte at a time (less one byte): a CR LF split by a read, a line
        // that ends exactly with a read, and lines longer than the whole buffer.
        {std::string((1 << 20) - 2, 'a') + "\r\nb", {std::string((1 << 20) - 2, 'a'), "b"}},
        {std::string((1 << 20) - 2, 'a') + "\n\rb\n", {std::string((1 << 20) - 2, 'a'), "\rb"}},
        {std::string(3 << 20, 'c') + "\r\n" + std::string((2 << 20) + 5, 'd'),
         {std::string(3 << 20, 'c'), std::string((2 << 20) + 5, 'd')}},
    };
    for (const auto& [output, lines] : cases) {
        host.clearEvents();
        FakePost::output = output;
        run(choose(kFanuc, false, true, false));
        EXPECT_EQ(host.resultLines(), lines) << output.substr(0, 20);
        EXPECT_EQ(host.badLengths(), 0);
    }
}

}  // namespace
}  // namespace morvane::test
