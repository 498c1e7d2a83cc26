// Longhand moves of the ISO drill cycles with the corrected semantics.
#include "cycles/iso_drilling.h"

namespace morvane {
namespace {

constexpr bool dwellsAtBottom(std::int32_t cycle) {
    return cycle == 74 || cycle == 76 || cycle == 82 || cycle == 84 || cycle == 86 ||
           cycle == 87 || cycle == 88 || cycle == 89;
}

// Tapping and the boring cycles that feed back out of the hole.
constexpr bool feedsOutToR(std::int32_t cycle) {
    return cycle == 74 || cycle == 84 || cycle == 85 || cycle == 89;
}

}  // namespace

void NCIIsoDrilling::Generate(NciStream& out) {
    const Point2 p{hole_.x, hole_.y};
    if (hole_.cycle == 87) {
        backBore(out, p);
        return;
    }
    // Over the hole at the tool's level, then to R (up, when the tool stands below it).
    if (x_ != p.x || y_ != p.y) RapidTo(out, p, z_);
    if (z_ != hole_.referenceZ) RapidTo(out, p, hole_.referenceZ);
    if (hole_.cycle == 73 || hole_.cycle == 83)
        peckToBottom(out, p, hole_.cycle == 83);
    else
        FeedTo(out, p, hole_.bottomZ);
    if (dwellsAtBottom(hole_.cycle) && hole_.dwell > 0.0) Dwell(out, hole_.dwell);
    if (hole_.cycle == 76) {
        // Off the wall before the tool comes out, back over the hole above it.
        RapidTo(out, {p.x + hole_.shift, p.y}, hole_.bottomZ);
        RapidTo(out, {p.x + hole_.shift, p.y}, hole_.returnZ);
        RapidTo(out, p, hole_.returnZ);
        return;
    }
    if (feedsOutToR(hole_.cycle)) FeedTo(out, p, hole_.referenceZ);
    if (z_ != hole_.returnZ) RapidTo(out, p, hole_.returnZ);
}

void NCIIsoDrilling::peckToBottom(NciStream& out, Point2 p, bool outToR) {
    double depth = hole_.referenceZ - hole_.peck;
    int peck = 0;
    for (; peck < kMaxInfeeds && hole_.peck > 0.0 && depth > hole_.bottomZ; ++peck) {
        FeedTo(out, p, depth);
        if (outToR) RapidTo(out, p, hole_.referenceZ);
        RapidTo(out, p, depth + hole_.retract);
        depth -= hole_.peck;
    }
    if (peck == kMaxInfeeds && depth > hole_.bottomZ) noteBound(kInfeedsBound, kMaxInfeeds);
    FeedTo(out, p, hole_.bottomZ);
}

void NCIIsoDrilling::backBore(NciStream& out, Point2 p) {
    const Point2 off{p.x + hole_.shift, p.y};
    RapidTo(out, p, z_);
    RapidTo(out, off, z_);
    RapidTo(out, off, hole_.referenceZ);
    RapidTo(out, p, hole_.referenceZ);
    FeedTo(out, p, hole_.bottomZ);
    if (hole_.dwell > 0.0) Dwell(out, hole_.dwell);
    RapidTo(out, off, hole_.bottomZ);
    RapidTo(out, off, hole_.returnZ);
    RapidTo(out, p, hole_.returnZ);
}

std::string_view isoCycleLabel(std::int32_t cycle) {
    switch (cycle) {
        case 73: return "G73 high-speed peck drilling";
        case 74: return "G74 left-hand tapping";
        case 76: return "G76 fine boring";
        case 82: return "G82 drilling with dwell";
        case 83: return "G83 peck drilling";
        case 84: return "G84 tapping";
        case 85: return "G85 boring";
        case 86: return "G86 boring, spindle stop";
        case 87: return "G87 back boring";
        case 88: return "G88 boring, manual retract";
        case 89: return "G89 boring with dwell";
        default: return "G81 drilling";
    }
}

}  // namespace morvane
