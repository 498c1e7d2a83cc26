// Faults of the host and of the file system met through the plug-in's exports: a host without a
// line source or result stream, one that answers no text, a line count below zero or one that
// changes between actions, an NCI line of ten megabytes, binary lines, and a temporary directory
// that is missing or cannot be written. None may crash; each ends as docs/limits.md says.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fake_services.h"
#include "nci/limits.h"
#include "recording_host.h"
#include "support/nci_check.h"

namespace morvane::test {
namespace {

using testhost::HostEvent;
using testhost::propertyEvent;
using testhost::RecordingHost;

const std::string kConverters = std::string(MORVANE_BINARY_DIR) + "/bin/Converters/";
constexpr const char* kDialects[] = {"Fanuc", "Heidenhain", "Siemens", "Sinumerik",
                                     "G&L Numeripath"};

std::string longhandScript(const std::string& format) {
    return "select " + format + "; check IDC_CONVERT_NCI; check IDC_LONGHAND_CYCLES; click IDOK";
}

// With the shipped converter that writes drill cycles natively, still returning NCI.
std::string nativeScript(const std::string& format) {
    return "file " + kConverters + "Fanuc.conv; click IDC_BROWSE; select " + format +
           "; check IDC_CONVERT_NCI; click IDOK";
}

// A host document whose count and texts misbehave as a test wants. Lines below the count it
// reported last are served from `lines` (null beyond them, or always null with `nullText`).
class OddDocument {
  public:
    explicit OddDocument(std::vector<std::int32_t> counts, std::vector<std::string> lines = {},
                         bool nullText = false)
        : counts_(std::move(counts)), lines_(std::move(lines)), nullText_(nullText) {}

    LineSource* source() { return &source_; }
    int countRequests() const { return countRequests_; }

  private:
    static std::int32_t count(void* context, std::int32_t* n) {
        auto* self = static_cast<OddDocument*>(context);
        const std::size_t next = static_cast<std::size_t>(self->countRequests_++);
        *n = self->counts_[std::min(next, self->counts_.size() - 1)];
        self->reported_ = *n;
        return 1;
    }
    static std::int32_t line(void* context, std::int32_t index, const char** text) {
        auto* self = static_cast<OddDocument*>(context);
        const bool inside = index >= 0 && index < self->reported_ &&
                            static_cast<std::size_t>(index) < self->lines_.size();
        *text = !self->nullText_ && inside ? self->lines_[static_cast<std::size_t>(index)].c_str()
                                           : nullptr;
        return 1;
    }

    std::vector<std::int32_t> counts_;  // answered in turn; the last one from then on
    std::vector<std::string> lines_;
    bool nullText_;
    int countRequests_ = 0;
    std::int32_t reported_ = 0;
    LineSource source_{this, &OddDocument::count, &OddDocument::line};
};

class HostFaults : public testing::Test {
  protected:
    void SetUp() override { TeskPlugin_ClearOptions(); }
    void TearDown() override {
        TeskPlugin_ClearOptions();
        // Every action removed its working files, however it ended.
        EXPECT_TRUE(std::filesystem::is_empty(temporary_.path()));
    }

    // What the host receives when the plug-in reads `document` with `script`. Each action starts
    // from an empty configuration, as at the first use (a stored "Convert to NCI format" would
    // otherwise come back checked with OK disabled).
    static std::vector<HostEvent> perform(OddDocument& document, const std::string& script) {
        TeskPlugin_ClearOptions();
        RecordingHost host;
        host.attach();
        TeskPlugin_attatchLineSource(document.source());
        host.perform(script);
        return host.events();
    }
    static std::vector<HostEvent> perform(std::vector<std::string> lines,
                                          const std::string& script, bool diagnostics = false) {
        TeskPlugin_ClearOptions();
        if (diagnostics) TeskPlugin_SetOption(MORVANE_OPTION_DIAGNOSTICS, "True");
        RecordingHost host(std::move(lines));
        host.attach();
        host.perform(script);
        return host.events();
    }

