// The converter dialog over fake services and a front end that performs the test's actions:
// opening (texts, format list, restored switches), its three handlers.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "fake_services.h"
#include "frontend/morvane_dialog.h"
#include "host_recorder.h"

namespace morvane::test {
namespace {

using testhost::HostRecorder;

// Performs `act` on the dialog.
class TestFrontEnd final : public QueuedFileAnswers {
  public:
    std::function<void(ModalDialog&)> act = [](ModalDialog&) {};
    void runModal(ModalDialog& dialog) override { act(dialog); }
};

// The state of the dialog's controls as the user sees it when the dialog has opened.
struct Switches {
    bool newWindow, selectionOnly, selectionEnabled, longhand, toNci, okEnabled;
    bool operator==(const Switches&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Switches& s) {
    return out << "newWindow " << s.newWindow << " selectionOnly " << s.selectionOnly
               << " selectionEnabled " << s.selectionEnabled << " longhand " << s.longhand
               << " toNci " << s.toNci << " okEnabled " << s.okEnabled;
}

Switches switchesOf(const ModalDialog& dialog) {
    return {dialog.isChecked(IDC_RESULT_NEW_WINDOW), dialog.isChecked(IDC_SELECTION_ONLY),
            dialog.isEnabled(IDC_SELECTION_ONLY),    dialog.isChecked(IDC_LONGHAND_CYCLES),
            dialog.isChecked(IDC_CONVERT_NCI),       dialog.isEnabled(IDOK)};
}

class DialogTest : public testing::Test {
  protected:
    void SetUp() override {
        FakePost::reset();
        state.lineSource = host.lineSource();
        state.resultStream = host.resultStream();
        converter = services.scratch.write("Converters/Fanuc.conv", "[converter]\n");
    }

    // Opens the dialog, lets `act` work on it, and returns the switches as they were right after
    // opening.
    Switches open(std::function<void(CMorvaneGUIDlg&)> act = {}) {
        Switches opened{};
        frontEnd.act = [&](ModalDialog& shown) {
            opened = switchesOf(shown);
            if (act) act(static_cast<CMorvaneGUIDlg&>(shown));
        };
        result = dialog.DoModal(frontEnd);
        return opened;
    }

