// The code tables of the ISO frame (NCIFrameFanuc): what its G codes, M codes and special records
// do, shared by its exact and corrected block writers.
#pragma once

#include <cstdint>
#include <string_view>

#include "writer/frame_rules.h"

namespace morvane {

inline constexpr GCodeRule kFanucGCodes[] = {
    {0, 4, GEffect::Motion},
    {17, 17, GEffect::Plane, 0},
    {18, 18, GEffect::Plane, 2},
    {19, 19, GEffect::Plane, 1},
    {24, 24, GEffect::Record, rec::Chamfer},
    {25, 25, GEffect::Record, rec::Rounding},
    {28, 28, GEffect::Record, rec::ReferenceReturn},
    {30, 30, GEffect::BlankMin},
    {31, 31, GEffect::BlankMax},
    {40, 42, GEffect::Compensation},
    {54, 59, GEffect::Datum},
    {73, 74, GEffect::DrillCycle},
    {76, 76, GEffect::DrillCycle},
    {80, 80, GEffect::CancelDrill},
    {81, 88, GEffect::DrillCycle},
    {92, 92, GEffect::Record, rec::SpindleLimit},
    {96, 96, GEffect::Record, rec::SurfaceSpeed},
    {1018, 1018, GEffect::Record, rec::SubprogramLabel},
};

inline constexpr MCodeRule kFanucMCodes[] = {
    {3, MEffect::Spindle, 1},
    {4, MEffect::Spindle, -1},
    {6, MEffect::ToolChange},
    {30, MEffect::Record, rec::ProgramEnd},
    {98, MEffect::Record, rec::SubprogramCall},
    {99, MEffect::Record, rec::SubprogramReturn},
};

// Special records of the ISO frame. Codes that stay in force are written again by the following
// blocks until their own codes choose another record.
inline constexpr RecordLayout kFanucRecords[] = {
    {rec::ToolChange, Layout::ToolLineDirected},
    {rec::ProgramEnd, Layout::Empty, true},
    {rec::SubprogramReturn, Layout::Empty, true},
    {rec::SubprogramLabel, Layout::SubprogramLabelP, true},
    {rec::StockBlank, Layout::StockBlank, true},
    {rec::SubprogramCall, Layout::SubprogramCallP},
    {rec::ReferenceReturn, Layout::Empty},
    {rec::Chamfer, Layout::Radius},
    {rec::Rounding, Layout::Radius},
    {rec::DatumSelect, Layout::Datum},
    {rec::SpindleLimit, Layout::SpindleDirected},
    {rec::SurfaceSpeed, Layout::SpindleDirected},
    {rec::CycleCall, Layout::CycleCall, true},
    {rec::CycleCallRepeat, Layout::CycleCallRepeatAtZ, true},
};

constexpr bool isDrillCycleCall(std::int32_t code) {
    return code == rec::CycleCall || code == rec::CycleCallRepeat;
}

// The drill cycles of the ISO dialects; G89 only with the corrected semantics.
constexpr bool isIsoDrillCycle(std::int32_t g) {
    return g == 73 || g == 74 || g == 76 || (g >= 81 && g <= 89);
}

// What of cycle G`cycle` the NCI moves cannot say (a spindle reversal, stop or orientation);
// empty when nothing is lost.
constexpr std::string_view isoCycleSpindleAction(std::int32_t cycle) {
    switch (cycle) {
        case 74:
        case 84: return "the spindle reversal at the bottom of the tap";
        case 76: return "the oriented spindle stop before the tool moves off the wall";
        case 86: return "the spindle stop at the bottom";
        case 87: return "the oriented spindle stops before each move off the wall";
        case 88: return "the spindle stop and the manual retract at the bottom";
        default: return {};
    }
}

}  // namespace morvane
