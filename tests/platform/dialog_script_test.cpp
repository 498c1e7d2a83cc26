// The scripted dialog front end: the grammar of MORVANE_DIALOG and how its actions reach a
// dialog (the cases are rows of platform/scripts.txt).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "platform/dialog_script.h"
#include "platform/scripted_front_end.h"
#include "support/table_file.h"

namespace morvane::platform {
namespace {

using Verb = DialogAction::Verb;

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

// "verb argument; ..." of `actions`, as a script would give them.
std::string scriptOf(const std::vector<DialogAction>& actions) {
    static const std::map<Verb, std::string> kVerbs = {
        {Verb::Click, "click"},     {Verb::Select, "select"}, {Verb::Check, "check"},
        {Verb::Uncheck, "uncheck"}, {Verb::File, "file"},     {Verb::Terminal, "terminal"}};
    std::string text;
    for (const DialogAction& action : actions)
        text += (text.empty() ? "" : "; ") + kVerbs.at(action.verb) +
                (action.argument.empty() ? "" : " " + action.argument);
    return text;
}

// The table platform/scripts.txt.
TEST(ScriptedFrontEnd, ScriptTable) {
    const std::filesystem::path file =
        std::filesystem::temp_directory_path() / "morvane-script-test.conv";
    std::ofstream(file) << "x";
    const auto expand = [&file](const std::string& text) {
        return test::replaced(test::replaced(test::unescaped(text), "EXISTING", file.string()),
                              "TMP", std::filesystem::temp_directory_path().string());
    };
    for (const test::TableRow& row : test::readTable("platform/scripts.txt")) {
        if (row.at(0) == "parse") {
            EXPECT_EQ(scriptOf(parseDialogScript(test::unescaped(row.at(1)))), row.at(2))
                << row.where;
            continue;
        }
        const RunResult r = runScript(expand(row.at(1)));
        EXPECT_EQ(r.result, row.at(2) == "ok" ? IDOK : IDCANCEL) << row.where;
        std::string log;
        for (const std::string& entry : r.log)
            log += (log.empty() ? "" : "; ") + entry;
        EXPECT_EQ(log, expand(row.at(3))) << row.where;
        EXPECT_EQ(r.plainChecked, row.at(4) == "yes") << row.where;
        EXPECT_EQ(std::to_string(r.listSelection), row.at(5)) << row.where;
    }
    std::filesystem::remove(file);
}

TEST(ScriptedFrontEnd, WithoutAScriptTheDialogIsCancelled) {
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
