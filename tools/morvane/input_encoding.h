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

}  // namespace morvane::cli
