// The form every NCI text must have, whatever program it came from: whole records of a code line
// and a parameter line, numbers written as the writer writes them (never a non-number), free
// text only where a record carries text. Used by the fuzz targets and the robustness tests.
#pragma once

#include <string>
#include <string_view>

namespace morvane::test {

// Empty when `nci` is well formed, else what is wrong and on which line (1-based).
std::string checkNciRecords(std::string_view nci);

// Empty when `nci` is a well-formed program of an ISO dialect: header record first and, unless
// `ended` is false (a rejected cycle parameter ended the run), the trailer last.
std::string checkIsoProgram(std::string_view nci, bool ended = true);

}  // namespace morvane::test
