#include "platform/terminal_file_prompt.h"

#include <algorithm>

#include "text/text_encoding.h"

namespace morvane::platform {

namespace {

constexpr std::wstring_view kKeyHelp = L" Up/Down pick   type a path   Enter open   Esc cancel";

void appendUtf8(std::string& text, char32_t cp) {
    text += wideToUtf8(std::wstring(1, static_cast<wchar_t>(cp)));
}

// Removes the last UTF-8 character.
void dropLastCharacter(std::string& text) {
    while (!text.empty()) {
        const auto byte = static_cast<unsigned char>(text.back());
        text.pop_back();
        if ((byte & 0xc0) != 0x80) return;
    }
}

}  // namespace

TerminalFilePrompt::TerminalFilePrompt(std::wstring title, std::string directory,
                                       std::vector<std::string> names)
    : title_(std::move(title)), directory_(std::move(directory)), names_(std::move(names)) {}

TerminalFilePrompt::Step TerminalFilePrompt::handle(const Key& key) {
    const int last = static_cast<int>(names_.size()) - 1;
    switch (key.code) {
        case KeyCode::Up:
            cursor_ = std::max(cursor_ - 1, 0);
            break;
        case KeyCode::Down:
            cursor_ = std::max(std::min(cursor_ + 1, last), 0);
            break;
        case KeyCode::Home:
            cursor_ = 0;
            break;
        case KeyCode::End:
            cursor_ = std::max(last, 0);
            break;
        case KeyCode::Character:
            appendUtf8(typed_, key.character);
            break;
        case KeyCode::Backspace:
            dropLastCharacter(typed_);
            break;
        case KeyCode::ClearLine:
            typed_.clear();
            break;
        case KeyCode::Enter:
            if (!choice().empty()) return Step::Confirm;
            message_ = "no file to open: pick one or type a path";
            return Step::Stay;
        case KeyCode::Escape:
        case KeyCode::Interrupt:
            return Step::Cancel;
        default:
            return Step::Stay;
    }
    message_.clear();
    return Step::Stay;
}

std::string TerminalFilePrompt::choice() const {
    if (!typed_.empty()) return typed_;
    if (names_.empty()) return {};
    return directory_ + "/" + names_[static_cast<std::size_t>(cursor_)];
}

TerminalScreen TerminalFilePrompt::render(int width, int height) const {
    constexpr int kFooterRows = 1;
    TerminalScreen screen(width, height);
    screen.frame(title_, kFooterRows);
    const int inner = width - 2;
    screen.put(1, 2, utf8ToWide(directory_ + "/"), CellStyle::Hint, width - 1);
    // Rows for the list: all but the directory line, the path line, the message and the frame.
    const int rows = std::max(height - kFooterRows - 6, 1);
    const int first =
        std::clamp(cursor_ - rows + 1, 0, std::max(static_cast<int>(names_.size()) - rows, 0));
    if (names_.empty()) screen.put(2, 4, L"(no matching file here)", CellStyle::Hint, width - 1);
    for (int i = 0; i < rows && first + i < static_cast<int>(names_.size()); ++i) {
        const int index = first + i;
        const bool picked = index == cursor_ && typed_.empty();
        std::wstring line = utf8ToWide(names_[static_cast<std::size_t>(index)]);
        line.resize(static_cast<std::size_t>(std::max(inner - 4, 0)), L' ');
        screen.put(2 + i, 2, index == cursor_ ? L"> " : L"  ", CellStyle::Normal);
        screen.put(2 + i, 4, line, picked ? CellStyle::Focus : CellStyle::Normal, width - 1);
    }
    const int pathRow = height - kFooterRows - 4;
    const std::wstring label = L"Path: ";
    const std::wstring path = utf8ToWide(typed_);
    const int room = inner - 2 - static_cast<int>(label.size()) - 1;
    // The end of a long path stays in view, where the user types.
    const std::wstring shown =
        static_cast<int>(path.size()) > room
            ? path.substr(path.size() - static_cast<std::size_t>(std::max(room, 0)))
            : path;
    screen.put(pathRow, 2, label + shown, CellStyle::Normal, width - 1);
    screen.setCursor(pathRow, 2 + static_cast<int>(label.size() + shown.size()));
    screen.put(pathRow + 1, 2, utf8ToWide(message_), CellStyle::Hint, width - 1);
    screen.put(height - kFooterRows, 0, kKeyHelp, CellStyle::Hint);
    return screen;
}

std::optional<std::string> resolveTypedPath(const std::string& typed, const std::string& directory,
                                            const std::string& home,
                                            const std::function<bool(const std::string&)>& isFile) {
    std::string path = typed;
    if (path.starts_with("~/") && !home.empty()) path = home + path.substr(1);
    if (isFile(path)) return path;
    if (!path.starts_with('/') && isFile(directory + "/" + path)) return directory + "/" + path;
    return std::nullopt;
}

}  // namespace morvane::platform
