#include "cycles/nci_general_cycle.h"

#include "nci/cycle_errors.h"
#include "nci/int_conversion.h"

namespace morvane {
namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

using namespace general;

constexpr ValueSlot kGeneralValues[] = {
    {kSurface, ValueRule::Plain},         {kDepth, ValueRule::Plain},
    {kSecondClearance, ValueRule::Plain}, {kClearance, ValueRule::Plain},
    {kStartHeight, ValueRule::Plain},     {kFeed, ValueRule::Plain},
};

}  // namespace

NCIGeneralCycle::NCIGeneralCycle(const CycleStart& start)
    : x_(start.x),
      y_(start.y),
      z_(start.z),
      toolDiameter_(start.toolDiameter),
      corrected_(start.corrected) {
    values_[kStartHeight] = start.z;
    values_[kFeed] = start.feed;
}

CyclePosition NCIGeneralCycle::Run(NciStream& out) {
    Generate(out);
    return {toolDiameter_, x_, y_, z_};
}

void NCIGeneralCycle::Approach(NciStream&, double, double, double, double) {}

void NCIGeneralCycle::SetFlag(std::int32_t index, bool value) {
    switch (index) {
        case kReturnToStart:
            returnToStart_ = value;
            break;
        case kRapidRetract:
            rapidRetract_ = value;
            break;
        default:
            RejectParameter();
    }
}

void NCIGeneralCycle::RejectParameter() {
    throw CycleWrongCode();
}

void NCIGeneralCycle::SetValue(std::int32_t index, double value) {
    if (!storeValue(kGeneralValues, index, value)) RejectParameter();
}

double NCIGeneralCycle::value(std::int32_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < kValueCount ? values_[index] : 0.0;
}

bool NCIGeneralCycle::storeValue(std::span<const ValueSlot> table, std::int32_t index,
                                 double value) {
    for (const ValueSlot& slot : table) {
        if (slot.index != index) continue;
        switch (slot.rule) {
            case ValueRule::Plain:
                break;
            case ValueRule::NonNegative:
                if (value < 0.0) throw CycleWrongValue();
                break;
            case ValueRule::Radians:
                value *= kDegreesToRadians;
                break;
            case ValueRule::NegRadians:
                value = -(value * kDegreesToRadians);
                break;
            case ValueRule::RoundToInt:
                value = wordToInt32(value);
                break;
        }
        if (index >= 0 && static_cast<std::size_t>(index) < kValueCount) values_[index] = value;
        return true;
    }
    return false;
}

}  // namespace morvane
