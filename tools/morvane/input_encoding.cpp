#include "input_encoding.h"

#include <algorithm>

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

}  // namespace

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
