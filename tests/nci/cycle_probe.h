// A writer whose cycle writers only mark which one was called, to test the routing of cycle
// calls independently of the longhand expansions; it also shows the supported-cycle list.
#pragma once

#include <cstdint>
#include <vector>

#include "cycles/cycle_writers.h"
#include "writer/nci_frame.h"
#include "nci/longhand_cycles.h"
#include "nci/nci_stream.h"

namespace morvane::test {

// Longhand cycles that write only a mark, "<200>", per cycle called by number.
class MarkingCycles final : public LonghandCycles {
  public:
    void Write(std::int32_t cycle, const CycleCall&, MachineState&, NciStream& out) const override {
        out << '<' << cycle << '>' << eol;
    }
    // ISO holes are written as the product writes them.
    void WriteIsoHole(const IsoHole& hole, const CycleCall& call, MachineState& tool,
                      NciStream& out) const override {
        longhandCycles().WriteIsoHole(hole, call, tool, out);
    }
};

template <class Frame>
class CycleProbe : public Frame {
  public:
    CycleProbe() : Frame(marks()) {}

    const std::vector<std::int32_t>& supportedList() const { return this->supportedCycles_; }

  private:
    static const LonghandCycles& marks() {
        static const MarkingCycles cycles;
        return cycles;
    }
};

}  // namespace morvane::test
