// The parameters the pocket, slot, stud, surface and thread cycles' longhand writers hand over,
// in order: which value of the cycle class takes which Q parameter (Qn is the Q-parameter table's
// value for n).
#pragma once

#include "cycles/cycle_recipe.h"

namespace morvane::cycle_table {

using namespace arg;
using namespace general;
using namespace drilling;

// Old-style slot milling (CYCL DEF 3): corner radius half the slot width, started from the
// lower-left corner.
inline constexpr CycleArg kOldSlot[] = {
    q(rect_pocket::kSecondAxisSize, 219),
    q(rect_pocket::kFirstAxisSize, 218),
    halfSmallerSide(rect_pocket::kCornerRadius),
    constant(rect_pocket::kRotation, 0.0),
    constant(rect_pocket::kReference, 1.0),
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
// Old-style pocket milling (CYCL DEF 4): square corners.
inline constexpr CycleArg kOldPocket[] = {
    q(rect_pocket::kSecondAxisSize, 219),
    q(rect_pocket::kFirstAxisSize, 218),
    constant(rect_pocket::kCornerRadius, 0.0),
    constant(rect_pocket::kRotation, 0.0),
    q(rect_pocket::kReference, 367),
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
// The same two with the corrected semantics: the length (step .4) along the first axis, the
// width (step .5) along the second.
inline constexpr auto kOldSlotAxes = withSidesSwapped(kOldSlot);
inline constexpr auto kOldPocketAxes = withSidesSwapped(kOldPocket);
// Old-style circular pocket (CYCL DEF 5): radius from Q223, everything else default.
inline constexpr CycleArg kOldCircularPocket[] = {
    constant(circular_pocket::kOperation, 0.0),
    halfQ(circular_pocket::kRadius, 223),
    constant(circular_pocket::kStepOver, 0.0),
    constant(circular_pocket::kSideAllowance, 0.0),
    constant(circular_pocket::kFloorAllowance, 0.0),
    constant(circular_pocket::kFinishingInfeed, 0.0),
    q(kDepth, 201),
    q(kFeed, 206),
    q(kDwellTime, 211),
    flag(kRapidRetract, true),
    q(kClearance, 200),
    oldSurface(),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    oldDepthFallback(),
};
inline constexpr CycleArg kSlot210[] = {
    q(rect_slot::kCentreX, 216),
    q(rect_slot::kCentreY, 217),
    q(rect_slot::kWidth, 219),
    q(rect_slot::kLength, 218),
    q(rect_slot::kRotation, 374),
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 207),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
inline constexpr CycleArg kCircularSlot211[] = {
    q(circular_slot::kCentreY, 217),
    q(circular_slot::kCentreX, 216),
    q(circular_slot::kWidth, 219),
    halfQ(circular_slot::kPitchRadius, 244),
    q(circular_slot::kStartAngle, 245),
    q(circular_slot::kAngularLength, 248),
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 206),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
inline constexpr CycleArg kRectFinishing[] = {
    q(rect_finishing::kCentreX, 216),
    q(rect_finishing::kCentreY, 217),
    q(rect_finishing::kLengthX, 218),
    q(rect_finishing::kLengthY, 219),
    q(rect_finishing::kCornerRadius, 220),
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 207),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
inline constexpr CycleArg kCircularFinishing[] = {
    q(circular_finishing::kCentreX, 216),
    q(circular_finishing::kCentreY, 217),
    halfQ(circular_finishing::kRadius, 223),
    halfQ(circular_finishing::kBlankRadius, 222),
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 207),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};

inline constexpr CycleArg kMultipass230[] = {
    q(multipass::kExtentX, 219),
    q(multipass::kExtentY, 218),
    q(multipass::kStartX, 225),
    q(multipass::kStartY, 226),
    q(multipass::kCuts, 240),
    q(kClearance, 200),
    q(kFeed, 206),
    q(kSurface, 227),
    flag(kRapidRetract, true),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
// Ruled surface 231: the four corners Q225..Q236 go to the corners' coordinates in order.
inline constexpr int kCorners = ruled_surface::kFirstCorner;
inline constexpr CycleArg kRuledSurface231[] = {
    q(kCorners + 0, 225),         q(kCorners + 1, 226),
    q(kCorners + 2, 227),         q(kCorners + 3, 228),
    q(kCorners + 4, 229),         q(kCorners + 5, 230),
    q(kCorners + 6, 231),         q(kCorners + 7, 232),
    q(kCorners + 8, 233),         q(kCorners + 9, 234),
    q(kCorners + 10, 235),        q(kCorners + 11, 236),
    q(ruled_surface::kCuts, 240), q(kFeed, 206),
    flag(kRapidRetract, true),    flag(kReturnToStart, false),
    flag(kFullRetract, true),     depthFallback(),
};
inline constexpr CycleArg kFaceMilling232[] = {
    q(face_milling::kExtentX, 219),
    q(face_milling::kExtentY, 218),
    q(face_milling::kStartX, 225),
    q(face_milling::kStartY, 226),
    q(face_milling::kStrategy, 389),
    q(face_milling::kFloorAllowance, 369),
    q(face_milling::kSideClearance, 357),
    q(face_milling::kOverlap, 370),
    q(kClearance, 200),
    diffQ(kDepth, 227, 386),
    q(kFeed, 206),
    flag(kRapidRetract, true),
    q(kSurface, 227),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
inline constexpr CycleArg kRectPocket251[] = {
    q(rect_pocket::kSecondAxisSize, 219),
    q(rect_pocket::kFirstAxisSize, 218),
    q(rect_pocket::kCornerRadius, 220),
    q(rect_pocket::kRotation, 224),
    q(rect_pocket::kReference, 367),
    q(rect_pocket::kStepOver, 370),
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 206),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
inline constexpr CycleArg kCircularPocket252[] = {
    q(circular_pocket::kOperation, 215),
    halfQ(circular_pocket::kRadius, 223),
    q(circular_pocket::kStepOver, 370),
    q(circular_pocket::kSideAllowance, 368),
    q(circular_pocket::kFloorAllowance, 369),
    q(circular_pocket::kFinishingInfeed, 338),
    negQ(kDepth, 201),
    q(kFeed, 206),
    flag(kRapidRetract, true),
    q(kClearance, 200),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
// The two with the corrected semantics: the machining operation Q215, the side and floor
// allowances Q368 and Q369, the direction Q351 and the plunging Q366 reach the pocket too, and
// 251 and 253 their finishing infeed Q338 (252 takes Q338 in both semantics); each handed over
// before the closing flags and infeed.
inline constexpr CycleArg kRectPocketPasses[] = {
    q(rect_pocket::kSideAllowance, 368), q(rect_pocket::kFloorAllowance, 369),
    q(rect_pocket::kOperation, 215),     q(rect_pocket::kDirection, 351),
    q(rect_pocket::kPlunging, 366),      q(rect_pocket::kFinishingInfeed, 338),
};
inline constexpr auto kRectPocket251Passes = withPasses(kRectPocket251, kRectPocketPasses);
inline constexpr CycleArg kCircularPocketPasses[] = {
    q(circular_pocket::kDirection, 351),
    q(circular_pocket::kPlunging, 366),
};
inline constexpr auto kCircularPocket252Passes =
    withPasses(kCircularPocket252, kCircularPocketPasses);
// Slot milling 253: a pocket whose corner radius is half the slot width.
inline constexpr CycleArg kSlot253[] = {
    q(rect_pocket::kSecondAxisSize, 219),
    q(rect_pocket::kFirstAxisSize, 218),
    halfSmallerSide(rect_pocket::kCornerRadius),
    q(rect_pocket::kRotation, 374),
    q(rect_pocket::kReference, 367),
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 207),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
// 253 with the corrected semantics: the operation, allowances, direction, plunging and
// finishing infeed too.
inline constexpr auto kSlot253Passes = withPasses(kSlot253, kRectPocketPasses);
inline constexpr CycleArg kCircularSlot254[] = {
    q(circular_slot::kCentreY, 217),
    q(circular_slot::kCentreX, 216),
    q(circular_slot::kWidth, 219),
    halfQ(circular_slot::kPitchRadius, 375),
    q(circular_slot::kStartAngle, 376),
    q(circular_slot::kAngularLength, 248),
    q(circular_slot::kReference, 367),
    q(kClearance, 200),
    negQ(kDepth, 201),
    q(kFeed, 207),
    flag(kRapidRetract, true),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    flag(kReturnToStart, false),
    flag(kFullRetract, true),
    depthFallback(),
};
// 254 with the corrected semantics: the operation, allowances, direction, plunging and
// finishing infeed of the straight slot 253 too.
inline constexpr CycleArg kCircularSlotPasses[] = {
    q(circular_slot::kSideAllowance, 368), q(circular_slot::kFloorAllowance, 369),
    q(circular_slot::kOperation, 215),     q(circular_slot::kDirection, 351),
    q(circular_slot::kPlunging, 366),      q(circular_slot::kFinishingInfeed, 338),
};
inline constexpr auto kCircularSlot254Passes = withPasses(kCircularSlot254, kCircularSlotPasses);
// Thread milling 262 and 263: countersinking depth Q356, thread depth Q201.
inline constexpr CycleArg kThreadMilling263[] = {
    halfQ(thread_milling::kThreadRadius, 335),
    q(thread_milling::kPitch, 239),
    negQ(thread_milling::kThreadDepth, 201),
    negQ(kDepth, 356),
    q(kClearance, 200),
    q(thread_milling::kSideClearance, 357),
    q(thread_milling::kCountersinkDepth, 358),
    q(thread_milling::kFrontOffset, 359),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    q(kFeed, 207),
    flag(kRapidRetract, false),
    flag(kReturnToStart, false),
};
inline constexpr CycleArg kOutsideThread267[] = {
    halfQ(thread_milling::kThreadRadius, 335),
    q(thread_milling::kPitch, 239),
    negQ(kDepth, 201),
    q(kClearance, 200),
    q(thread_milling::kCountersinkDepth, 358),
    q(thread_milling::kFrontOffset, 359),
    q(kSurface, 203),
    q(kSecondClearance, 204),
    q(kFeed, 207),
    flag(kRapidRetract, false),
    flag(kReturnToStart, false),
};

}  // namespace morvane::cycle_table
