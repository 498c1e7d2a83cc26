// A modal dialog as a text form: each control drawn where its template puts it (four dialog
// units across and eight down make one character cell), one control holding the focus, and the
// keys that move the focus, toggle check boxes, pick a list entry and press buttons. Pure logic
// over ModalDialog: the terminal front end feeds it keys and draws what it renders.
#pragma once

#include <functional>
#include <vector>

#include "frontend/dialog_framework.h"
#include "platform/terminal_keys.h"
#include "platform/terminal_screen.h"

namespace morvane::platform {

class TerminalForm {
  public:
    explicit TerminalForm(ModalDialog& dialog);

    // Runs before a key ends the dialog (OK, Cancel, Escape), while the dialog is still open:
    // OK's handler converts, so the front end gives the screen back first.
    void setBeforeClosing(std::function<void()> hook) { beforeClosing_ = std::move(hook); }

    // Acts on one key:
    //   Tab, Down / Shift-Tab, Up       next / previous control (Left, Right outside a list)
    //   Space, Enter                     toggle a check box, press a button, open the list
    //   Left, Right, a letter            previous / next / matching entry of the format list
    //   in the open list: Up, Down, a letter move; Enter, Space pick; Escape closes it
    //   Escape, Ctrl-C                   cancel the dialog
    void handle(const Key& key);

    int focus() const { return focus_; }  // control id; 0 when nothing can take the focus
    bool listOpen() const { return listOpen_; }
    int listCursor() const { return listCursor_; }

    // The dialog as the user sees it now, with a line of key help below the frame.
    TerminalScreen render() const;

  private:
    struct Cell {
        int id;
        int row, column, width;
    };

    // Focusable controls in screen order (top to bottom, left to right), enabled ones only.
    std::vector<int> focusOrder() const;
    void moveFocus(int step);
    void keepFocusValid();
    void activate();
    void press(int id);
    void cancel();
    void stepEntry(int step);
    void matchEntry(char32_t letter);
    void handleOpenList(const Key& key);
    const Cell* cellOf(int id) const;
    int clipColumn(const Cell& cell) const;
    void drawControl(TerminalScreen& screen, const Control& control, const Cell& cell) const;
    void drawOpenList(TerminalScreen& screen) const;

    ModalDialog& dialog_;
    std::vector<Cell> cells_;  // one per control of the template, in screen order
    int width_, height_;       // the frame's size in cells
    int focus_ = 0;            // id of the focused control
    bool listOpen_ = false;    // the format list shows its entries
    int listCursor_ = 0;       // highlighted entry while it is open
    std::function<void()> beforeClosing_;
};

}  // namespace morvane::platform
