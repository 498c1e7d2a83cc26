// The longhand cycle writers: per cycle number its label, head lines, cycle class and the
// parameters in the order they are handed over. Qn is the Q-parameter table's value for n.
#pragma once

#include "cycles/cycle_recipe.h"
#include "cycles/nci_drilling.h"
#include "cycles/nci_milling_cycles.h"

namespace morvane::cycle_table {

using namespace arg;

// Drilling (200) and tapping with a floating holder (206): rapid retract from the bottom.
inline constexpr CycleArg kDrillRapidOut[] = {
    q(4, 200),     negQ(2, 201), q(7, 206), q(9, 211),
    flag(8, true), q(1, 203),    q(3, 204), flag(5, false),
};
// 200 with the corrected semantics: pecks by Q202 with rapid retracts, dwell Q210 at the top.
inline constexpr CycleArg kDrill200Pecking[] = {
    q(4, 200), negQ(2, 201), q(7, 206),      q(9, 211),  flag(8, true),
    q(1, 203), q(3, 204),    flag(5, false), q(10, 202), q(16, 210),
};
// Reaming and boring (201, 202): feed back out of the hole.
inline constexpr CycleArg kDrillFeedOut[] = {
    q(4, 200),      negQ(2, 201), q(7, 206), q(9, 211),
    flag(8, false), q(1, 203),    q(3, 204), flag(5, false),
};
// Rigid tapping (207) and tapping with chip breaking (209): no dwell at the bottom.
inline constexpr CycleArg kDrillNoDwell[] = {
    q(4, 200),     negQ(2, 201), q(7, 206), constant(9, 0.0),
    flag(8, true), q(1, 203),    q(3, 204), flag(5, false),
};
// Universal drilling 203: chip breaking; one infeed from the surface to the depth.
inline constexpr CycleArg kDrill203[] = {
    q(4, 200), negQ(2, 201), q(7, 206),      q(9, 211),       flag(8, false),
    q(1, 203), q(3, 204),    flag(5, false), flag(12, false), diffQ(10, 203, 201),
};
// 203 with the corrected semantics: pecks by Q202, decrement Q212, minimum Q205, Q213 chip
// breaks of Q256 before each retract, dwell Q210 at the top, retraction feed Q208.
inline constexpr CycleArg kDrill203Pecking[] = {
    q(4, 200),  negQ(2, 201), q(7, 206),      q(9, 211),  flag(8, false),
    q(1, 203),  q(3, 204),    flag(5, false), q(10, 202), q(11, 256),
    q(13, 212), q(14, 205),   q(15, 213),     q(16, 210), q(17, 208),
};
// Back boring 204: the depth is measured from the underside of the part.
inline constexpr CycleArg kDrill204[] = {
    q(4, 200),       sumQ(2, {{{249, 1}, {203, 1}, {204, 1}, {252, -1}}}),
    q(7, 206),       q(9, 255),
    flag(8, true),   q(1, 203),
    q(3, 204),       flag(5, false),
    flag(12, false), diffQ(10, 204, 252),
};
// Universal pecking 205: full retract after every infeed Q202.
inline constexpr CycleArg kDrill205[] = {
    q(4, 200), negQ(2, 201), q(7, 206),      q(9, 211),      flag(8, false),
    q(1, 203), q(3, 204),    flag(5, false), flag(12, true), q(10, 202),
};
// Bore milling 208: bore diameter Q335, infeed per helix turn Q334.
inline constexpr CycleArg kBoreMilling[] = {
    q(4, 200), negQ(2, 201), q(7, 206),      q(10, 335), flag(8, true),
    q(1, 203), q(3, 204),    flag(5, false), q(11, 334),
};
// Old-style pecking (CYCL 1.0): the depth is stored positive, and the tool is called at the
// set-up clearance above the surface.
inline constexpr CycleArg kOldPecking[] = {
    q(4, 200),    q(2, 201),      q(7, 206),      q(9, 211),          flag(8, true),
    oldSurface(), flag(5, false), flag(12, true), oldDepthFallback(),
};
// Old-style slot milling (CYCL DEF 3): corner radius half the slot width, started from the
// lower-left corner.
inline constexpr CycleArg kOldSlot[] = {
    q(15, 219),   q(16, 218),     halfSmallerSide(18), constant(23, 0.0),  constant(24, 1.0),
    q(4, 200),    q(2, 201),      q(7, 206),           q(9, 211),          flag(8, true),
    oldSurface(), flag(5, false), flag(12, true),      oldDepthFallback(),
};
// Old-style pocket milling (CYCL DEF 4): square corners.
inline constexpr CycleArg kOldPocket[] = {
    q(15, 219),   q(16, 218),     constant(18, 0.0), constant(23, 0.0),  q(24, 367),
    q(4, 200),    q(2, 201),      q(7, 206),         q(9, 211),          flag(8, true),
    oldSurface(), flag(5, false), flag(12, true),    oldDepthFallback(),
};
// The same two with the corrected semantics: the length (step .4) along the first axis, the
// width (step .5) along the second.
inline constexpr CycleArg kOldSlotAxes[] = {
    q(15, 218),   q(16, 219),     halfSmallerSide(18), constant(23, 0.0),  constant(24, 1.0),
    q(4, 200),    q(2, 201),      q(7, 206),           q(9, 211),          flag(8, true),
    oldSurface(), flag(5, false), flag(12, true),      oldDepthFallback(),
};
inline constexpr CycleArg kOldPocketAxes[] = {
    q(15, 218),   q(16, 219),     constant(18, 0.0), constant(23, 0.0),  q(24, 367),
    q(4, 200),    q(2, 201),      q(7, 206),         q(9, 211),          flag(8, true),
    oldSurface(), flag(5, false), flag(12, true),    oldDepthFallback(),
};
// Old-style circular pocket (CYCL DEF 5): radius from Q223, everything else default.
inline constexpr CycleArg kOldCircularPocket[] = {
    constant(18, 0.0), halfQ(13, 223), constant(14, 0.0), constant(15, 0.0), constant(16, 0.0),
    constant(17, 0.0), q(2, 201),      q(7, 206),         q(9, 211),         flag(8, true),
    q(4, 200),         oldSurface(),   flag(5, false),    flag(12, true),    oldDepthFallback(),
};
inline constexpr CycleArg kSlot210[] = {
    q(25, 216), q(26, 217),     q(15, 219),     q(16, 218),      q(23, 374),
    q(4, 200),  negQ(2, 201),   q(7, 207),      flag(8, true),   q(1, 203),
    q(3, 204),  flag(5, false), flag(12, true), depthFallback(),
};
inline constexpr CycleArg kCircularSlot211[] = {
    q(25, 217), q(26, 216), q(19, 219),     halfQ(13, 244), q(20, 245),
    q(21, 248), q(4, 200),  negQ(2, 201),   q(7, 206),      flag(8, true),
    q(1, 203),  q(3, 204),  flag(5, false), flag(12, true), depthFallback(),
};
inline constexpr CycleArg kRectFinishing[] = {
    q(24, 216), q(23, 217),     q(15, 218),     q(16, 219),      q(18, 220),
    q(4, 200),  negQ(2, 201),   q(7, 207),      flag(8, true),   q(1, 203),
    q(3, 204),  flag(5, false), flag(12, true), depthFallback(),
};
inline constexpr CycleArg kCircularFinishing[] = {
    q(14, 216),     q(15, 217),     halfQ(13, 223),  halfQ(16, 222), q(4, 200),
    negQ(2, 201),   q(7, 207),      flag(8, true),   q(1, 203),      q(3, 204),
    flag(5, false), flag(12, true), depthFallback(),
};

inline constexpr CycleArg kMultipass230[] = {
    q(15, 219), q(16, 218), q(17, 225),    q(18, 226),     q(23, 240),     q(4, 200),
    q(7, 206),  q(1, 227),  flag(8, true), flag(5, false), flag(12, true), depthFallback(),
};
// Ruled surface 231: the four corners Q225..Q236 go to 15..26 in order.
inline constexpr CycleArg kRuledSurface231[] = {
    q(15, 225), q(16, 226), q(17, 227),    q(18, 228),     q(19, 229),     q(20, 230),
    q(21, 231), q(22, 232), q(23, 233),    q(24, 234),     q(25, 235),     q(26, 236),
    q(27, 240), q(7, 206),  flag(8, true), flag(5, false), flag(12, true), depthFallback(),
};
inline constexpr CycleArg kFaceMilling232[] = {
    q(15, 219), q(16, 218), q(17, 225),     q(18, 226),         q(26, 389),      q(24, 369),
    q(23, 357), q(25, 370), q(4, 200),      diffQ(2, 227, 386), q(7, 206),       flag(8, true),
    q(1, 227),  q(3, 204),  flag(5, false), flag(12, true),     depthFallback(),
};
inline constexpr CycleArg kRectPocket251[] = {
    q(15, 219), q(16, 218), q(18, 220),     q(23, 224),     q(24, 367),
    q(17, 370), q(4, 200),  negQ(2, 201),   q(7, 206),      flag(8, true),
    q(1, 203),  q(3, 204),  flag(5, false), flag(12, true), depthFallback(),
};
inline constexpr CycleArg kCircularPocket252[] = {
    q(18, 215), halfQ(13, 223), q(14, 370),     q(15, 368),     q(16, 369),
    q(17, 338), negQ(2, 201),   q(7, 206),      flag(8, true),  q(4, 200),
    q(1, 203),  q(3, 204),      flag(5, false), flag(12, true), depthFallback(),
};
// The two with the corrected semantics: the machining operation Q215, the side and floor
// allowances Q368 and Q369, the direction Q351 and the plunging Q366 reach the pocket too, and
// 251 its finishing infeed Q338 (252 takes Q338 in both semantics).
inline constexpr CycleArg kRectPocket251Passes[] = {
    q(15, 219), q(16, 218),   q(18, 220), q(23, 224),     q(24, 367),     q(17, 370),
    q(4, 200),  negQ(2, 201), q(7, 206),  flag(8, true),  q(1, 203),      q(3, 204),
    q(19, 368), q(20, 369),   q(21, 215), q(22, 351),     q(27, 366),     q(25, 338),
    flag(5, false), flag(12, true), depthFallback(),
};
inline constexpr CycleArg kCircularPocket252Passes[] = {
    q(18, 215), halfQ(13, 223), q(14, 370),     q(15, 368),     q(16, 369),
    q(17, 338), negQ(2, 201),   q(7, 206),      flag(8, true),  q(4, 200),
    q(1, 203),  q(3, 204),      q(19, 351),     q(20, 366),     flag(5, false),
    flag(12, true), depthFallback(),
};
// Slot milling 253: a pocket whose corner radius is half the slot width.
inline constexpr CycleArg kSlot253[] = {
    q(15, 219), q(16, 218),     halfSmallerSide(18), q(23, 374),      q(24, 367),
    q(4, 200),  negQ(2, 201),   q(7, 207),           flag(8, true),   q(1, 203),
    q(3, 204),  flag(5, false), flag(12, true),      depthFallback(),
};
// 253 with the corrected semantics: the operation, allowances, direction, plunging and
// finishing infeed too.
inline constexpr CycleArg kSlot253Passes[] = {
    q(15, 219),     q(16, 218),   halfSmallerSide(18), q(23, 374),     q(24, 367),
    q(4, 200),      negQ(2, 201), q(7, 207),           flag(8, true),  q(1, 203),
    q(3, 204),      q(19, 368),   q(20, 369),          q(21, 215),     q(22, 351),
    q(27, 366),     q(25, 338),   flag(5, false),      flag(12, true), depthFallback(),
};
inline constexpr CycleArg kCircularSlot254[] = {
    q(25, 217), q(26, 216),     q(19, 219),     halfQ(13, 375),  q(20, 376),    q(21, 248),
    q(22, 367), q(4, 200),      negQ(2, 201),   q(7, 207),       flag(8, true), q(1, 203),
    q(3, 204),  flag(5, false), flag(12, true), depthFallback(),
};
// 254 with the corrected semantics: the operation, allowances, direction, plunging and
// finishing infeed of the straight slot 253 too.
inline constexpr CycleArg kCircularSlot254Passes[] = {
    q(25, 217), q(26, 216),   q(19, 219), halfQ(13, 375), q(20, 376),     q(21, 248),
    q(22, 367), q(4, 200),    negQ(2, 201), q(7, 207),    flag(8, true),  q(1, 203),
    q(3, 204),  q(15, 368),   q(16, 369), q(17, 215),     q(18, 351),     q(23, 366),
    q(24, 338), flag(5, false), flag(12, true), depthFallback(),
};
// Thread milling 262 and 263: countersinking depth Q356, thread depth Q201.
inline constexpr CycleArg kThreadMilling263[] = {
    halfQ(13, 335), q(17, 239),     negQ(18, 201),  negQ(2, 356), q(4, 200),
    q(16, 357),     q(14, 358),     q(15, 359),     q(1, 203),    q(3, 204),
    q(7, 207),      flag(8, false), flag(5, false),
};
inline constexpr CycleArg kOutsideThread267[] = {
    halfQ(13, 335), q(17, 239), negQ(2, 201), q(4, 200),      q(14, 358),     q(15, 359),
    q(1, 203),      q(3, 204),  q(7, 207),    flag(8, false), flag(5, false),
};

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
    {251, "CYCLE DEF 251", false, buildCycle<NCIRectPocket>, kRectPocket251,
     kRectPocket251Passes},
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
