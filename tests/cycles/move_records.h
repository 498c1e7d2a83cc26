// Test helper: the move records a cycle object wrote, read back as numbers, and a cycle run into
// memory. Used by the expansion tests that check geometry with a tolerance (rotations, limits)
// where a golden file would only restate rounded numbers.
#pragma once

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cycles/nci_general_cycle.h"
#include "nci/nci_stream.h"

namespace morvane::test {

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

// Runs `cycle` into memory and returns the text it wrote.
inline std::string runCycle(NCIGeneralCycle& cycle, CyclePosition* end = nullptr) {
    NciStream out;
    const CyclePosition position = cycle.Run(out);
    if (end != nullptr) *end = position;
    return std::string(out.view());
}

}  // namespace morvane::test
