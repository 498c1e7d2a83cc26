#include "platform/terminal_keys.h"

#include <array>

namespace morvane::platform {

namespace {

struct Sequence {
    std::string_view bytes;
    KeyCode code;
};

// Cursor and editing keys in both the normal (ESC [) and the application (ESC O) cursor mode,
// and the VT220 forms of Home, End and Delete.
constexpr std::array<Sequence, 18> kSequences = {{
    {"\x1b[A", KeyCode::Up},
    {"\x1bOA", KeyCode::Up},
    {"\x1b[B", KeyCode::Down},
    {"\x1bOB", KeyCode::Down},
    {"\x1b[C", KeyCode::Right},
    {"\x1bOC", KeyCode::Right},
    {"\x1b[D", KeyCode::Left},
    {"\x1bOD", KeyCode::Left},
    {"\x1b[H", KeyCode::Home},
    {"\x1bOH", KeyCode::Home},
    {"\x1b[1~", KeyCode::Home},
    {"\x1b[7~", KeyCode::Home},
    {"\x1b[F", KeyCode::End},
    {"\x1bOF", KeyCode::End},
    {"\x1b[4~", KeyCode::End},
    {"\x1b[8~", KeyCode::End},
    {"\x1b[3~", KeyCode::Delete},
    {"\x1b[Z", KeyCode::BackTab},
}};

struct ControlKey {
    char byte;
    KeyCode code;
};
constexpr std::array<ControlKey, 7> kControls = {{
    {'\r', KeyCode::Enter},
    {'\n', KeyCode::Enter},
    {'\t', KeyCode::Tab},
    {'\x7f', KeyCode::Backspace},
    {'\x08', KeyCode::Backspace},
    {'\x03', KeyCode::Interrupt},
    {'\x15', KeyCode::ClearLine},
}};

// Length of an escape sequence at the start of `bytes`: ESC [ parameters final-byte, or ESC O
// letter, or ESC followed by one character (Alt+key). 0 when incomplete.
std::size_t escapeLength(std::string_view bytes) {
    if (bytes.size() < 2) return 0;
    if (bytes[1] == '\x1b') return 1;  // Escape pressed twice
    if (bytes[1] == 'O') return bytes.size() >= 3 ? 3 : 0;
    if (bytes[1] != '[') return 2;
    for (std::size_t i = 2; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c >= 0x40 && c <= 0x7e) return i + 1;
        if (c < 0x20 || c > 0x3f) return i;  // not a CSI parameter: the sequence is broken here
    }
    return 0;
}

std::size_t decodeEscape(std::string_view bytes, bool final, Key& key) {
    const std::size_t length = escapeLength(bytes);
    if (length == 0) {
        if (!final) return 0;
        // Nothing followed the ESC in time: the user pressed Escape.
        key = {bytes.size() == 1 ? KeyCode::Escape : KeyCode::None, 0};
        return bytes.size() == 1 ? 1 : bytes.size();
    }
    key = {length == 1 ? KeyCode::Escape : KeyCode::None, 0};
    for (const Sequence& sequence : kSequences)
        if (sequence.bytes == bytes.substr(0, length)) key.code = sequence.code;
    return length;
}

// A UTF-8 character: its length from the lead byte, 0 for a byte that cannot lead one.
std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xc2 && lead <= 0xdf) return 2;
    if (lead >= 0xe0 && lead <= 0xef) return 3;
    if (lead >= 0xf0 && lead <= 0xf4) return 4;
    return 0;
}

std::size_t decodeUtf8(std::string_view bytes, bool final, Key& key) {
    const auto lead = static_cast<unsigned char>(bytes[0]);
    const std::size_t length = utf8Length(lead);
    if (length == 0) {
        key = {KeyCode::None, 0};
        return 1;
    }
    if (bytes.size() < length && !final) return 0;
    char32_t cp = lead & (0xff >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
        if ((c & 0xc0) != 0x80) {
            key = {KeyCode::None, 0};
            return i;
        }
        cp = (cp << 6) | (c & 0x3f);
    }
    const bool valid = !(length == 3 && (cp < 0x800 || (cp >= 0xd800 && cp <= 0xdfff))) &&
                       !(length == 4 && (cp < 0x10000 || cp > 0x10ffff));
    key = valid ? Key{KeyCode::Character, cp} : Key{KeyCode::None, 0};
    return length;
}

}  // namespace

std::size_t decodeKey(std::string_view bytes, bool final, Key& key) {
    if (bytes.empty()) return 0;
    const auto first = static_cast<unsigned char>(bytes[0]);
    if (first == 0x1b) return decodeEscape(bytes, final, key);
    for (const ControlKey& control : kControls) {
        if (control.byte == bytes[0]) {
            key = {control.code, 0};
            // A terminal that sends CR LF for Enter gives one key.
            return bytes.size() >= 2 && bytes[0] == '\r' && bytes[1] == '\n' ? 2 : 1;
        }
    }
    if (first < 0x20) {
        key = {KeyCode::None, 0};
        return 1;
    }
    if (first < 0x80) {
        key = {KeyCode::Character, first};
        return 1;
    }
    return decodeUtf8(bytes, final, key);
}

}  // namespace morvane::platform
