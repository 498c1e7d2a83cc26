// UTF-8 (the narrow text of paths and of the host boundary) to and from wide text (wchar_t,
// UTF-32 here). Pure functions: no OS call, usable by the front end's logic.
//
// Any byte sequence survives a round trip: a byte that is not part of a valid UTF-8 sequence
// becomes the wide character U+DC00 + byte on decoding and is written back as that byte on
// encoding. A wide character that is neither a Unicode scalar value nor such an escaped byte is
// encoded as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace morvane {

std::wstring utf8ToWide(std::string_view text);
std::string wideToUtf8(std::wstring_view text);

}  // namespace morvane
