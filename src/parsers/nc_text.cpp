#include "parsers/nc_text.h"

#include <charconv>
#include <limits>

namespace morvane::nctext {

double longDecimalPrefixValue(std::string_view text) {
    const char* first = text.data();
    const char* const last = first + text.size();
    // from_chars takes no "+". Fixed notation: number texts never hold an exponent letter.
    if (first != last && *first == '+') ++first;
    double value = 0.0;
    const auto result = std::from_chars(first, last, value, std::chars_format::fixed);
    if (result.ec != std::errc::result_out_of_range) return result.ec == std::errc{} ? value : 0.0;
    // Beyond the range of a double: more digits before the point than a double can hold reads
    // as the largest one; a value too small for a double reads as 0.
    const char* p = first + (first != last && *first == '-' ? 1 : 0);
    while (p != last && *p == '0')
        ++p;
    const bool large = p != last && *p >= '1' && *p <= '9';
    const double magnitude = large ? std::numeric_limits<double>::max() : 0.0;
    return first != last && *first == '-' ? -magnitude : magnitude;
}

}  // namespace morvane::nctext
