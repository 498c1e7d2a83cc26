// The indices that the pocket, slot, stud, surface and thread cycles accept, and how each value
// is stored. Every index not listed goes on to the drilling values.
#include <iterator>

#include "cycles/nci_milling_cycles.h"

namespace morvane {
namespace {

using enum ValueRule;

// The deep drilling's infeed and chip-break distance come first in every table.
constexpr ValueSlot kRectPocketValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {rect_pocket::kSecondAxisSize, Plain},
    {rect_pocket::kFirstAxisSize, Plain},
    {rect_pocket::kStepOver, Plain},
    {rect_pocket::kCornerRadius, Plain},
    {rect_pocket::kSideAllowance, Plain},
    {rect_pocket::kFloorAllowance, Plain},
    {rect_pocket::kOperation, Plain},
    {rect_pocket::kDirection, Plain},
    {rect_pocket::kRotation, NegRadians},
    {rect_pocket::kReference, Plain},
    {rect_pocket::kFinishingInfeed, Plain},
    {rect_pocket::kPlunging, Plain},
};
constexpr ValueSlot kRectSlotValues[] = {
    {drilling::kInfeed, Plain},         {drilling::kChipBreakDistance, Plain},
    {rect_slot::kWidth, Plain},         {rect_slot::kLength, Plain},
    {rect_slot::kStepOver, Plain},      {rect_pocket::kCornerRadius, Plain},  // taken, unused
    {rect_slot::kRotation, NegRadians}, {rect_pocket::kReference, Plain},     // taken, unused
    {rect_slot::kCentreX, Plain},       {rect_slot::kCentreY, Plain},
};
constexpr ValueSlot kRectFinishingValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {rect_finishing::kLengthX, Plain},
    {rect_finishing::kLengthY, Plain},
    {rect_finishing::kCornerRadius, Plain},
    {rect_finishing::kCentreY, Plain},
    {rect_finishing::kCentreX, Plain},
};
constexpr ValueSlot kFaceMillingValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {face_milling::kExtentX, Plain},
    {face_milling::kExtentY, Plain},
    {face_milling::kStartX, Plain},
    {face_milling::kStartY, Plain},
    {face_milling::kSideClearance, Plain},
    {face_milling::kFloorAllowance, Plain},
    {face_milling::kOverlap, Plain},
    {face_milling::kStrategy, RoundToInt},
};
constexpr ValueSlot kMultipassValues[] = {
    {drilling::kInfeed, Plain},     {drilling::kChipBreakDistance, Plain},
    {multipass::kExtentX, Plain},   {multipass::kExtentY, Plain},
    {multipass::kStartX, Plain},    {multipass::kStartY, Plain},
    {multipass::kCuts, RoundToInt},
};
// The corners' twelve coordinates from the first corner's X on.
constexpr ValueSlot kRuledSurfaceValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {15, Plain},
    {16, Plain},
    {17, Plain},
    {18, Plain},
    {19, Plain},
    {20, Plain},
    {21, Plain},
    {22, Plain},
    {23, Plain},
    {24, Plain},
    {25, Plain},
    {26, Plain},
    {ruled_surface::kCuts, RoundToInt},
};
static_assert(ruled_surface::kFirstCorner == 15 && ruled_surface::kCuts == 15 + 12);
constexpr ValueSlot kCircularPocketValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {circular_pocket::kRadius, Plain},
    {circular_pocket::kStepOver, Plain},
    {circular_pocket::kSideAllowance, Plain},
    {circular_pocket::kFloorAllowance, Plain},
    {circular_pocket::kFinishingInfeed, Plain},
    {circular_pocket::kOperation, Plain},
    {circular_pocket::kDirection, Plain},
    {circular_pocket::kPlunging, Plain},
};
constexpr ValueSlot kCircularFinishingValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {circular_finishing::kRadius, Plain},
    {circular_finishing::kCentreX, Plain},
    {circular_finishing::kCentreY, Plain},
    {circular_finishing::kBlankRadius, Plain},
};
constexpr ValueSlot kCircularSlotValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {circular_slot::kPitchRadius, Plain},
    {circular_slot::kStepOver, Plain},
    {circular_slot::kSideAllowance, Plain},
    {circular_slot::kFloorAllowance, Plain},
    {circular_slot::kOperation, Plain},
    {circular_slot::kDirection, Plain},
    {circular_slot::kWidth, Plain},
    {circular_slot::kStartAngle, Radians},
    {circular_slot::kAngularLength, Radians},
    {circular_slot::kReference, RoundToInt},
    {circular_slot::kPlunging, Plain},
    {circular_slot::kFinishingInfeed, Plain},
    {circular_slot::kCentreY, Plain},
    {circular_slot::kCentreX, Plain},
};
constexpr ValueSlot kThreadMillingValues[] = {
    {drilling::kInfeed, Plain},
    {drilling::kChipBreakDistance, Plain},
    {thread_milling::kThreadRadius, Plain},
    {thread_milling::kCountersinkDepth, Plain},
    {thread_milling::kFrontOffset, Plain},
    {thread_milling::kSideClearance, Plain},
    {thread_milling::kPitch, Plain},
    {thread_milling::kThreadDepth, Plain},  // the inside thread's only
};

}  // namespace

void NCIRectPocket::SetValue(std::int32_t i, double v) {
    setOwnValue(kRectPocketValues, i, v);
}
void NCIRectSlot::SetValue(std::int32_t i, double v) {
    setOwnValue(kRectSlotValues, i, v);
}
void NCIRectPocketFinishing::SetValue(std::int32_t i, double v) {
    setOwnValue(kRectFinishingValues, i, v);
}
void NCIStudFinishing::SetValue(std::int32_t i, double v) {
    setOwnValue(kRectFinishingValues, i, v);
}
void NCIFaceMilling::SetValue(std::int32_t i, double v) {
    setOwnValue(kFaceMillingValues, i, v);
}
void NCIMultipassMilling::SetValue(std::int32_t i, double v) {
    setOwnValue(kMultipassValues, i, v);
}
void NCIRuledSurface::SetValue(std::int32_t i, double v) {
    setOwnValue(kRuledSurfaceValues, i, v);
}
void NCICircularPocket::SetValue(std::int32_t i, double v) {
    setOwnValue(kCircularPocketValues, i, v);
}
void NCICircularPocketFinishing::SetValue(std::int32_t i, double v) {
    setOwnValue(kCircularFinishingValues, i, v);
}
void NCICircularStud::SetValue(std::int32_t i, double v) {
    setOwnValue(kCircularFinishingValues, i, v);
}
void NCICircularSlot::SetValue(std::int32_t i, double v) {
    setOwnValue(kCircularSlotValues, i, v);
}
void NCIThreadMilling::SetValue(std::int32_t i, double v) {
    setOwnValue(kThreadMillingValues, i, v);
}
void NCIOutsideThread::SetValue(std::int32_t i, double v) {
    // The inside thread's values less the thread depth, the last.
    setOwnValue(std::span(kThreadMillingValues).first(std::size(kThreadMillingValues) - 1), i, v);
}

}  // namespace morvane
