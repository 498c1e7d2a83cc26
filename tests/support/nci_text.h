// Test support: composing expected NCI text and reading back what a cycle object wrote.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "cycles/nci_general_cycle.h"

namespace morvane::test {

// The lines joined, each ended by a line feed.
inline std::string nciLines(std::initializer_list<std::string_view> text) {
    std::string all;
    for (std::string_view line : text)
        (all += line) += '\n';
    return all;
}

// Runs `cycle` once and returns the NCI text of its moves.
inline std::string runCycle(NCIGeneralCycle& cycle) {
    NciStream out;
    cycle.Run(out);
    return std::string(out.view());
}

// The number of records with the code line `code` (code lines are every other line).
inline int countRecords(std::string_view nci, std::string_view code) {
    int n = 0;
    bool codeLine = true;
    std::size_t pos = 0;
    while (pos < nci.size()) {
        std::size_t end = nci.find('\n', pos);
        if (end == std::string_view::npos) end = nci.size();
        if (codeLine && nci.substr(pos, end - pos) == code) ++n;
        codeLine = !codeLine;
        pos = end + 1;
    }
    return n;
}

}  // namespace morvane::test
