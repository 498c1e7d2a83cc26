// The parameters the drilling cycles' longhand writers hand over, in order: which value of the
// cycle class takes which Q parameter (Qn is the Q-parameter table's value for n).
#pragma once

#include "cycles/cycle_recipe.h"

namespace morvane::cycle_table {

using namespace arg;
using namespace general;
using namespace drilling;

// Drilling (200) and tapping with a floating holder (206): rapid retract from the bottom.
inline constexpr CycleArg kDrillRapidOut[] = {
    q(kClearance, 200),       negQ(kDepth, 201),           q(kFeed, 206),
    q(kDwellTime, 211),       flag(kRapidRetract, true),   q(kSurface, 203),
    q(kSecondClearance, 204), flag(kReturnToStart, false),
};
// 200 with the corrected semantics: pecks by Q202 with rapid retracts, dwell Q210 at the top.
inline constexpr CycleArg kDrill200Pecking[] = {
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 206),
    q(kDwellTime, 211),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    q(kInfeed, 202),
    q(universal_drilling::kDwellAtTop, 210),
};
// Reaming and boring (201, 202): feed back out of the hole.
inline constexpr CycleArg kDrillFeedOut[] = {
    q(kClearance, 200),       negQ(kDepth, 201),           q(kFeed, 206),
    q(kDwellTime, 211),       flag(kRapidRetract, false),  q(kSurface, 203),
    q(kSecondClearance, 204), flag(kReturnToStart, false),
};
// Rigid tapping (207) and tapping with chip breaking (209): no dwell at the bottom.
inline constexpr CycleArg kDrillNoDwell[] = {
    q(kClearance, 200),        negQ(kDepth, 201),           q(kFeed, 206),
    constant(kDwellTime, 0.0), flag(kRapidRetract, true),   q(kSurface, 203),
    q(kSecondClearance, 204),  flag(kReturnToStart, false),
};
// Universal drilling 203: chip breaking; one infeed from the surface to the depth.
inline constexpr CycleArg kDrill203[] = {
    q(kClearance, 200),       negQ(kDepth, 201),           q(kFeed, 206),
    q(kDwellTime, 211),       flag(kRapidRetract, false),  q(kSurface, 203),
    q(kSecondClearance, 204), flag(kReturnToStart, false), flag(kFullRetract, false),
    diffQ(kInfeed, 203, 201),
};
// 203 with the corrected semantics: pecks by Q202, decrement Q212, minimum Q205, Q213 chip
// breaks of Q256 before each retract, dwell Q210 at the top, retraction feed Q208.
inline constexpr CycleArg kDrill203Pecking[] = {
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 206),
    q(kDwellTime, 211),
    flag(kRapidRetract, false),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    q(kInfeed, 202),
    q(kChipBreakDistance, 256),
    q(universal_drilling::kPeckDecrement, 212),
    q(universal_drilling::kMinimumPeck, 205),
    q(universal_drilling::kChipBreaks, 213),
    q(universal_drilling::kDwellAtTop, 210),
    q(universal_drilling::kRetractionFeed, 208),
};
// Back boring 204: the depth is measured from the underside of the part.
inline constexpr CycleArg kDrill204[] = {
    q(kClearance, 200),
    sumQ(kDepth, {{{249, 1}, {203, 1}, {204, 1}, {252, -1}}}),
    q(kFeed, 206),
    q(kDwellTime, 255),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, false),
    diffQ(kInfeed, 204, 252),
};
// Universal pecking 205: full retract after every infeed Q202.
inline constexpr CycleArg kDrill205[] = {
    q(kClearance, 200),       negQ(kDepth, 201),           q(kFeed, 206),
    q(kDwellTime, 211),       flag(kRapidRetract, false),  q(kSurface, 203),
    q(kSecondClearance, 204), flag(kReturnToStart, false), flag(kFullRetract, true),
    q(kInfeed, 202),
};
// Bore milling 208: bore diameter Q335, infeed per helix turn Q334.
inline constexpr CycleArg kBoreMilling[] = {
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 206),
    q(bore_milling::kBoreDiameter, 335),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    q(bore_milling::kInfeedPerTurn, 334),
};
// Old-style pecking (CYCL 1.0): the depth is stored positive, and the tool is called at the
// set-up clearance above the surface.
inline constexpr CycleArg kOldPecking[] = {
    q(kClearance, 200),
    q(kDepth, 201),
    q(kFeed, 206),
    q(kDwellTime, 211),
    flag(kRapidRetract, true),
    oldSurface(),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    oldDepthFallback(),
};

}  // namespace morvane::cycle_table
