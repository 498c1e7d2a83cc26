// Helpers of the post-processor tests: NCI programs written as records, converters given as
// text.
#pragma once

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

// The settings of the converter file "[converter]\n" + `sections`; fails the test when the
// text is not a converter file.
post::PostSettings converter(std::string_view sections);

// The NC code written for `nci` with the converter "[converter]\n" + `sections`.
std::string postWith(std::string_view sections, std::string_view nci);

// The ISO run's header record, which every NCI program from a G-code dialect begins with.
inline constexpr Record kIsoHeader{"1050", "0 0 0 0 0 0 0 0 1"};

}  // namespace morvane::test
