// The encoding of a program file as far as the host must know it: the plug-in reads UTF-8 (and
// so ASCII), so a UTF-8 byte-order mark is set aside, and UTF-16 or UTF-32 text is refused with
// the command that converts it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane::cli {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct WideEncoding {
    std::string_view name;   // "UTF-16" or "UTF-32"
    std::string_view iconv;  // what iconv -f calls it: "UTF-16" with a mark, else "UTF-16LE", ...
    bool bigEndian = false;
    bool byteOrderMark = false;
};

// UTF-16 or UTF-32 told by the byte-order mark at the start of `text`, else by the NUL bytes
// that ASCII characters have in those encodings (checked over the first kilobytes).
std::optional<WideEncoding> wideEncodingOf(std::string_view text);

// Why the file at `path` cannot be read as it is, and the command that converts it.
std::string wideEncodingMessage(const WideEncoding& encoding, const std::string& path);

// What the first bytes of a file say about it being text at all: binary data (an image, an
// archive, a program for a computer) has NUL bytes, control characters and bytes that are no
// UTF-8; a program has few, such as Latin-1 umlauts in its comments.
struct TextSample {
    std::size_t bytes = 0;         // looked at: the first kilobytes
    std::size_t nulBytes = 0;
    std::size_t controlBytes = 0;  // control characters other than tab, line ends, form feed
    std::size_t notUtf8 = 0;       // bytes that begin no UTF-8 character
};

TextSample sampleText(std::string_view text);
bool looksBinary(const TextSample& sample);
// Why a file that looks binary is not converted, and how to convert it anyway.
std::string binaryMessage(const TextSample& sample);

}  // namespace morvane::cli
