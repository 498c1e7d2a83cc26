// The indices that the pocket, slot, stud, surface and thread cycles accept, and how each value
// is stored. Every index not listed goes on to the drilling values.
#include "cycles/nci_milling_cycles.h"

namespace morvane {
namespace {

using enum ValueRule;

constexpr ValueSlot kRectPocketValues[] = {
    {10, Plain}, {11, Plain}, {15, Plain}, {16, Plain},      {17, Plain},      {18, Plain},
    {19, Plain}, {20, Plain}, {21, Plain}, {22, Plain}, {23, NegRadians}, {24, Plain}, {25, Plain},
    {27, Plain},
};
constexpr ValueSlot kRectSlotValues[] = {
    {10, Plain}, {11, Plain},      {15, Plain}, {16, Plain}, {17, Plain},
    {18, Plain}, {23, NegRadians}, {24, Plain}, {25, Plain}, {26, Plain},
};
constexpr ValueSlot kRectFinishingValues[] = {
    {10, Plain}, {11, Plain}, {15, Plain}, {16, Plain}, {18, Plain}, {23, Plain}, {24, Plain},
};
constexpr ValueSlot kFaceMillingValues[] = {
    {10, Plain}, {11, Plain}, {15, Plain}, {16, Plain}, {17, Plain},
    {18, Plain}, {23, Plain}, {24, Plain}, {25, Plain}, {26, RoundToInt},
};
constexpr ValueSlot kMultipassValues[] = {
    {10, Plain}, {11, Plain}, {15, Plain}, {16, Plain}, {17, Plain}, {18, Plain}, {23, RoundToInt},
};
constexpr ValueSlot kRuledSurfaceValues[] = {
    {10, Plain}, {11, Plain}, {15, Plain}, {16, Plain}, {17, Plain},
    {18, Plain}, {19, Plain}, {20, Plain}, {21, Plain}, {22, Plain},
    {23, Plain}, {24, Plain}, {25, Plain}, {26, Plain}, {27, RoundToInt},
};
constexpr ValueSlot kCircularPocketValues[] = {
    {10, Plain}, {11, Plain}, {13, Plain}, {14, Plain}, {15, Plain},
    {16, Plain}, {17, Plain}, {18, Plain}, {19, Plain}, {20, Plain},
};
constexpr ValueSlot kCircularFinishingValues[] = {
    {10, Plain}, {11, Plain}, {13, Plain}, {14, Plain}, {15, Plain}, {16, Plain},
};
constexpr ValueSlot kCircularSlotValues[] = {
    {10, Plain}, {11, Plain}, {13, Plain}, {14, Plain},   {15, Plain},   {16, Plain},
    {17, Plain}, {18, Plain}, {19, Plain}, {20, Radians}, {21, Radians}, {22, RoundToInt},
    {23, Plain}, {24, Plain}, {25, Plain}, {26, Plain},
};
constexpr ValueSlot kThreadMillingValues[] = {
    {10, Plain}, {11, Plain}, {13, Plain}, {14, Plain},
    {15, Plain}, {16, Plain}, {17, Plain}, {18, Plain},
};
constexpr ValueSlot kOutsideThreadValues[] = {
    {10, Plain}, {11, Plain}, {13, Plain}, {14, Plain}, {15, Plain}, {16, Plain}, {17, Plain},
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
    setOwnValue(kOutsideThreadValues, i, v);
}

}  // namespace morvane
