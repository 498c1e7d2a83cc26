// The scripted dialog front end: the grammar of MORVANE_DIALOG and how its actions reach a
// dialog.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/dialog_script.h"
#include "platform/scripted_front_end.h"

namespace morvane::platform {
namespace {

using Verb = DialogAction::Verb;

TEST(DialogScript, ParsesActionsBetweenSemicolons) {
    struct Case {
        const char* script;
        std::vector<std::pair<Verb, std::string>> actions;
    };
    const Case cases[] = {
        {"", {}},
        {" ; ;;", {}},
        {"click IDOK", {{Verb::Click, "IDOK"}}},
        {"  select   G&L Numeripath  ;check IDC_CONVERT_NCI",
         {{Verb::Select, "G&L Numeripath"}, {Verb::Check, "IDC_CONVERT_NCI"}}},
        {"uncheck IDC_SELECTION_ONLY;\tclick\tIDOK\t;",
         {{Verb::Uncheck, "IDC_SELECTION_ONLY"}, {Verb::Click, "IDOK"}}},
        {"file /tmp/a b.conv; file; file  ",
         {{Verb::File, "/tmp/a b.conv"}, {Verb::File, ""}, {Verb::File, ""}}},
        {"select Heidenhain; terminal", {{Verb::Select, "Heidenhain"}, {Verb::Terminal, ""}}},
        {"press IDOK; click; select; Click IDOK; clickIDOK", {}},  // unknown or incomplete
    };
    for (const Case& c : cases) {
        std::vector<std::pair<Verb, std::string>> got;
        for (const DialogAction& action : parseDialogScript(c.script))
            got.emplace_back(action.verb, action.argument);
        EXPECT_EQ(got, c.actions) << c.script;
    }
}

constexpr int kBox = 10;       // a check box with a handler
constexpr int kPlainBox = 11;  // a check box without one
constexpr int kBrowse = 12;    // asks for a file
constexpr int kList = 13;
constexpr int kGreyButton = 14;  // disabled

constexpr ControlTemplate kControls[] = {
    {IDOK, "IDOK", ControlKind::DefaultPushButton, 0, 0, 10, 10, L"OK"},
    {IDCANCEL, "IDCANCEL", ControlKind::PushButton, 0, 0, 10, 10, L"Cancel"},
    {kBox, "BOX", ControlKind::CheckBox, 0, 0, 10, 10, L"Box"},
    {kPlainBox, "PLAIN", ControlKind::CheckBox, 0, 0, 10, 10, L"Plain"},
    {kBrowse, "BROWSE", ControlKind::ImageButton, 0, 0, 10, 10, L""},
    {kList, "LIST", ControlKind::DropDownList, 0, 0, 10, 10, L""},
    {kGreyButton, "GREY", ControlKind::PushButton, 0, 0, 10, 10, L"Grey"},
};
constexpr DialogTemplate kTemplate{L"Test", 100, 100, kControls};

// Records what its handlers see.
class ProbeDialog final : public ModalDialog {
  public:
    ProbeDialog() : ModalDialog(kTemplate) {}
    std::vector<std::string> log;

  protected:
    bool OnInitDialog() override {
        addEntry(kList, L"Fanuc");
        addEntry(kList, L"G&L Numeripath");
        addEntry(kList, L"Fräsen");
        select(kList, 0);
        enable(kGreyButton, false);
        return true;
    }
    bool OnCommand(int id) override {
        if (id == kBox) {
            log.push_back(isChecked(kBox) ? "box on" : "box off");
        } else if (id == kBrowse) {
            const auto path = askOpenFile({});
            log.push_back(path ? "file " + std::string(path->begin(), path->end()) : "no file");
        } else if (id == kGreyButton) {
            log.push_back("grey");
        } else if (id == IDOK) {
            log.push_back("ok");
            EndDialog(IDOK);
        } else {
            return false;
        }
        return true;
    }
};

struct RunResult {
    int result;
    std::vector<std::string> log;
    bool plainChecked;
    int listSelection;
};

RunResult runScript(const std::string& script) {
    ProbeDialog dialog;
    ScriptedFrontEnd frontEnd(script);
    const int result = dialog.DoModal(frontEnd);
    return {result, dialog.log, dialog.isChecked(kPlainBox), dialog.selection(kList)};
}

TEST(ScriptedFrontEnd, PerformsActionsUntilTheDialogEnds) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "morvane-script-test.conv";
    std::ofstream(file) << "x";
    const std::string existing = file.string();
    struct Case {
        std::string script;
        int result;
        std::vector<std::string> log;
        bool plainChecked;
        int listSelection;
    };
    const Case cases[] = {
        {"", IDCANCEL, {}, false, 0},
        {"click BOX; click BOX", IDCANCEL, {"box on", "box off"}, false, 0},
        {"check BOX; check BOX; uncheck BOX; uncheck BOX",
         IDCANCEL,
         {"box on", "box off"},
         false,
         0},
        {"check PLAIN", IDCANCEL, {}, true, 0},
        {"check IDOK; check GREY", IDCANCEL, {}, false, 0},  // only check boxes are checked
        {"click GREY; click NOSUCH", IDCANCEL, {}, false, 0},
        {"select G&L Numeripath", IDCANCEL, {}, false, 1},
        {"select Fräsen", IDCANCEL, {}, false, 2},
        {"select Heidenhain", IDCANCEL, {}, false, 0},
        {"select fanuc", IDCANCEL, {}, false, 0},
        {"click IDOK; click BOX; check PLAIN", IDOK, {"ok"}, false, 0},
        {"click IDCANCEL; click IDOK", IDCANCEL, {}, false, 0},
        {"click BROWSE", IDCANCEL, {"no file"}, false, 0},
        {"file; file " + existing + "; click BROWSE; click BROWSE; click BROWSE",
         IDCANCEL,
         {"no file", "file " + existing, "no file"},
         false,
         0},
        {"file /no/such/file.conv; click BROWSE", IDCANCEL, {"no file"}, false, 0},
        {"file " + std::filesystem::temp_directory_path().string() + "; click BROWSE",
         IDCANCEL,
         {"no file"},
         false,
         0},
    };
    for (const Case& c : cases) {
        const RunResult r = runScript(c.script);
        EXPECT_EQ(r.result, c.result) << c.script;
        EXPECT_EQ(r.log, c.log) << c.script;
        EXPECT_EQ(r.plainChecked, c.plainChecked) << c.script;
        EXPECT_EQ(r.listSelection, c.listSelection) << c.script;
    }
    std::filesystem::remove(file);
    // Without a script and without a terminal (which front end when: terminal_pty_test).
    ProbeDialog cancelled;
    CancellingFrontEnd none;
    EXPECT_EQ(cancelled.DoModal(none), IDCANCEL);
    EXPECT_TRUE(cancelled.log.empty());
}

TEST(ScriptedFrontEnd, ARelativeFileAnswerBecomesAFullPath) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::ofstream(dir / "morvane-relative.conv") << "x";
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    const RunResult r = runScript("file morvane-relative.conv; click BROWSE");
    std::filesystem::current_path(previous);
    std::filesystem::remove(dir / "morvane-relative.conv");
    EXPECT_EQ(r.log,
              (std::vector<std::string>{"file " + (dir / "morvane-relative.conv").string()}));
}

}  // namespace
}  // namespace morvane::platform
