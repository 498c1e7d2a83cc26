// Parameters and longhand expansion of the drilling cycles. Every hole is drilled at the X, Y
// position where the tool stands when the cycle starts.
#include "cycles/nci_drilling.h"

#include <algorithm>

namespace morvane {
namespace {

constexpr ValueSlot kDwellValue[] = {{drilling::kDwellTime, ValueRule::NonNegative}};
// The same two indices for the deep drilling and bore milling, read otherwise.
constexpr ValueSlot kInfeedValues[] = {{drilling::kInfeed, ValueRule::Plain},
                                       {drilling::kChipBreakDistance, ValueRule::Plain}};
static_assert(int{drilling::kInfeed} == int{bore_milling::kBoreDiameter} &&
              int{drilling::kChipBreakDistance} == int{bore_milling::kInfeedPerTurn});
constexpr ValueSlot kUniversalValues[] = {
    {universal_drilling::kPeckDecrement, ValueRule::Plain},
    {universal_drilling::kMinimumPeck, ValueRule::Plain},
    {universal_drilling::kChipBreaks, ValueRule::RoundToInt},
    {universal_drilling::kDwellAtTop, ValueRule::Plain},
    {universal_drilling::kRetractionFeed, ValueRule::Plain},
};

}  // namespace

void NCISimpleDrilling::SetValue(std::int32_t index, double value) {
    if (!storeValue(kDwellValue, index, value)) NCIGeneralCycle::SetValue(index, value);
}

void NCISimpleDrilling::finishHole(NciStream& out, Point2 p, bool dwell) {
    if (dwell) Dwell(out, dwellTime());
    if (!rapidRetract()) FeedTo(out, p, clearanceHeight());
    RapidTo(out, p, retractHeight());
}

void NCISimpleDrilling::Generate(NciStream& out) {
    const Point2 p = here();
    RapidTo(out, p, clearanceHeight());
    FeedTo(out, p, surface() - depth());
    finishHole(out, p, true);
}

void NCIDeepDrilling::SetFlag(std::int32_t index, bool value) {
    if (index == drilling::kFullRetract)
        fullRetract_ = value;
    else
        NCISimpleDrilling::SetFlag(index, value);
}

void NCISimpleDrilling::setOwnValue(std::span<const ValueSlot> table, std::int32_t index,
                                    double value) {
    if (!storeValue(table, index, value)) NCISimpleDrilling::SetValue(index, value);
}

void NCIDeepDrilling::SetValue(std::int32_t index, double value) {
    setOwnValue(kInfeedValues, index, value);
}

void NCIDeepDrilling::Generate(NciStream& out) {
    const Point2 p = here();
    RapidTo(out, p, clearanceHeight());
    peckToDepth(out, p);
    finishHole(out, p, true);
}

void NCIDeepDrilling::peckToDepth(NciStream& out, Point2 p) {
    const std::int32_t retractCode = rapidRetract() ? 0 : 1;
    // A peck that would reach the depth exactly is left to the final feed.
    double d = infeed();
    int peck = 0;
    for (; peck < kMaxInfeeds && infeed() > 0.0 && depth() > d; ++peck) {
        FeedTo(out, p, surface() - d);
        if (fullRetract()) {
            // Out of the hole to clear the chips, then quickly back to just above the last depth.
            straightMove(out, retractCode, p.x, p.y, clearanceHeight());
            RapidTo(out, p, surface() - d + clearance());
        } else {
            straightMove(out, retractCode, p.x, p.y, surface() - d + chipBreakDistance());
        }
        d += infeed();
    }
    if (peck == kMaxInfeeds && depth() > d) noteBound(kInfeedsBound, kMaxInfeeds);
    FeedTo(out, p, surface() - depth());
}

void NCIUniversalDrilling::SetValue(std::int32_t index, double value) {
    if (!storeValue(kUniversalValues, index, value)) NCIDeepDrilling::SetValue(index, value);
}

void NCIUniversalDrilling::retractTo(NciStream& out, Point2 p, double z) {
    if (rapidRetract()) {
        RapidTo(out, p, z);
        return;
    }
    const double retraction = value(universal_drilling::kRetractionFeed);
    straightMove(out, 1, p.x, p.y, z, retraction > 0.0 ? retraction : feed());
}

void NCIUniversalDrilling::Generate(NciStream& out) {
    if (!corrected()) {
        NCIDeepDrilling::Generate(out);
        return;
    }
    const Point2 p = here();
    RapidTo(out, p, clearanceHeight());
    // A peck that would reach the depth exactly is left to the final feed.
    double reached = 0.0, step = infeed();
    const double chipBreaks = value(universal_drilling::kChipBreaks);
    const double decrement = value(universal_drilling::kPeckDecrement);
    const double dwellAtTop = value(universal_drilling::kDwellAtTop);
    int peck = 0, breaks = 0;
    for (; peck < kMaxInfeeds && step > 0.0 && depth() > reached + step; ++peck) {
        reached += step;
        FeedTo(out, p, surface() - reached);
        if (breaks < chipBreaks) {
            ++breaks;
            retractTo(out, p, surface() - reached + chipBreakDistance());
        } else {
            breaks = 0;
            retractTo(out, p, clearanceHeight());
            if (dwellAtTop > 0.0) Dwell(out, dwellAtTop);
            RapidTo(out, p, surface() - reached + clearance());
        }
        if (step - decrement > 0.0)
            step = std::max(step - decrement, value(universal_drilling::kMinimumPeck));
    }
    if (peck == kMaxInfeeds && depth() > reached + step) noteBound(kInfeedsBound, kMaxInfeeds);
    FeedTo(out, p, surface() - depth());
    Dwell(out, dwellTime());
    // A rapid retract goes straight to the retract height.
    if (!rapidRetract()) retractTo(out, p, clearanceHeight());
    RapidTo(out, p, retractHeight());
}

void NCIBoreDrilling::SetValue(std::int32_t index, double value) {
    setOwnValue(kInfeedValues, index, value);
}

void NCIBoreDrilling::Generate(NciStream& out) {
    const Point2 p = here();
    RapidTo(out, p, clearanceHeight());
    if (!(toolDiameter() > boreDiameter())) {
        // The tool centre runs on a circle of diameter w round the bore axis, reached and left
        // by half circles from and to the axis.
        const double w = boreDiameter() - toolDiameter();
        ArcSigned(out, p.x + w / 2.0, p.y, w / 4.0);
        // The first turn ends at the surface itself; a turn without infeed is written once.
        double d = 0.0;
        int turn = 0;
        for (; turn < kMaxInfeeds && depth() > d; ++turn) {
            HelixCircle(out, p.x, p.y, surface() - d, Turn::CounterClockwise);
            if (!(infeedPerTurn() > 0.0)) break;
            d += infeedPerTurn();
        }
        if (turn == kMaxInfeeds && depth() > d) noteBound(kInfeedsBound, kMaxInfeeds);
        HelixCircle(out, p.x, p.y, surface() - depth(), Turn::CounterClockwise);
        // A flat circle cleans the floor.
        HelixCircle(out, p.x, p.y, surface() - depth(), Turn::CounterClockwise);
        ArcSigned(out, p.x, p.y, w / 4.0);
    } else {
        FeedTo(out, p, surface() - depth());
    }
    finishHole(out, p, false);
}

}  // namespace morvane
