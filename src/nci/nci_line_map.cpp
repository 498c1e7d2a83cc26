#include "nci/nci_line_map.h"

#include <algorithm>

namespace morvane {

std::uint32_t NciLineMap::programLine(std::uint64_t nciLine) const {
    const auto after = std::upper_bound(
        runs_.begin(), runs_.end(), nciLine,
        [](std::uint64_t line, const Run& run) { return line < run.firstNciLine; });
    if (after == runs_.begin() || nciLine == 0) return 0;
    // The last run stands for the lines after it only when no later run was dropped.
    if (after == runs_.end() && full_) return 0;
    return std::prev(after)->programLine;
}

}  // namespace morvane
