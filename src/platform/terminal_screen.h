// A text screen to draw a dialog on: a grid of wide characters, each with a style, and where the
// cursor stands. Drawing is pure; turning the grid into terminal output is one function.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::platform {

enum class CellStyle : char {
    Normal = ' ',
    Title = 't',     // the caption
    Focus = 'f',     // the control the keys act on
    Disabled = 'd',  // greyed out: it takes no key
    Hint = 'h',      // key help and messages
};

class TerminalScreen {
  public:
    TerminalScreen(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // Writes `text` from (row, column) on, clipped at `limit` (exclusive) and at the right edge.
    void put(int row, int column, std::wstring_view text, CellStyle style, int limit = -1);
    void fill(int row, int column, int count, wchar_t c, CellStyle style);
    // A frame around the whole screen but its last `footer` rows, `title` in the top edge.
    void frame(std::wstring_view title, int footer);
    void setCursor(int row, int column) {
        cursorRow_ = row;
        cursorColumn_ = column;
    }

    std::wstring row(int index) const;
    CellStyle style(int row, int column) const;
    int cursorRow() const { return cursorRow_; }  // -1: hidden
    int cursorColumn() const { return cursorColumn_; }

    // Terminal output (UTF-8, ANSI attributes) that redraws the screen from the top-left corner
    // of a terminal of `columns` by `rows`, cutting what does not fit, and then places or hides
    // the cursor.
    std::string render(int columns, int rows) const;

  private:
    // Where a cell lies in the row-major buffers; row and column are inside the screen.
    std::size_t cellIndex(int row, int column) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(column);
    }

    int width_, height_;
    std::vector<wchar_t> text_;
    std::vector<CellStyle> styles_;
    int cursorRow_ = -1;
    int cursorColumn_ = -1;
};

}  // namespace morvane::platform