    HostRecorder host{{"1003", "0 0 0"}};
    PluginState state;
    FakeServices services;
    TestFrontEnd frontEnd;
    CMorvaneGUIDlg dialog{&state, services};
    std::string converter;
    int result = 0;
};

TEST_F(DialogTest, FirstUseChecksOnlySelectionAndDisablesOk) {
    EXPECT_EQ(open(), (Switches{false, true, true, false, false, false}));
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(dialog.text(IDC_CONVERTER_PATH), L"");
    EXPECT_TRUE(host.events().empty());
    // Opening enters the keys it read, with empty values, except PostProcessor.
    EXPECT_EQ(state.config, (OptionMap{{"OutputToNCI", ""},
                                       {"ResInNewWindow", ""},
                                       {"SelectionOnly", ""},
                                       {"UseLonghandCycles", ""}}));
    EXPECT_EQ(state.options, (OptionMap{{"SELECTION", ""}}));
}

TEST_F(DialogTest, SwitchesAreRestoredFromTheConfiguration) {
    struct Case {
        OptionMap config;
        OptionMap options;
        Switches expected;
    };
    const Case cases[] = {
        {{{"ResInNewWindow", "True"}}, {}, {true, true, true, false, false, false}},
        {{{"ResInNewWindow", "true"}}, {}, {false, true, true, false, false, false}},
        {{{"SelectionOnly", "False"}}, {}, {false, false, true, false, false, false}},
        {{{"SelectionOnly", "false"}}, {}, {false, true, true, false, false, false}},
        {{{"SelectionOnly", "True"}},
         {{"SELECTION", "False"}},
         {false, false, false, false, false, false}},
        {{}, {{"SELECTION", "True"}}, {false, true, true, false, false, false}},
        {{{"UseLonghandCycles", "True"}}, {}, {false, true, true, true, false, false}},
        // "Convert to NCI format" is restored, but OK still needs an existing converter.
        {{{"OutputToNCI", "True"}}, {}, {false, true, true, false, true, false}},
        {{{"OutputToNCI", "True"}, {"PostProcessor", "/no/such/file.conv"}},
         {},
         {false, true, true, false, true, false}},
        {{{"PostProcessor", ""}}, {}, {false, true, true, false, false, false}},
    };
    for (const Case& c : cases) {
        state.config = c.config;
        state.options = c.options;
        EXPECT_EQ(open(), c.expected) << testing::PrintToString(c.config);
        EXPECT_EQ(dialog.text(IDC_CONVERTER_PATH), L"");
    }
}

TEST_F(DialogTest, ConvertToNciEnablesOkAndWithoutConverterDisablesIt) {
    struct Case {
        const char* situation;
        OptionMap config;
        std::vector<bool> okAfterEachClick;  // two clicks on "Convert to NCI format"
    };
    const Case cases[] = {
        {"first use: on enables OK, off disables it", {}, {true, false}},
        {"restored as checked without a converter: off, then on enables OK",
         {{"OutputToNCI", "True"}},
         {false, true}},
        {"with a converter shown OK stays enabled", {{"PostProcessor", converter}}, {true, true}},
    };
    for (const Case& c : cases) {
        state.config = c.config;
        std::vector<bool> okStates;
        open([&](CMorvaneGUIDlg& d) {
            for (int click = 0; click < 2; ++click) {
                d.click(IDC_CONVERT_NCI);
                okStates.push_back(d.isEnabled(IDOK));
            }
        });
        EXPECT_EQ(okStates, c.okAfterEachClick) << c.situation;
    }
}

TEST_F(DialogTest, TextsAreLocalisedWithDefaultsForMissingAnswers) {
    const std::map<int, std::wstring> defaults = {
        {IDC_FORMAT_LABEL, L"Choose original NC format:"},
        {IDC_CONVERTER_LABEL, L"Choose converter:"},
        {IDC_CONVERT_NCI, L"Convert to NCI format"},
        {IDC_RESULT_NEW_WINDOW, L"Result to new window"},
        {IDOK, L"OK"},
        {IDCANCEL, L"Cancel"},
        {IDC_SELECTION_ONLY, L"Selection Only"},
        {IDC_LONGHAND_CYCLES, L"Use longhand cycles"},
    };
    open();
    EXPECT_EQ(dialog.caption(), L"Morvane");
    for (const auto& [id, text] : defaults)
        EXPECT_EQ(dialog.text(id), text) << id;

    host.setTranslations({{"NCTESKPLUGIN_MORVANE_TITLE", L"Morvane Konverter"},
                          {"OK", L"Übernehmen"},
                          {"CANCEL", L""}});
    state.localizeSource = host.localizeSource();
    open();
    EXPECT_EQ(dialog.caption(), L"Morvane Konverter");
    EXPECT_EQ(dialog.text(IDOK), L"Übernehmen");
    EXPECT_EQ(dialog.text(IDCANCEL), L"Cancel");  // an empty answer keeps the default
    EXPECT_EQ(dialog.text(IDC_LONGHAND_CYCLES), L"Use longhand cycles");
    EXPECT_EQ(host.translationRequests().size(), kLocalisedTexts.size());

    LocalizeSource noContext = *host.localizeSource();
    noContext.context = nullptr;
    state.localizeSource = &noContext;
    open();
    EXPECT_EQ(dialog.caption(), L"Morvane");
    EXPECT_EQ(host.translationRequests().size(), kLocalisedTexts.size());
}

TEST_F(DialogTest, BrowsingSetsTheConverterOnlyWhenConfirmed) {
    frontEnd.answers = {std::nullopt};
    open([](CMorvaneGUIDlg& d) { d.click(IDC_BROWSE); });
    ASSERT_EQ(frontEnd.requests.size(), 1u);
    const FileOpenRequest& request = frontEnd.requests[0];
    EXPECT_EQ(request.initialDirectory, L"/opt/editor/Converters");
    EXPECT_EQ(request.defaultExtension, L"conv");
    EXPECT_EQ(request.initialFileName, L"*.conv");
    EXPECT_EQ(request.filter, L"Converters (*.conv)|*.conv|All Files (*.*)|*.*||");
    EXPECT_TRUE(request.fileMustExist);
    EXPECT_TRUE(request.hideReadOnly);
    EXPECT_EQ(findSetting(state.config, "PostProcessor"), nullptr);

    const std::wstring chosen = L"/opt/editor/Converters/Dreh=Fräs;.conv";
    frontEnd.answers = {chosen};
    bool okAfter = false;
    open([&](CMorvaneGUIDlg& d) {
        d.click(IDC_BROWSE);
        okAfter = d.isEnabled(IDOK);
    });
    EXPECT_TRUE(okAfter);
    EXPECT_EQ(dialog.text(IDC_CONVERTER_PATH), chosen);
    ASSERT_NE(findSetting(state.config, "PostProcessor"), nullptr);
    EXPECT_EQ(*findSetting(state.config, "PostProcessor"),
              "/opt/editor/Converters/Dreh=Fr\xC3\xA4s;.conv");
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(host.events().empty());  // the choice reaches the host only with a conversion
}

TEST_F(DialogTest, OkEndsTheDialogAndRunsOneConversion) {
    services.installPost();
    state.config = {{"PostProcessor", converter}};
    frontEnd.answers = {};
    open([](CMorvaneGUIDlg& d) {
        d.selectEntry(IDC_FORMAT, L"NCI");
        d.click(IDC_LONGHAND_CYCLES);
        d.click(IDC_CONVERT_NCI);
        d.click(IDOK);
        EXPECT_TRUE(d.hasEnded());
        d.click(IDOK);  // a second click after the end changes nothing
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(host.resultLines(), (std::vector<std::string>{"1003", "0 0 0"}));
    EXPECT_EQ(services.temporaryFiles.size(), 2u);
    EXPECT_NE(dialog.postEntryPoints().nciConverter, nullptr);
}

}  // namespace
}  // namespace morvane::test