    ScratchDirectory temporary_;
    ScopedVariable tmpdir_{"TMPDIR", temporary_.path().string()};
};

std::vector<std::string> resultLines(const std::vector<HostEvent>& events) {
    std::vector<std::string> lines;
    for (const HostEvent& e : events)
        if (e.kind == HostEvent::Kind::Line) lines.push_back(e.text);
    return lines;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

TEST_F(HostFaults, NoTextAndCountsBelowZeroReadAsEmptyLinesAndAnEmptyProgram) {
    std::vector<std::string> formats(std::begin(kDialects), std::end(kDialects));
    formats.push_back("NCI");
    for (const std::string& format : formats) {
        SCOPED_TRACE(format);
        const std::string script = longhandScript(format);
        OddDocument noText({4}, {"G0 X1", "L X+1", "1003", "0 0 0"}, true);
        EXPECT_EQ(perform(noText, script), perform({"", "", "", ""}, script));
        for (const std::int32_t count : {-1, -7, std::numeric_limits<std::int32_t>::min()}) {
            OddDocument negative({count}, {"G0 X1", "M30"});
            EXPECT_EQ(perform(negative, script), perform(std::vector<std::string>{}, script));
        }
    }
}

TEST_F(HostFaults, WithoutALineSourceOrAResultStreamTheActionEndsBeforeTheDialog) {
    RecordingHost host({"1003"});
    host.attach();
    TeskPlugin_attatchLineSource(nullptr);
    EXPECT_EQ(host.perform(longhandScript("NCI")), 1);
    EXPECT_TRUE(host.events().empty());
    host.attach();
    TeskPlugin_attatchResultStream(nullptr);
    EXPECT_EQ(host.perform(longhandScript("NCI")), 1);
    EXPECT_TRUE(host.events().empty());
}

TEST_F(HostFaults, ACountThatChangesBetweenActionsIsAskedOnceInEach) {
    const std::vector<std::string> lines = {"G0 X1", "G1 X2 Y3", "M30"};
    for (const char* format : {"Fanuc", "Heidenhain", "NCI"}) {
        SCOPED_TRACE(format);
        const std::string script = longhandScript(format);
        OddDocument document({3, 6, -2}, lines);
        std::vector<std::string> longer = lines;
        longer.resize(6);
        EXPECT_EQ(perform(document, script), perform(lines, script));
        EXPECT_EQ(document.countRequests(), 1);
        EXPECT_EQ(perform(document, script), perform(longer, script));
        EXPECT_EQ(document.countRequests(), 2);
        EXPECT_EQ(perform(document, script), perform(std::vector<std::string>{}, script));
        EXPECT_EQ(document.countRequests(), 3);
    }
}

TEST_F(HostFaults, AnNciLineOfTenMegabytesIsHandedBackWhole) {
    // The dialects cut their lines at the program source's bound (limits_test); the format NCI
    // hands the host's lines back unchanged.
    const std::string line(10 << 20, '7');
    const auto events = perform({line, "M30"}, longhandScript("NCI"));
    EXPECT_EQ(resultLines(events), (std::vector<std::string>{line, "M30"}));
}

// Lines of every byte but NUL, invalid UTF-8 among them.
std::vector<std::string> binaryLines() {
    std::vector<std::string> lines = {"\xC0\x80 G1 X1", "\xFF\xFE\xFD", "\x80\x80\x80 L X+1",
                                      "(\xED\xA0\x80)", "G1 X\xE2\x82", "\x1B[2J\x07\x08"};
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(0, 120);
    for (int i = 0; i < 400; ++i) {
        std::string line(static_cast<std::size_t>(length(random)), ' ');
        for (char& c : line)
            c = static_cast<char>(byte(random));
        lines.push_back(std::move(line));
    }
    return lines;
}

TEST_F(HostFaults, BinaryLinesConvertToWellFormedNci) {
    const std::vector<std::string> lines = binaryLines();
    for (const std::string format : kDialects) {
        for (const std::string& script : {longhandScript(format), nativeScript(format)}) {
            SCOPED_TRACE(script);
            const auto events = perform(lines, script);
            ASSERT_FALSE(events.empty());
            EXPECT_EQ(events.back().name, "PLUGIN_CONFIG");
            const std::string nci = joined(resultLines(events));
            EXPECT_EQ(format == "Heidenhain" ? checkNciRecords(nci) : checkIsoProgram(nci), "");
        }
    }
    // "NCI" hands the lines back as they are, each up to a line feed inside it.
    std::vector<std::string> asRead;
    for (const std::string& line : lines)
        asRead.push_back(line.substr(0, line.find('\n')));
    ASSERT_NE(asRead, lines);  // the random bytes hold line feeds
    EXPECT_EQ(resultLines(perform(lines, longhandScript("NCI"))), asRead);
}

TEST_F(HostFaults, ATemporaryDirectoryThatIsMissingOrCannotBeWritten) {
    const std::vector<std::string> program = {"G0 X1", "M30"};
    const std::vector<HostEvent> usual = perform(program, longhandScript("Fanuc"));
    ASSERT_EQ(resultLines(usual).size(), 6u);

    // A missing directory: the files go to /tmp, the conversion is the usual one.
    tmpdir_.set((temporary_.path() / "missing").string());
    EXPECT_EQ(perform(program, longhandScript("Fanuc")), usual);

    // No file can be made in /proc, not even by root: the conversion stops before it begins,
    // the host receives no line and, when it asks, why.
    tmpdir_.set("/proc");
    const HostEvent config = propertyEvent(
        "PLUGIN_CONFIG", "OutputToNCI=;ResInNewWindow=False;SelectionOnly=True;UseLonghandCycles=;");
    const HostEvent why = propertyEvent(
        "DIAGNOSTIC",
        "0:no-working-file: cannot make a working file in the temporary directory /proc: No such "
        "file or directory; set TMPDIR to a writable directory");
    for (const char* format : {"Fanuc", "NCI"}) {
        EXPECT_EQ(perform(program, longhandScript(format)),
                  (std::vector<HostEvent>{propertyEvent("SELECTION_ONLY", "true"), config}));
        EXPECT_EQ(perform(program, longhandScript(format), true),
                  (std::vector<HostEvent>{propertyEvent("SELECTION_ONLY", "true"), why, config}));
    }
}

}  // namespace
}  // namespace morvane::test
