// Test support: a geometric self-check of NCI tool paths. It follows the position through the
// move records and, for every arc in the XY plane, checks that the centre is as far from the
// arc's start point (where the previous move ended) as from its end point. It catches whole
// classes of sign and centre errors that golden files only catch case by case.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane::test {

// Problems found in `nci`, one text each (empty: the path is sound):
// - a field that is not a finite number in a move record (codes 0 to 3),
// - an arc whose centre is not equidistant, within `tolerance`, from its start and end point.
// Move records carry "first X Y Z ..." (the first field is the compensation code or the 0 of a
// cycle move); arc records "plane comp X Y CX CY Z ..." (cycle arcs write 0 0 there). Arcs in
// another plane than XY are only checked for finite numbers.
std::vector<std::string> checkToolPath(std::string_view nci, double tolerance = 0.001);

// The number of arc records (codes 2 and 3) in `nci`.
int countArcs(std::string_view nci);

}  // namespace morvane::test
