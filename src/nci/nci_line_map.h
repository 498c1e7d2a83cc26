// Which program line each line of the NCI file comes from, for naming the program line of a
// report about the NCI (the post-processor's warnings). Kept as runs: a new entry only where the
// program line changes, and no more than kMaxRuns of them (later NCI lines are not known).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvane {

class NciLineMap {
  public:
    static constexpr std::size_t kMaxRuns = std::size_t{1} << 20;

    // NCI line `nciLine` (1-based, ascending) was written at program line `programLine`.
    void note(std::uint64_t nciLine, std::uint32_t programLine) {
        if (!runs_.empty() && runs_.back().programLine == programLine) return;
        if (runs_.size() >= kMaxRuns) {
            full_ = true;
            return;
        }
        runs_.push_back({nciLine, programLine});
    }
    // The program line of NCI line `nciLine` (1-based); 0 when not known.
    std::uint32_t programLine(std::uint64_t nciLine) const;

  private:
    struct Run {
        std::uint64_t firstNciLine;
        std::uint32_t programLine;
    };
    std::vector<Run> runs_;
    bool full_ = false;  // runs past the last one were not kept
};

}  // namespace morvane
