// The longhand cycle writers: per cycle number its label, head lines, cycle class and the
// parameters in the order they are handed over (drilling_cycle_args.h, milling_cycle_args.h).
#pragma once

#include "cycles/cycle_recipe.h"
#include "cycles/drilling_cycle_args.h"
#include "cycles/milling_cycle_args.h"
#include "cycles/nci_drilling.h"
#include "cycles/nci_milling_cycles.h"

namespace morvane::cycle_table {

inline constexpr CycleRecipe kWriters[] = {
    {200, "Drilling cycle", true, buildCycle<NCIUniversalDrilling>, kDrillRapidOut,
     kDrill200Pecking},
    {201, "Cycle 201", true, buildCycle<NCISimpleDrilling>, kDrillFeedOut},
    {202, "Cycle 202", true, buildCycle<NCISimpleDrilling>, kDrillFeedOut},
    {203, "Cycl 203", true, buildCycle<NCIUniversalDrilling>, kDrill203, kDrill203Pecking},
    {204, "Cycle 204", true, buildCycle<NCIDeepDrilling>, kDrill204},
    {205, "Cycl 205", true, buildCycle<NCIDeepDrilling>, kDrill205},
    {206, "Cycle 206", true, buildCycle<NCISimpleDrilling>, kDrillRapidOut},
    {207, "Cycle 207", true, buildCycle<NCISimpleDrilling>, kDrillNoDwell},
    {208, "Cycle 208", true, buildCycle<NCIBoreDrilling>, kBoreMilling},
    {209, "Cycle 209", true, buildCycle<NCISimpleDrilling>, kDrillNoDwell},
    {1001, "CYCL 1.0", true, buildCycle<NCIDeepDrilling>, kOldPecking},
    {1003, "CYCL DEF 3.0", false, buildCycle<NCIRectPocket>, kOldSlot, kOldSlotAxes},
    {1004, "Slot drilling", false, buildCycle<NCIRectPocket>, kOldPocket, kOldPocketAxes},
    {1005, "Slot drilling", false, buildCycle<NCICircularPocket>, kOldCircularPocket},
    {210, "CYCLE DEF 210", false, buildCycle<NCIRectSlot>, kSlot210},
    {211, "CYCLE DEF 211", false, buildCycle<NCICircularSlot>, kCircularSlot211},
    {212, "CYCLE DEF 212", false, buildCycle<NCIRectPocketFinishing>, kRectFinishing},
    {213, "CYCLE DEF 213", false, buildCycle<NCIStudFinishing>, kRectFinishing},
    {214, "CYCLE DEF 214", false, buildCycle<NCICircularPocketFinishing>, kCircularFinishing},
    {215, "CYCLE DEF 215", false, buildCycle<NCICircularStud>, kCircularFinishing},
    {230, "CYCLE DEF 230", false, buildCycle<NCIMultipassMilling>, kMultipass230},
    {231, "CYCLE DEF 231", false, buildCycle<NCIRuledSurface>, kRuledSurface231},
    {232, "CYCLE DEF 232", false, buildCycle<NCIFaceMilling>, kFaceMilling232},
    {251, "CYCLE DEF 251", false, buildCycle<NCIRectPocket>, kRectPocket251, kRectPocket251Passes},
    {252, "CYCLE DEF 252", false, buildCycle<NCICircularPocket>, kCircularPocket252,
     kCircularPocket252Passes},
    {253, "CYCLE DEF 253", false, buildCycle<NCIRectPocket>, kSlot253, kSlot253Passes},
    {254, "CYCLE DEF 254", false, buildCycle<NCICircularSlot>, kCircularSlot254,
     kCircularSlot254Passes},
    {263, "CYCLE DEF 263", false, buildCycle<NCIThreadMilling>, kThreadMilling263},
    {267, "CYCLE DEF 267", false, buildCycle<NCIOutsideThread>, kOutsideThread267},
};

// The writer of a cycle number; null for a number without one.
inline const CycleRecipe* findWriter(std::int32_t cycle) {
    for (const CycleRecipe& w : kWriters)
        if (w.cycle == cycle) return &w;
    return nullptr;
}

}  // namespace morvane::cycle_table
