// The terminal dialog's logic without a terminal: key decoding, the form over the real
// converter dialog (focus, toggles, the format list, browse, OK and Cancel), and the file-open
// prompt. What the form draws is seen on a real terminal in terminal_pty_test.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fake_services.h"
#include "frontend/morvane_dialog.h"
#include "host_recorder.h"
#include "platform/terminal_file_prompt.h"
#include "platform/terminal_form.h"
#include "platform/terminal_keys.h"
#include "platform/terminal_screen.h"
#include "support/table_file.h"
#include "text/text_encoding.h"

namespace morvane::platform {
namespace {

using test::FakePost;
using test::FakeServices;

Key character(char32_t c) {
    return {KeyCode::Character, c};
}
const Key kTab{KeyCode::Tab, 0};
const Key kBackTab{KeyCode::BackTab, 0};
const Key kUp{KeyCode::Up, 0};
const Key kDown{KeyCode::Down, 0};
const Key kLeft{KeyCode::Left, 0};
const Key kRight{KeyCode::Right, 0};
const Key kEnter{KeyCode::Enter, 0};
const Key kEscape{KeyCode::Escape, 0};
const Key kSpace{KeyCode::Character, U' '};

// The key named `name` in platform/keys.txt.
Key namedKey(const std::string& name) {
    static const std::map<std::string, Key> kNames = {{"None", {KeyCode::None, 0}},
                                                      {"Enter", kEnter},
                                                      {"Escape", kEscape},
                                                      {"Tab", kTab},
                                                      {"BackTab", kBackTab},
                                                      {"Up", kUp},
                                                      {"Down", kDown},
                                                      {"Left", kLeft},
                                                      {"Right", kRight},
                                                      {"Home", {KeyCode::Home, 0}},
                                                      {"End", {KeyCode::End, 0}},
                                                      {"Backspace", {KeyCode::Backspace, 0}},
                                                      {"Delete", {KeyCode::Delete, 0}},
                                                      {"Interrupt", {KeyCode::Interrupt, 0}},
                                                      {"ClearLine", {KeyCode::ClearLine, 0}},
                                                      {"Space", kSpace}};
    const auto named = kNames.find(name);
    if (named != kNames.end()) return named->second;
    const std::wstring text = utf8ToWide(name);
    EXPECT_EQ(text.size(), 1u) << "no key " << name;
    return character(text.empty() ? 0 : static_cast<char32_t>(text[0]));
}

std::vector<Key> namedKeys(const std::string& names) {
    std::vector<Key> keys;
    for (const std::string& name : test::splitWords(names))
        keys.push_back(namedKey(name));
    return keys;
}

void checkDecoding(const test::TableRow& row) {
    Key key;
    const std::size_t used = decodeKey(test::unescaped(row.at(1)), row.at(2) == "final", key);
    EXPECT_EQ(std::to_string(used), row.at(3)) << row.where;
    if (used == 0) return;
    const Key expected = namedKey(row.at(4));
    EXPECT_EQ(key.code, expected.code) << row.where;
    EXPECT_EQ(key.character, expected.character) << row.where;
}

void checkPrompt(const test::TableRow& row) {
    TerminalFilePrompt prompt(L"Converters (*.conv)", "/c", {"A.conv", "B.conv"});
    TerminalFilePrompt::Step step = TerminalFilePrompt::Step::Stay;
    for (const Key& key : namedKeys(row.at(1)))
        step = prompt.handle(key);
    const std::map<std::string, TerminalFilePrompt::Step> steps = {
        {"Stay", TerminalFilePrompt::Step::Stay},
        {"Confirm", TerminalFilePrompt::Step::Confirm},
        {"Cancel", TerminalFilePrompt::Step::Cancel}};
    ASSERT_EQ(steps.count(row.at(2)), 1u) << row.where << ": no step " << row.at(2);
    EXPECT_EQ(step, steps.at(row.at(2))) << row.where;
    EXPECT_EQ(prompt.choice(), row.at(3)) << row.where;
}

void checkTypedPath(const test::TableRow& row) {
    const auto exists = [](const std::string& path) {
        return path == "/home/u/conv/M.conv" || path == "rel/R.conv" ||
               path == "/host/Converters/F.conv" || path == "/abs/A.conv";
    };
    const auto resolved = resolveTypedPath(row.at(1), "/host/Converters", "/home/u", exists);
    EXPECT_EQ(resolved.value_or("none"), row.at(2)) << row.where;
}

// Plays keys on the converter dialog through the form, as the terminal front end does.
class KeyFrontEnd final : public test::QueuedFileAnswers {
  public:
    std::vector<Key> keys;
    std::function<void()> beforeClosing;
    std::optional<TerminalScreen> last;  // the screen after the last key

