// Test support for tool paths: the move records of an NCI text read back as numbers (for checks
// with a tolerance, rotations and limits, where a golden file would only restate rounded
// numbers); a cycle object set up as the cycle writers set one up and run into memory; and a
// geometric self-check. The check follows the position through the move records and, for every
// arc, checks that the centre is as far from the arc's start point (where the previous move
// ended) as from its end point, in the arc's plane. It catches whole classes of sign and centre
// errors that golden files only catch case by case.
#pragma once

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cycles/nci_general_cycle.h"
#include "nci/nci_stream.h"

namespace morvane::test {

// Problems found in `nci`, one text each (empty: the path is sound):
// - a field that is not a finite number in a move record (codes 0 to 3),
// - an arc whose centre is not equidistant, within `tolerance`, from its start and end point.
// Move records carry "first X Y Z ..." (the first field is the compensation code or the 0 of a
// cycle move); arc records "plane comp H V CH CV D ..." (cycle arcs write 0 0 there), with the
// plane's coordinates as docs/nci-format.md gives them.
std::vector<std::string> checkToolPath(std::string_view nci, double tolerance = 0.001);

// The number of arc records (codes 2 and 3) in `nci`.
int countArcs(std::string_view nci);

struct MoveRecord {
    int code = 0;
    std::vector<double> fields;

    // End point of the move: fields 1, 2 of a straight move, 2, 3 of an arc.
    double x() const { return fields.at(code >= 2 ? 2 : 1); }
    double y() const { return fields.at(code >= 2 ? 3 : 2); }
    double z() const { return fields.at(code >= 2 ? 6 : 3); }
    double cx() const { return fields.at(4); }
    double cy() const { return fields.at(5); }
};

// Splits `nci` into records: a code line, then a data line of blank-separated numbers.
inline std::vector<MoveRecord> readMoves(std::string_view nci) {
    std::vector<MoveRecord> records;
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < nci.size()) {
        std::size_t end = nci.find('\n', pos);
        if (end == std::string_view::npos) end = nci.size();
        lines.emplace_back(nci.substr(pos, end - pos));
        pos = end + 1;
    }
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        MoveRecord r;
        r.code = std::atoi(lines[i].c_str());
        const char* p = lines[i + 1].c_str();
        char* next = nullptr;
        for (double v = std::strtod(p, &next); next != p; v = std::strtod(p, &next)) {
            r.fields.push_back(v);
            p = next;
        }
        records.push_back(std::move(r));
    }
    return records;
}

// How many of `moves` have the record code `code`.
inline int countCode(const std::vector<MoveRecord>& moves, int code) {
    int n = 0;
    for (const MoveRecord& m : moves)
        n += m.code == code ? 1 : 0;
    return n;
}

// How many records of `nci` have the code `code`.
inline int countCode(std::string_view nci, int code) {
    return countCode(readMoves(nci), code);
}

// Runs `cycle` into memory and returns the text it wrote.
inline std::string runCycle(NCIGeneralCycle& cycle, CyclePosition* end = nullptr) {
    NciStream out;
    const CyclePosition position = cycle.Run(out);
    if (end != nullptr) *end = position;
    return std::string(out.view());
}

// The lines joined, each ended by a line feed.
inline std::string nciLines(std::initializer_list<std::string_view> text) {
    std::string all;
    for (std::string_view line : text)
        (all += line) += '\n';
    return all;
}

using Values = std::vector<std::pair<int, double>>;
using Flags = std::vector<std::pair<int, bool>>;

// The heights and feeds nearly every cycle takes: values 2, 3, 7 and 10.
struct Heights {
    double depth = 0.0;
    double secondClearance = 0.0;
    double feed = 0.0;
    double infeed = 0.0;  // set only when not 0: single-plunge drilling has no infeed
};

// A cycle of class `Cycle` at `start` as the cycle writers set one up: surface 0 (value 1),
// set-up clearance 2 (value 4), retract to surface + second clearance (flag 5 false), `heights`;
// then `values` and `flags` in order.
template <class Cycle>
std::unique_ptr<Cycle> makeCycle(const CycleStart& start, const Heights& heights,
                                 const Values& values = {}, const Flags& flags = {}) {
    auto c = std::make_unique<Cycle>(start);
    c->SetValue(1, 0.0);
    c->SetValue(2, heights.depth);
    c->SetValue(3, heights.secondClearance);
    c->SetValue(4, 2.0);
    c->SetValue(7, heights.feed);
    if (heights.infeed != 0.0) c->SetValue(10, heights.infeed);
    c->SetFlag(5, false);
    for (const auto& [index, value] : values)
        c->SetValue(index, value);
    for (const auto& [index, flag] : flags)
        c->SetFlag(index, flag);
    return c;
}

}  // namespace morvane::test
