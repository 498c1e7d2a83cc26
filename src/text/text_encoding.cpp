#include "text/text_encoding.h"

#include <cstdint>

namespace morvane {

namespace {

constexpr char32_t kEscapedByteBase = 0xDC00;
constexpr char32_t kReplacement = 0xFFFD;

// Length of the valid UTF-8 sequence at the start of `text` and its code point; 0 when the
// first byte does not start a valid sequence (truncated, overlong, surrogate, beyond U+10FFFF).
std::size_t decodeOne(std::string_view text, char32_t& cp) {
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, cp = lead & 0x1F, min = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, cp = lead & 0x0F, min = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (text.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::wstring utf8ToWide(std::string_view text) {
    std::wstring out;
    out.reserve(text.size());
    while (!text.empty()) {
        char32_t cp = 0;
        std::size_t length = decodeOne(text, cp);
        if (length == 0) {
            cp = kEscapedByteBase + static_cast<unsigned char>(text[0]);
            length = 1;
        }
        out += static_cast<wchar_t>(cp);
        text.remove_prefix(length);
    }
    return out;
}

std::string wideToUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t wc : text) {
        // wchar_t is a signed 32-bit type here: go through its unsigned bit pattern.
        const auto cp = static_cast<char32_t>(static_cast<std::uint32_t>(wc));
        if (cp >= kEscapedByteBase + 0x80 && cp <= kEscapedByteBase + 0xFF) {
            out += static_cast<char>(cp - kEscapedByteBase);
        } else if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, cp);
        }
    }
    return out;
}

}  // namespace morvane
