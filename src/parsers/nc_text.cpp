#include "parsers/nc_text.h"

#include <charconv>

namespace morvane::nctext {

double longDecimalPrefixValue(std::string_view text) {
    const char* first = text.data();
    const char* const last = first + text.size();
    // from_chars takes no "+". Fixed notation: number texts never hold an exponent letter. With
    // at most 255 characters no value can leave the range of a double.
    if (first != last && *first == '+') ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    return result.ec == std::errc{} ? value : 0.0;
}

}  // namespace morvane::nctext
