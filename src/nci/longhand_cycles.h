// The longhand cycles as the NCI writer calls them. The writer decides that a cycle call is
// written longhand and hands over what the call block says; the cycles (cycles/cycle_writers.h)
// write the bracketed operation and move the tool. The parser that makes the writer hands it the
// cycles, so the writer never depends on the cycles' code.
#pragma once

#include <cstdint>

#include "nci/block.h"
#include "nci/diagnostics.h"
#include "nci/machine_state.h"
#include "nci/nci_format.h"
#include "nci/nci_stream.h"

namespace morvane {

// One hole of an ISO drill cycle, in absolute levels.
struct IsoHole {
    std::int32_t cycle = 81;  // 73, 74, 76, 81..89
    double x = 0.0, y = 0.0;  // hole position
    double referenceZ = 0.0;  // R: rapid down to it, feed below it (G87: the level under the part)
    double bottomZ = 0.0;     // Z of the hole bottom (G87: the top of the back bore)
    double returnZ = 0.0;     // G98: the initial level, at least R; G99: R
    double peck = 0.0;        // Q of G73 and G83; 0 for a single plunge
    double shift = 0.0;       // Q of G76 and G87: the tool moves off the wall by this along +X
    double dwell = 0.0;       // P, in seconds, at the bottom
    double retract = 0.0;     // G73: lift after each peck; G83: stop short of the last depth
};

// What the call block and the writer's modal state say about a cycle call.
struct CycleCall {
    std::int32_t tool = 1;          // T; tool 0 (the spindle's own) is written as tool 1
    double spindleSpeed = 0.0;      // S
    double feed = 0.0;              // F of the block (an ISO hole: the feed in force)
    double callZ = 0.0;             // Z of the call block, else the tool's Z
    WorkingPlane plane = WorkingPlane::XY;
    std::uint32_t compensation = 0; // {G40, G41, G42} of the block, else 0
    bool conversationalApproach = true;  // the cycle-approach rule applies
    MachineState before;            // where the tool stood before the call block
    ParamMap* q = nullptr;          // the Q-parameter table
    Diagnostics* diagnostics = nullptr;
};

class LonghandCycles {
  public:
    LonghandCycles() = default;
    LonghandCycles(const LonghandCycles&) = delete;
    LonghandCycles& operator=(const LonghandCycles&) = delete;
    virtual ~LonghandCycles() = default;

    // Writes cycle `cycle` (200..267, 1001, 1003..1005) longhand from where `tool` stands and
    // leaves `tool` where the operation ends. A number without a writer writes nothing.
    virtual void Write(std::int32_t cycle, const CycleCall& call, MachineState& tool,
                       NciStream& out) const = 0;
    // Writes one hole of an ISO drill cycle longhand, likewise.
    virtual void WriteIsoHole(const IsoHole& hole, const CycleCall& call, MachineState& tool,
                              NciStream& out) const = 0;
};

}  // namespace morvane
