#include "platform/terminal_form.h"

#include <algorithm>
#include <cwctype>

namespace morvane::platform {

namespace {

// A character cell is four dialog units wide and eight high (the average character of the
// dialog's font); the frame takes one cell on each side.
constexpr int kUnitsPerColumn = 4;
constexpr int kUnitsPerRow = 8;
// A closed drop-down list is one line high whatever height its open list has.
constexpr int kClosedListHeight = 14;
constexpr int kFooterRows = 1;

constexpr std::wstring_view kKeyHelp =
    L" Tab/arrows move   Space/Enter toggle, press, open   Esc cancel";

bool takesFocus(ControlKind kind) {
    switch (kind) {
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
        case ControlKind::CheckBox:
        case ControlKind::DropDownList:
        case ControlKind::ImageButton:
            return true;
        case ControlKind::StaticText:
        case ControlKind::ReadOnlyEdit:
            return false;
    }
    return false;
}

std::wstring padded(std::wstring_view text, int width) {
    std::wstring out(text.substr(0, static_cast<std::size_t>(std::max(width, 0))));
    out.resize(static_cast<std::size_t>(std::max(width, 0)), L' ');
    return out;
}

// A path too long for its field shows its end, where the file name is.
std::wstring tail(std::wstring_view text, int width) {
    if (static_cast<int>(text.size()) <= width) return padded(text, width);
    if (width <= 3) return padded(L"", width);
    return L"..." + std::wstring(text.substr(text.size() - static_cast<std::size_t>(width - 3)));
}

std::wstring centred(std::wstring_view text, int width) {
    const int room = std::max(width - static_cast<int>(text.size()), 0);
    return std::wstring(static_cast<std::size_t>(room / 2), L' ') + std::wstring(text) +
           std::wstring(static_cast<std::size_t>(room - room / 2), L' ');
}

}  // namespace

TerminalForm::TerminalForm(ModalDialog& dialog) : dialog_(dialog) {
    const DialogTemplate& layout = dialog.layout();
    width_ = layout.width / kUnitsPerColumn + 2;
    height_ = layout.height / kUnitsPerRow + 2;
    for (const ControlTemplate& t : layout.controls) {
        const int height =
            t.kind == ControlKind::DropDownList ? std::min(t.height, kClosedListHeight) : t.height;
        cells_.push_back({t.id, 1 + (t.y + height / 2) / kUnitsPerRow, 1 + t.x / kUnitsPerColumn,
                          std::max(1, t.width / kUnitsPerColumn)});
    }
    std::stable_sort(cells_.begin(), cells_.end(), [](const Cell& a, const Cell& b) {
        return a.row != b.row ? a.row < b.row : a.column < b.column;
    });
    const std::vector<int> order = focusOrder();
    focus_ = order.empty() ? 0 : order.front();
}

std::vector<int> TerminalForm::focusOrder() const {
    std::vector<int> order;
    for (const Cell& cell : cells_) {
        for (const Control& control : dialog_.controls())
            if (control.id == cell.id && control.enabled && takesFocus(control.kind))
                order.push_back(cell.id);
    }
    return order;
}

const TerminalForm::Cell* TerminalForm::cellOf(int id) const {
    for (const Cell& cell : cells_)
        if (cell.id == id) return &cell;
    return nullptr;
}

void TerminalForm::moveFocus(int step) {
    const std::vector<int> order = focusOrder();
    if (order.empty()) {
        focus_ = 0;
        return;
    }
    const auto at = std::find(order.begin(), order.end(), focus_);
    const int count = static_cast<int>(order.size());
    const int index = at == order.end() ? 0 : static_cast<int>(at - order.begin());
    focus_ = order[static_cast<std::size_t>(((index + step) % count + count) % count)];
}

void TerminalForm::keepFocusValid() {
    const std::vector<int> order = focusOrder();
    if (std::find(order.begin(), order.end(), focus_) != order.end()) return;
    // The focused control was disabled: the next one in screen order takes the focus.
    const Cell* current = cellOf(focus_);
    for (const Cell& cell : cells_) {
        if (current != nullptr && (cell.row < current->row ||
                                   (cell.row == current->row && cell.column <= current->column)))
            continue;
        if (std::find(order.begin(), order.end(), cell.id) != order.end()) {
            focus_ = cell.id;
            return;
        }
    }
    focus_ = order.empty() ? 0 : order.front();
}

void TerminalForm::cancel() {
    if (beforeClosing_) beforeClosing_();
    dialog_.EndDialog(IDCANCEL);
}

void TerminalForm::press(int id) {
    if ((id == IDOK || id == IDCANCEL) && dialog_.isEnabled(id) && beforeClosing_) beforeClosing_();
    dialog_.click(id);
}

void TerminalForm::activate() {
    for (const Control& control : dialog_.controls()) {
        if (control.id != focus_) continue;
        if (control.kind == ControlKind::DropDownList) {
            listOpen_ = !control.entries.empty();
            listCursor_ = std::max(control.selection, 0);
        } else {
            press(control.id);
        }
        return;
    }
}

void TerminalForm::stepEntry(int step) {
    for (const Control& control : dialog_.controls()) {
        if (control.id != focus_ || control.kind != ControlKind::DropDownList) continue;
        const int next = control.selection + step;
        if (next >= 0 && next < static_cast<int>(control.entries.size()))
            dialog_.selectEntry(control.id, control.entries[static_cast<std::size_t>(next)]);
        return;
    }
}

// The first entry after the current one (wrapping) that starts with `letter`, as a list box
// jumps when a letter is typed.
void TerminalForm::matchEntry(char32_t letter) {
    for (const Control& control : dialog_.controls()) {
        if (control.id != focus_ || control.kind != ControlKind::DropDownList) continue;
        const int count = static_cast<int>(control.entries.size());
        const int from = listOpen_ ? listCursor_ : control.selection;
        for (int i = 1; i <= count; ++i) {
            const int index = ((from + i) % count + count) % count;
            const std::wstring& entry = control.entries[static_cast<std::size_t>(index)];
            if (entry.empty() || std::towlower(static_cast<wint_t>(entry.front())) !=
                                     std::towlower(static_cast<wint_t>(letter)))
                continue;
            if (listOpen_) {
                listCursor_ = index;
            } else {
                dialog_.selectEntry(control.id, entry);
            }
            return;
        }
        return;
    }
}

void TerminalForm::handleOpenList(const Key& key) {
    const Control* list = nullptr;
    for (const Control& control : dialog_.controls())
        if (control.id == focus_) list = &control;
    const int count = list != nullptr ? static_cast<int>(list->entries.size()) : 0;
    switch (key.code) {
        case KeyCode::Up:
            listCursor_ = std::max(listCursor_ - 1, 0);
            break;
        case KeyCode::Down:
            listCursor_ = std::min(listCursor_ + 1, count - 1);
            break;
        case KeyCode::Home:
            listCursor_ = 0;
            break;
        case KeyCode::End:
            listCursor_ = count - 1;
            break;
        case KeyCode::Enter:
            if (list != nullptr && listCursor_ >= 0 && listCursor_ < count)
                dialog_.selectEntry(list->id, list->entries[static_cast<std::size_t>(listCursor_)]);
            listOpen_ = false;
            break;
        case KeyCode::Character:
            if (key.character == U' ') {
                handleOpenList({KeyCode::Enter, 0});
            } else {
                matchEntry(key.character);
            }
            break;
        case KeyCode::Interrupt:
            listOpen_ = false;
            cancel();
            break;
        case KeyCode::Escape:
        case KeyCode::Tab:
        case KeyCode::BackTab:
            listOpen_ = false;
            break;
        default:
            break;
    }
}

void TerminalForm::handle(const Key& key) {
    if (dialog_.hasEnded()) return;
    if (listOpen_) {
        handleOpenList(key);
        return;
    }
    const bool onList = [this] {
        for (const Control& control : dialog_.controls())
            if (control.id == focus_) return control.kind == ControlKind::DropDownList;
        return false;
    }();
    switch (key.code) {
        case KeyCode::Tab:
        case KeyCode::Down:
            moveFocus(1);
            break;
        case KeyCode::BackTab:
        case KeyCode::Up:
            moveFocus(-1);
            break;
        case KeyCode::Left:
            onList ? stepEntry(-1) : moveFocus(-1);
            break;
        case KeyCode::Right:
            onList ? stepEntry(1) : moveFocus(1);
            break;
        case KeyCode::Home:
            focus_ = 0;
            moveFocus(0);
            break;
        case KeyCode::End:
            focus_ = 0;
            moveFocus(-1);
            break;
        case KeyCode::Enter:
            activate();
            break;
        case KeyCode::Character:
            if (key.character == U' ') {
                activate();
            } else if (onList) {
                matchEntry(key.character);
            }
            break;
        case KeyCode::Escape:
        case KeyCode::Interrupt:
            cancel();
            break;
        default:
            break;
    }
    if (!dialog_.hasEnded()) keepFocusValid();
}

int TerminalForm::clipColumn(const Cell& cell) const {
    // A text runs on past its control's width, up to the next control in its row.
    int limit = width_ - 1;
    for (const Cell& other : cells_)
        if (other.row == cell.row && other.column > cell.column)
            limit = std::min(limit, other.column - 1);
    return limit;
}

void TerminalForm::drawControl(TerminalScreen& screen, const Control& control,
                               const Cell& cell) const {
    const CellStyle style = !control.enabled       ? CellStyle::Disabled
                            : control.id == focus_ ? CellStyle::Focus
                                                   : CellStyle::Normal;
    const int limit = clipColumn(cell);
    std::wstring text;
    switch (control.kind) {
        case ControlKind::StaticText:
            text = control.text;
            break;
        case ControlKind::CheckBox:
            text = (!control.enabled  ? L"[-] "
                    : control.checked ? L"[x] "
                                      : L"[ ] ") +
                   control.text;
            break;
        case ControlKind::PushButton:
        case ControlKind::DefaultPushButton:
            text = (control.enabled ? L"[" : L"(") + centred(control.text, cell.width - 2) +
                   (control.enabled ? L"]" : L")");
            break;
        case ControlKind::ImageButton:
            text = L"[...]";
            break;
        case ControlKind::DropDownList: {
            const bool chosen = control.selection >= 0 &&
                                control.selection < static_cast<int>(control.entries.size());
            text =
                L"[" +
                padded(chosen ? control.entries[static_cast<std::size_t>(control.selection)] : L"",
                       cell.width - 4) +
                L" v]";
            break;
        }
        case ControlKind::ReadOnlyEdit:
            text = L"[" + tail(control.text, cell.width - 2) + L"]";
            break;
    }
    screen.put(cell.row, cell.column, text, style, limit);
}

void TerminalForm::drawOpenList(TerminalScreen& screen) const {
    const Cell* cell = cellOf(focus_);
    if (cell == nullptr) return;
    for (const Control& control : dialog_.controls()) {
        if (control.id != focus_) continue;
        int row = cell->row + 1;
        for (std::size_t i = 0; i < control.entries.size(); ++i, ++row) {
            const bool current = static_cast<int>(i) == listCursor_;
            screen.put(row, cell->column, L"|", CellStyle::Normal);
            screen.put(row, cell->column + 1, padded(control.entries[i], cell->width - 2),
                       current ? CellStyle::Focus : CellStyle::Normal);
            screen.put(row, cell->column + cell->width - 1, L"|", CellStyle::Normal);
        }
        screen.put(row, cell->column,
                   L"+" + std::wstring(static_cast<std::size_t>(cell->width - 2), L'-') + L"+",
                   CellStyle::Normal);
    }
}

TerminalScreen TerminalForm::render() const {
    TerminalScreen screen(width_, height_ + kFooterRows);
    screen.frame(dialog_.caption(), kFooterRows);
    for (const Cell& cell : cells_) {
        for (const Control& control : dialog_.controls())
            if (control.id == cell.id) drawControl(screen, control, cell);
    }
    if (listOpen_) drawOpenList(screen);
    screen.put(height_, 0, kKeyHelp, CellStyle::Hint);
    return screen;
}

}  // namespace morvane::platform
