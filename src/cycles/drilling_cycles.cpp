// Parameters and longhand expansion of the drilling cycles. Every hole is drilled at the X, Y
// position where the tool stands when the cycle starts.
#include "cycles/nci_drilling.h"

#include <algorithm>

namespace morvane {
namespace {

constexpr ValueSlot kDwellValue[] = {{9, ValueRule::NonNegative}};
// Deep drilling: 10 infeed per peck, 11 chip-break distance. Bore milling: 10 bore diameter,
// 11 infeed per helix turn.
constexpr ValueSlot kInfeedValues[] = {{10, ValueRule::Plain}, {11, ValueRule::Plain}};
// Universal drilling: 13 decrement, 14 minimum infeed, 15 chip breaks before a retract, 16 dwell
// at the top, 17 retraction feed.
constexpr ValueSlot kUniversalValues[] = {
    {13, ValueRule::Plain}, {14, ValueRule::Plain}, {15, ValueRule::RoundToInt},
    {16, ValueRule::Plain}, {17, ValueRule::Plain},
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
    if (index == 12)
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
    const double cutting = feed();
    if (value(17) > 0.0) setValueDirect(7, value(17));
    FeedTo(out, p, z);
    setValueDirect(7, cutting);
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
    int peck = 0, breaks = 0;
    for (; peck < kMaxInfeeds && step > 0.0 && depth() > reached + step; ++peck) {
        reached += step;
        FeedTo(out, p, surface() - reached);
        if (breaks < value(15)) {
            ++breaks;
            retractTo(out, p, surface() - reached + chipBreakDistance());
        } else {
            breaks = 0;
            retractTo(out, p, clearanceHeight());
            if (value(16) > 0.0) Dwell(out, value(16));
            RapidTo(out, p, surface() - reached + clearance());
        }
        if (step - value(13) > 0.0) step = std::max(step - value(13), value(14));
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
            HelixCircle(out, p.x, p.y, surface() - d, 1);
            if (!(infeedPerTurn() > 0.0)) break;
            d += infeedPerTurn();
        }
        if (turn == kMaxInfeeds && depth() > d) noteBound(kInfeedsBound, kMaxInfeeds);
        HelixCircle(out, p.x, p.y, surface() - depth(), 1);
        // A flat circle cleans the floor.
        HelixCircle(out, p.x, p.y, surface() - depth(), 1);
        ArcSigned(out, p.x, p.y, w / 4.0);
    } else {
        FeedTo(out, p, surface() - depth());
    }
    finishHole(out, p, false);
}

}  // namespace morvane
