#include "post_warnings.h"

#include "nc_text.h"

namespace morvane::post {

void PostWarnings::add(std::string_view text) {
    if (count_++ >= kMaxKept) return;
    appendInteger(kept_, static_cast<std::int64_t>(line_));
    kept_ += ": ";
    for (char c : text)
        kept_ += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? ' ' : c;
    kept_ += '\n';
}

std::string PostWarnings::sideFileText() const {
    std::string text = kept_;
    if (count_ > kMaxKept) {
        text += "0: ";
        appendInteger(text, static_cast<std::int64_t>(count_ - kMaxKept));
        text += " further warnings are comments in the result only\n";
    }
    return text;
}

}  // namespace morvane::post
