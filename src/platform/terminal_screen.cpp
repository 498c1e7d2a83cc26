#include "platform/terminal_screen.h"

#include <algorithm>

#include "text/text_encoding.h"

namespace morvane::platform {

namespace {

// SGR attributes of each style: reverse video for focus, faint for greyed-out controls.
std::string_view attributes(CellStyle style) {
    switch (style) {
        case CellStyle::Normal:
            return "\x1b[0m";
        case CellStyle::Title:
            return "\x1b[0;1m";
        case CellStyle::Focus:
            return "\x1b[0;7m";
        case CellStyle::Disabled:
        case CellStyle::Hint:
            return "\x1b[0;2m";
    }
    return "\x1b[0m";
}

}  // namespace

TerminalScreen::TerminalScreen(int width, int height)
    : width_(std::max(width, 1)),
      height_(std::max(height, 1)),
      text_(static_cast<std::size_t>(width_ * height_), L' '),
      styles_(text_.size(), CellStyle::Normal) {}

void TerminalScreen::put(int row, int column, std::wstring_view text, CellStyle style, int limit) {
    if (row < 0 || row >= height_) return;
    const int end = limit < 0 ? width_ : std::min(limit, width_);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int c = column + static_cast<int>(i);
        if (c >= end) break;
        if (c < 0) continue;
        // Control characters would move the terminal's cursor; show them as '?'.
        const wchar_t ch = text[i] < L' ' ? L'?' : text[i];
        text_[cellIndex(row, c)] = ch;
        styles_[cellIndex(row, c)] = style;
    }
}

void TerminalScreen::fill(int row, int column, int count, wchar_t c, CellStyle style) {
    put(row, column, std::wstring(static_cast<std::size_t>(std::max(count, 0)), c), style);
}

void TerminalScreen::frame(std::wstring_view title, int footer) {
    const int bottom = height_ - footer - 1;
    fill(0, 1, width_ - 2, L'-', CellStyle::Normal);
    fill(bottom, 1, width_ - 2, L'-', CellStyle::Normal);
    for (int r = 0; r <= bottom; ++r) {
        const wchar_t corner = r == 0 || r == bottom ? L'+' : L'|';
        put(r, 0, std::wstring_view(&corner, 1), CellStyle::Normal);
        put(r, width_ - 1, std::wstring_view(&corner, 1), CellStyle::Normal);
    }
    put(0, 2, L" ", CellStyle::Normal);
    put(0, 3, title, CellStyle::Title, width_ - 3);
    put(0,
        3 + static_cast<int>(std::min<std::size_t>(title.size(), static_cast<std::size_t>(width_))),
        L" ", CellStyle::Normal, width_ - 1);
}

std::wstring TerminalScreen::row(int index) const {
    if (index < 0 || index >= height_) return {};
    const auto start = text_.begin() + static_cast<std::ptrdiff_t>(cellIndex(index, 0));
    return std::wstring(start, start + width_);
}

CellStyle TerminalScreen::style(int row, int column) const {
    if (row < 0 || row >= height_ || column < 0 || column >= width_) return CellStyle::Normal;
    return styles_[cellIndex(row, column)];
}

std::string TerminalScreen::render(int columns, int rows) const {
    std::string out;
    const int shown = std::min(width_, std::max(columns, 1));
    // Each row placed on its own: nothing is written past the terminal's last row or column, so
    // the terminal never scrolls or wraps.
    for (int r = 0; r < std::min(height_, rows); ++r) {
        out += "\x1b[" + std::to_string(r + 1) + ";1H";
        CellStyle current = CellStyle::Normal;
        out += attributes(current);
        std::wstring run;
        for (int c = 0; c < shown; ++c) {
            const CellStyle s = style(r, c);
            if (s != current) {
                out += wideToUtf8(run);
                run.clear();
                out += attributes(s);
                current = s;
            }
            run += text_[cellIndex(r, c)];
        }
        out += wideToUtf8(run);
        out += "\x1b[0m\x1b[K";
    }
    if (height_ < rows) out += "\x1b[" + std::to_string(height_ + 1) + ";1H\x1b[J";
    if (cursorRow_ >= 0 && cursorRow_ < rows && cursorColumn_ < columns) {
        out += "\x1b[" + std::to_string(cursorRow_ + 1) + ";" + std::to_string(cursorColumn_ + 1) +
               "H\x1b[?25h";
    } else {
        out += "\x1b[?25l";
    }
    return out;
}

}  // namespace morvane::platform
