// Helpers of the post-processor tests: NCI programs written as records, converters given as
// text, and the worked-out cases of tests/tools/data.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

#include "post_settings.h"

namespace morvane::test {

// One NCI record: the code line and the parameter line.
using Record = std::pair<std::string_view, std::string_view>;

// The NCI text of `records`, each two lines; record i starts at line 2i + 1.
std::string nciOf(std::initializer_list<Record> records);

// The settings of the converter file `text`; fails the test when it is not a converter file.
post::PostSettings converter(std::string_view text);

// The NC code written for `nci` with the converter "[converter]\n" + `sections`.
std::string postWith(std::string_view sections, std::string_view nci);

// The ISO run's header record, which every NCI program from a G-code dialect begins with.
inline constexpr Record kIsoHeader{"1050", "0 0 0 0 0 0 0 0 1"};

// A worked-out case: '#' lines at the start of a line are comments; the converter file, then
// "--- nci" and one record a line ("code | parameters", a trailing "  # ..." is a comment; a line
// without '|' is one raw line), then "--- nc" and the expected code, byte for byte.
struct PostCase {
    std::string converter;
    std::string nci;
    std::string code;
};
PostCase loadCase(const std::filesystem::path& file);

}  // namespace morvane::test
