// The terminal dialog's logic without a terminal: key decoding, the form over the real
// converter dialog (focus, toggles, the format list, browse, OK and Cancel), what it draws, and
// the file-open prompt.
#include <gtest/gtest.h>

#include <functional>
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

TEST(TerminalKeys, Decoding) {
    struct Case {
        std::string bytes;
        bool final;
        std::size_t used;
        Key key;
    };
    const Case cases[] = {
        {"a", false, 1, character(U'a')},
        {"\r", false, 1, kEnter},
        {"\r\n", false, 2, kEnter},
        {"\n", false, 1, kEnter},
        {"\t", false, 1, kTab},
        {"\x7f", false, 1, {KeyCode::Backspace, 0}},
        {"\x08", false, 1, {KeyCode::Backspace, 0}},
        {"\x03", false, 1, {KeyCode::Interrupt, 0}},
        {"\x15", false, 1, {KeyCode::ClearLine, 0}},
        {"\x01", false, 1, {KeyCode::None, 0}},
        {"\x1b[A", false, 3, kUp},
        {"\x1bOB", false, 3, kDown},
        {"\x1b[C", false, 3, kRight},
        {"\x1b[D", false, 3, kLeft},
        {"\x1b[Z", false, 3, kBackTab},
        {"\x1b[3~", false, 4, {KeyCode::Delete, 0}},
        {"\x1b[1~", false, 4, {KeyCode::Home, 0}},
        {"\x1b[F", false, 3, {KeyCode::End, 0}},
        {"\x1b[1;5A", false, 6, {KeyCode::None, 0}},  // Ctrl-Up: not a key of the dialog
        {"\x1b[Ax", false, 3, kUp},                   // a key stops where the next begins
        {"\x1b", false, 0, {}},                       // wait: the rest may follow
        {"\x1b[", false, 0, {}},
        {"\x1b", true, 1, kEscape},         // nothing followed: Escape
        {"\x1b\x1b[A", false, 1, kEscape},  // Escape, then Up
        {"\x1b[", true, 2, {KeyCode::None, 0}},
        {"\xc3\xa4", false, 2, character(U'\u00e4')},
        {"\xe2\x82\xac", false, 3, character(U'\u20ac')},
        {"\xf0\x9f\x94\xa7", false, 4, character(U'\U0001F527')},
        {"\xc3", false, 0, {}},
        {"\xc3", true, 1, {KeyCode::None, 0}},
        {"\xc3(", false, 1, {KeyCode::None, 0}},
        {"\xed\xa0\x80", false, 3, {KeyCode::None, 0}},  // a surrogate is no character
        {"\xff", false, 1, {KeyCode::None, 0}},
        {"", true, 0, {}},
    };
    for (const Case& c : cases) {
        Key key;
        EXPECT_EQ(decodeKey(c.bytes, c.final, key), c.used) << testing::PrintToString(c.bytes);
        if (c.used > 0) {
            EXPECT_EQ(key.code, c.key.code) << testing::PrintToString(c.bytes);
            EXPECT_EQ(key.character, c.key.character) << testing::PrintToString(c.bytes);
        }
    }
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

TEST_F(FormTest, KeysOnTheFormatList) {
    struct Case {
        const char* name;
        std::vector<Key> keys;
        int selection;
        bool listOpen;
    };
    const Case cases[] = {
        {"right, right", {kRight, kRight}, 2, false},
        {"left at the start stays", {kLeft}, 0, false},
        {"right past the end stays",
         {kRight, kRight, kRight, kRight, kRight, kRight, kRight},
         5,
         false},
        {"a letter jumps", {character(U'g')}, 4, false},
        {"a capital jumps too", {character(U'N')}, 5, false},
        {"the same letter again", {character(U's'), character(U's')}, 3, false},
        {"enter opens the list", {kEnter}, 0, true},
        {"open, down, down, enter", {kEnter, kDown, kDown, kEnter}, 2, false},
        {"open, letter, space picks", {kSpace, character(U'h'), kSpace}, 1, false},
        {"escape closes the open list unchanged", {kEnter, kDown, kEscape}, 0, false},
        {"up at the top of the open list", {kEnter, kUp, kUp, kEnter}, 0, false},
    };
    for (const Case& c : cases) {
        CMorvaneGUIDlg fresh{&state, services};
        KeyFrontEnd keys;
        keys.keys = c.keys;
        fresh.DoModal(keys);
        EXPECT_EQ(fresh.selection(IDC_FORMAT), c.selection) << c.name;
        // The dialog stays open (it is cancelled when the keys run out).
        EXPECT_EQ(fresh.result(), IDCANCEL) << c.name;
        ASSERT_TRUE(keys.last.has_value());
        const bool drawnOpen = keys.last->row(6).find(L"|Heidenhain") != std::wstring::npos;
        EXPECT_EQ(drawnOpen, c.listOpen) << c.name;
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

TEST_F(FormTest, WhatItDraws) {
    state.options = {{"SELECTION", "False"}};
    state.config = {{"UseLonghandCycles", "True"}};
    host.setTranslations({{"CANCEL", L"Abbrechen"},
                          {"NCTESKPLUGIN_MORVANE_CHOOSE_CONVERTER", L"Konverter wählen:"}});
    state.localizeSource = host.localizeSource();
    play({kTab});
    const TerminalScreen& screen = *frontEnd.last;
    const auto rowHas = [&screen](int row, std::wstring_view text) {
        return screen.row(row).find(text) != std::wstring::npos;
    };
    EXPECT_EQ(screen.width(), 72);
    EXPECT_EQ(screen.height(), 17);
    EXPECT_TRUE(rowHas(0, L"+- Morvane -")) << wideToUtf8(screen.row(0));
    EXPECT_TRUE(rowHas(2, L"| Choose original NC format:"));
    EXPECT_TRUE(rowHas(4, L"| [Fanuc "));
    EXPECT_TRUE(rowHas(4, L" v]"));
    EXPECT_TRUE(rowHas(6, L"|  Konverter wählen:"));
    EXPECT_TRUE(rowHas(7, L"[...]|"));
    EXPECT_TRUE(rowHas(10, L"| [ ] Convert to NCI format"));
    EXPECT_TRUE(rowHas(10, L"[x] Use longhand cycles"));
    EXPECT_TRUE(rowHas(12, L"| [ ] Result to new window"));
    EXPECT_TRUE(rowHas(13, L"| [-] Selection Only"));  // greyed: no selection
    EXPECT_TRUE(rowHas(13, L"(    OK    )"));          // greyed: nothing chosen yet
    EXPECT_TRUE(rowHas(13, L"[Abbrechen ]"));
    EXPECT_TRUE(rowHas(15, L"+------"));
    EXPECT_TRUE(rowHas(16, L"Esc cancel"));
    // Styles: the focused browse button, the greyed controls.
    const int browse = static_cast<int>(screen.row(7).find(L"[...]"));
    EXPECT_EQ(screen.style(7, browse), CellStyle::Focus);
    EXPECT_EQ(screen.style(13, 2), CellStyle::Disabled);
    EXPECT_EQ(screen.style(13, static_cast<int>(screen.row(13).find(L"(    OK"))),
              CellStyle::Disabled);
    EXPECT_EQ(screen.style(10, 2), CellStyle::Normal);
    EXPECT_EQ(screen.style(0, 3), CellStyle::Title);
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
}

TEST(TerminalFilePrompt, PickingAndTyping) {
    struct Case {
        const char* name;
        std::vector<Key> keys;
        TerminalFilePrompt::Step last;
        std::string choice;
    };
    const Key backspace{KeyCode::Backspace, 0};
    const Case cases[] = {
        {"enter takes the first file", {kEnter}, TerminalFilePrompt::Step::Confirm, "/c/A.conv"},
        {"down picks the next", {kDown, kEnter}, TerminalFilePrompt::Step::Confirm, "/c/B.conv"},
        {"down stops at the last",
         {kDown, kDown, kDown},
         TerminalFilePrompt::Step::Stay,
         "/c/B.conv"},
        {"up stops at the first", {kDown, kUp, kUp}, TerminalFilePrompt::Step::Stay, "/c/A.conv"},
        {"typing replaces the pick",
         {kDown, character(U'x'), character(U'/'), character(U'ö')},
         TerminalFilePrompt::Step::Stay,
         "x/\xc3\xb6"},
        {"backspace removes a whole character",
         {character(U'a'), character(U'ö'), backspace},
         TerminalFilePrompt::Step::Stay,
         "a"},
        {"ctrl-u clears the path",
         {character(U'a'), {KeyCode::ClearLine, 0}},
         TerminalFilePrompt::Step::Stay,
         "/c/A.conv"},
        {"escape cancels", {character(U'a'), kEscape}, TerminalFilePrompt::Step::Cancel, "a"},
        {"ctrl-c cancels",
         {{KeyCode::Interrupt, 0}},
         TerminalFilePrompt::Step::Cancel,
         "/c/A.conv"},
    };
    for (const Case& c : cases) {
        TerminalFilePrompt prompt(L"Converters (*.conv)", "/c", {"A.conv", "B.conv"});
        TerminalFilePrompt::Step step = TerminalFilePrompt::Step::Stay;
        for (const Key& key : c.keys)
            step = prompt.handle(key);
        EXPECT_EQ(step, c.last) << c.name;
        EXPECT_EQ(prompt.choice(), c.choice) << c.name;
    }
    TerminalFilePrompt empty(L"Open", "/none", {});
    EXPECT_EQ(empty.handle(kEnter), TerminalFilePrompt::Step::Stay);
    const TerminalScreen screen = empty.render(50, 12);
    EXPECT_NE(screen.row(2).find(L"(no matching file here)"), std::wstring::npos);
    EXPECT_NE(screen.row(8).find(L"no file to open"), std::wstring::npos)
        << wideToUtf8(screen.row(8));
}

TEST(TerminalFilePrompt, Drawing) {
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i)
        names.push_back("C" + std::to_string(100 + i) + ".conv");
    TerminalFilePrompt prompt(L"Converters (*.conv)", "/host/Converters", names);
    for (int i = 0; i < 15; ++i)
        prompt.handle(kDown);
    const TerminalScreen screen = prompt.render(72, 17);
    EXPECT_NE(screen.row(0).find(L"Converters (*.conv)"), std::wstring::npos);
    EXPECT_NE(screen.row(1).find(L"/host/Converters/"), std::wstring::npos);
    // Ten rows of names; the picked one (the 16th) is in view, on the last of them.
    EXPECT_NE(screen.row(11).find(L"> C115.conv"), std::wstring::npos)
        << wideToUtf8(screen.row(11));
    EXPECT_NE(screen.row(2).find(L"C106.conv"), std::wstring::npos);
    EXPECT_EQ(screen.style(11, 4), CellStyle::Focus);
    EXPECT_NE(screen.row(12).find(L"Path: "), std::wstring::npos);
    EXPECT_EQ(screen.cursorRow(), 12);
    prompt.reject("no such file: x");
    EXPECT_NE(prompt.render(72, 17).row(13).find(L"no such file: x"), std::wstring::npos);
}

TEST(TerminalFilePrompt, TypedPaths) {
    const auto exists = [](const std::string& path) {
        return path == "/home/u/conv/M.conv" || path == "rel/R.conv" ||
               path == "/host/Converters/F.conv" || path == "/abs/A.conv";
    };
    struct Case {
        const char* typed;
        std::optional<std::string> resolved;
    };
    const Case cases[] = {
        {"/abs/A.conv", "/abs/A.conv"}, {"~/conv/M.conv", "/home/u/conv/M.conv"},
        {"rel/R.conv", "rel/R.conv"},   {"F.conv", "/host/Converters/F.conv"},
        {"/F.conv", std::nullopt},      {"missing.conv", std::nullopt},
        {"~user/M.conv", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(resolveTypedPath(c.typed, "/host/Converters", "/home/u", exists), c.resolved)
            << c.typed;
}

}  // namespace
}  // namespace morvane::platform