    void runModal(ModalDialog& dialog) override {
        TerminalForm form(dialog);
        if (beforeClosing) form.setBeforeClosing(beforeClosing);
        for (const Key& key : keys) {
            if (dialog.hasEnded()) break;
            form.handle(key);
            focus.push_back(form.focus());
            last = form.render();
        }
    }
    std::vector<int> focus;  // the focused control after each key
};

class FormTest : public testing::Test {
  protected:
    void SetUp() override {
        FakePost::reset();
        state.lineSource = host.lineSource();
        state.resultStream = host.resultStream();
        services.installPost();
    }
    int play(std::vector<Key> keys) {
        frontEnd.keys = std::move(keys);
        return dialog.DoModal(frontEnd);
    }

    testhost::HostRecorder host{{"1003", "0 0 0"}};
    PluginState state;
    FakeServices services;
    KeyFrontEnd frontEnd;
    CMorvaneGUIDlg dialog{&state, services};
};

TEST_F(FormTest, TheFocusGoesDownTheScreenSkippingWhatIsDisabled) {
    play({kTab, kTab, kTab, kTab, kTab, kTab, kTab, kBackTab, kUp, kDown});
    // First use: OK is disabled. Order on the screen: list, browse, NCI, longhand (same row),
    // new window, selection only, Cancel (OK greyed), then round to the list.
    EXPECT_EQ(frontEnd.focus,
              (std::vector<int>{IDC_BROWSE, IDC_CONVERT_NCI, IDC_LONGHAND_CYCLES,
                                IDC_RESULT_NEW_WINDOW, IDC_SELECTION_ONLY, IDCANCEL, IDC_FORMAT,
                                IDCANCEL, IDC_SELECTION_ONLY, IDCANCEL}));
    EXPECT_FALSE(dialog.hasEnded() && dialog.result() == IDOK);
}

// The table platform/keys.txt.
TEST_F(FormTest, KeyTable) {
    for (const test::TableRow& row : test::readTable("platform/keys.txt")) {
        if (row.at(0) == "decode") {
            checkDecoding(row);
        } else if (row.at(0) == "prompt") {
            checkPrompt(row);
        } else if (row.at(0) == "path") {
            checkTypedPath(row);
        } else if (row.at(0) == "list") {
            CMorvaneGUIDlg fresh{&state, services};
            KeyFrontEnd keys;
            keys.keys = namedKeys(row.at(1));
            fresh.DoModal(keys);
            EXPECT_EQ(std::to_string(fresh.selection(IDC_FORMAT)), row.at(2)) << row.where;
            EXPECT_EQ(fresh.result(), IDCANCEL) << row.where;
            ASSERT_TRUE(keys.last.has_value()) << row.where;
            const bool drawnOpen = keys.last->row(6).find(L"|Heidenhain") != std::wstring::npos;
            EXPECT_EQ(drawnOpen ? "open" : "closed", row.at(3)) << row.where;
        } else {
            ADD_FAILURE() << row.where << ": no kind " << row.at(0);
        }
    }
}

TEST_F(FormTest, OkGivesTheScreenBackBeforeItConverts) {
    std::vector<std::size_t> eventsWhenClosing;
    frontEnd.beforeClosing = [&] { eventsWhenClosing.push_back(host.events().size()); };
    // NCI from the list, Convert to NCI, longhand, then to OK.
    EXPECT_EQ(play({character(U'n'), kTab, kTab, kSpace, kTab, kSpace, kTab, kTab, kTab, kEnter}),
              IDOK);
    EXPECT_EQ(eventsWhenClosing, std::vector<std::size_t>{0});
    EXPECT_EQ(host.resultLines(), (std::vector<std::string>{"1003", "0 0 0"}));
}

TEST_F(FormTest, EscapeAndCtrlCCancel) {
    for (const std::vector<Key>& keys :
         {std::vector<Key>{kEscape}, std::vector<Key>{{KeyCode::Interrupt, 0}},
          std::vector<Key>{kEnter, {KeyCode::Interrupt, 0}}, std::vector<Key>{kBackTab, kEnter}}) {
        CMorvaneGUIDlg fresh{&state, services};
        KeyFrontEnd front;
        int closings = 0;
        front.beforeClosing = [&] { ++closings; };
        front.keys = keys;
        front.keys.push_back(kRight);  // ignored: the dialog has ended
        EXPECT_EQ(fresh.DoModal(front), IDCANCEL);
        EXPECT_EQ(closings, 1);
        EXPECT_EQ(fresh.selection(IDC_FORMAT), 0);
    }
    EXPECT_TRUE(host.events().empty());
}

TEST_F(FormTest, BrowseAsksForAFileAndShowsIt) {
    const std::string path = services.scratch.write(
        "a folder with a rather long name/another folder with a long name/Converters/Fanuc.conv",
        "[converter]\n");
    frontEnd.answers = {std::nullopt, utf8ToWide(path)};
    play({kTab, kEnter, kEnter});
    ASSERT_EQ(frontEnd.requests.size(), 2u);
    EXPECT_EQ(frontEnd.requests[0].initialDirectory, L"/opt/editor/Converters");
    EXPECT_EQ(frontEnd.requests[0].initialFileName, L"*.conv");
    EXPECT_EQ(dialog.text(IDC_CONVERTER_PATH), utf8ToWide(path));
    EXPECT_TRUE(dialog.isEnabled(IDOK));
    // The field shows the end of a path too long for it.
    const std::wstring row = frontEnd.last->row(7);
    EXPECT_NE(row.find(L"..."), std::wstring::npos) << wideToUtf8(row);
    EXPECT_NE(row.find(L"/Converters/Fanuc.conv]"), std::wstring::npos) << wideToUtf8(row);
}

TEST(TerminalScreen, PutClipsAndRenderStaysInsideTheTerminal) {
    TerminalScreen screen(10, 3);
    screen.put(0, 8, L"abcdef", CellStyle::Normal);
    screen.put(1, -2, L"xyz\tq", CellStyle::Focus, 3);
    screen.put(5, 0, L"outside", CellStyle::Normal);
    EXPECT_EQ(screen.row(0), L"        ab");
    EXPECT_EQ(screen.row(1), L"z?q       ");
    EXPECT_EQ(screen.style(1, 2), CellStyle::Focus);
    EXPECT_EQ(screen.style(1, 3), CellStyle::Normal);
    screen.put(2, 0, L"ä", CellStyle::Disabled);
    const std::string out = screen.render(4, 2);
    // Two rows of four cells, the reverse and faint attributes, no third row, cursor hidden.
    EXPECT_NE(out.find("\x1b[1;1H"), std::string::npos);
    EXPECT_NE(out.find("\x1b[2;1H"), std::string::npos);
    EXPECT_EQ(out.find("\x1b[3;1H"), std::string::npos);
    EXPECT_NE(out.find("\x1b[0;7mz?q\x1b[0m "), std::string::npos);
    EXPECT_EQ(out.find("ab"), std::string::npos);
    EXPECT_NE(out.find("\x1b[?25l"), std::string::npos);
    screen.setCursor(2, 1);
    EXPECT_NE(screen.render(10, 5).find("\x1b[3;2H\x1b[?25h"), std::string::npos);
    EXPECT_NE(screen.render(10, 5).find("\xc3\xa4"), std::string::npos);
    // The frame: its title set in blanks on the top edge.
    TerminalScreen framed(10, 3);
    framed.frame(L"Ti", 0);
    EXPECT_EQ(framed.row(0), L"+- Ti ---+");
    EXPECT_EQ(framed.row(1), L"|        |");
    EXPECT_EQ(framed.row(2), L"+--------+");
}

TEST(TerminalFilePrompt, SaysWhenThereIsNoFileAndWhenATypedOneIsMissing) {
    TerminalFilePrompt empty(L"Open", "/none", {});
    EXPECT_EQ(empty.handle(kEnter), TerminalFilePrompt::Step::Stay);
    const TerminalScreen screen = empty.render(50, 12);
    EXPECT_NE(screen.row(2).find(L"(no matching file here)"), std::wstring::npos);
    EXPECT_NE(screen.row(8).find(L"no file to open"), std::wstring::npos)
        << wideToUtf8(screen.row(8));
    empty.reject("no such file: x");
    EXPECT_NE(empty.render(72, 17).row(13).find(L"no such file: x"), std::wstring::npos);
}

}  // namespace
}  // namespace morvane::platform
