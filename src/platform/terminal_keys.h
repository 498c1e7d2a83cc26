// Keys as a terminal sends them: plain characters (UTF-8), control characters and the escape
// sequences of the cursor and editing keys. Pure decoding, no terminal I/O.
#pragma once

#include <cstddef>
#include <string_view>

namespace morvane::platform {

enum class KeyCode {
    None,  // nothing the dialog uses (an unknown sequence, a stray control character)
    Character,
    Enter,
    Escape,
    Tab,
    BackTab,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    Backspace,
    Delete,
    Interrupt,  // Ctrl-C: the terminal's signal characters are off while a dialog is shown
    ClearLine,  // Ctrl-U
};

struct Key {
    KeyCode code = KeyCode::None;
    char32_t character = 0;  // KeyCode::Character only
    bool operator==(const Key&) const = default;
};

// Decodes the key at the start of `bytes` into `key` and returns how many bytes it took. Returns
// 0 when `bytes` is empty, or when it begins an escape sequence or a UTF-8 character that is not
// complete yet and `final` is false (more bytes may still arrive). With `final`, a lone ESC is
// the Escape key and a broken sequence is consumed as KeyCode::None.
std::size_t decodeKey(std::string_view bytes, bool final, Key& key);

}  // namespace morvane::platform
