#include "input_encoding.h"

#include <algorithm>
#include <string>

namespace morvane::cli {

namespace {

// Enough characters to tell, few enough to cost nothing.
constexpr std::size_t kSampleBytes = 4096;

// True when most `width`-byte units of `sample` are an ASCII character in that encoding: the
// character's byte first (little-endian) or last (big-endian), NUL bytes in the others.
bool looksWide(std::string_view sample, std::size_t width, bool bigEndian) {
    const std::size_t units = sample.size() / width;
    if (units == 0) return false;
    std::size_t matching = 0;
    for (std::size_t u = 0; u < units; ++u) {
        const std::string_view unit = sample.substr(u * width, width);
        const std::size_t character = bigEndian ? width - 1 : 0;
        bool ascii = unit[character] != '\0';
        for (std::size_t i = 0; i < width && ascii; ++i)
            if (i != character && unit[i] != '\0') ascii = false;
        if (ascii) ++matching;
    }
    return matching * 4 >= units * 3;
}

// A binary file's first bytes hold this many bytes that no text has and more; a program holds
// a few at most (a Latin-1 umlaut, a stray NUL byte).
constexpr std::size_t kBinarySampleBytes = 65536;
constexpr std::size_t kFewOddBytes = 16;

// The length of the UTF-8 character at the start of `text`, 0 when none starts there; -1 when
// the text ends inside it.
int utf8Length(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const int length = lead >= 0xC2 && lead <= 0xDF ? 2
                       : lead >= 0xE0 && lead <= 0xEF ? 3
                       : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                      : 0;
    for (int i = 1; i < length; ++i) {
        if (static_cast<std::size_t>(i) >= text.size()) return -1;
        if ((static_cast<unsigned char>(text[static_cast<std::size_t>(i)]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

}  // namespace

TextSample sampleText(std::string_view text) {
    TextSample sample;
    const std::string_view head = text.substr(0, std::min(text.size(), kBinarySampleBytes));
    sample.bytes = head.size();
    for (std::size_t i = 0; i < head.size();) {
        const auto c = static_cast<unsigned char>(head[i]);
        if (c >= 0x20 && c < 0x7F) {
            ++i;
        } else if (c == 0) {
            ++sample.nulBytes, ++i;
        } else if (c < 0x80) {
            // Tab, line feed, vertical tab, form feed, carriage return; Ctrl-Z ends old DOS files.
            if (c != 0x1A && (c < 0x09 || c > 0x0D)) ++sample.controlBytes;
            ++i;
        } else {
            const int length = utf8Length(head.substr(i));
            if (length < 0) break;
            if (length == 0) ++sample.notUtf8;
            i += length == 0 ? 1 : static_cast<std::size_t>(length);
        }
    }
    return sample;
}

bool looksBinary(const TextSample& sample) {
    const std::size_t odd = sample.nulBytes + sample.controlBytes + sample.notUtf8;
    return odd > kFewOddBytes && odd * 32 > sample.bytes;
}

std::string binaryMessage(const TextSample& sample) {
    return "it is not an NC program but binary data: its first " + std::to_string(sample.bytes) +
           " bytes hold " + std::to_string(sample.nulBytes) + " NUL bytes, " +
           std::to_string(sample.controlBytes) + " other control characters and " +
           std::to_string(sample.notUtf8) +
           " bytes that are not UTF-8 text; if it is a program, give its format with --from";
}

std::optional<WideEncoding> wideEncodingOf(std::string_view text) {
    // UTF-32LE's mark begins with UTF-16LE's: the longer ones are tried first.
    struct Mark {
        std::string_view bytes;
        WideEncoding encoding;
    };
    static constexpr Mark kMarks[] = {
        {{"\xFF\xFE\0\0", 4}, {"UTF-32", "UTF-32", false, true}},
        {{"\0\0\xFE\xFF", 4}, {"UTF-32", "UTF-32", true, true}},
        {"\xFF\xFE", {"UTF-16", "UTF-16", false, true}},
        {"\xFE\xFF", {"UTF-16", "UTF-16", true, true}},
    };
    for (const Mark& mark : kMarks)
        if (text.starts_with(mark.bytes)) return mark.encoding;
    const std::string_view sample = text.substr(0, std::min(text.size(), kSampleBytes));
    if (looksWide(sample, 4, false)) return WideEncoding{"UTF-32", "UTF-32LE", false, false};
    if (looksWide(sample, 4, true)) return WideEncoding{"UTF-32", "UTF-32BE", true, false};
    if (looksWide(sample, 2, false)) return WideEncoding{"UTF-16", "UTF-16LE", false, false};
    if (looksWide(sample, 2, true)) return WideEncoding{"UTF-16", "UTF-16BE", true, false};
    return std::nullopt;
}

std::string wideEncodingMessage(const WideEncoding& encoding, const std::string& path) {
    return "it is " + std::string(encoding.name) + " text (" +
           (encoding.bigEndian ? "big" : "little") + "-endian" +
           (encoding.byteOrderMark ? "" : ", without a byte-order mark") +
           "); programs are read as UTF-8: convert it first, e.g. iconv -f " +
           std::string(encoding.iconv) + " -t UTF-8 '" + path + "' > '" + path + ".utf8'";
}

}  // namespace morvane::cli
