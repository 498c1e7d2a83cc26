#include "native_cycle.h"

#include "nci_fields.h"

#include <cmath>

namespace morvane::post {

namespace {

// Field positions of the native cycle line (nci/nci_format.h).
constexpr std::size_t kKind = kCycleKind, kX = kCycleX, kY = kCycleY, kStartZ = kCycleStartZ,
                      kClearance = kCycleClearance, kReference = kCycleReference,
                      kSurface = kCycleSurface, kDepth = kCycleDepth, kFeed = kCycleFeed,
                      kDwellBottom = kCycleDwellBottom, kRetractFeed203 = kCycleRetractFeed203,
                      kDwellTop = kCycleDwellTop, kPeck203 = kCyclePeck203,
                      kPeck200 = kCyclePeck200, kMinPeck203 = kCycleMinPeck203,
                      kDecrement203 = kCycleDecrement203, kChipBreak203 = kCycleChipBreak203,
                      kPeckAgain203 = kCyclePeckAgain203, kBreaks203 = kCycleBreaks203,
                      kIsoPeck = kCyclePeck200, kIsoShift = kCycleIsoShift;
constexpr std::size_t kOnly203[] = {kRetractFeed203, kPeck203,      kMinPeck203, kDecrement203,
                                    kChipBreak203,   kPeckAgain203, kBreaks203};
constexpr double kKindDrill = kCycleKindDrill;
constexpr double kKindBore = kCycleKindBore;
constexpr double kKindTapIso = kCycleKindTapIso;

std::optional<DrillCycle> decodeIso(const NciRecord& r) {
    DrillCycle c;
    const double kind = r.field(kKind);
    if (kind == kKindDrill) {
        c.source = r.field(kIsoPeck) != 0.0 ? 83 : (r.field(kDwellBottom) != 0.0 ? 82 : 81);
    } else if (kind == kKindTapIso) {
        c.source = 74;
        c.kind = HoleKind::Tap;
    } else if (kind == kKindBore) {
        c.source = 76;
        c.kind = HoleKind::Bore;
        c.shift = r.field(kIsoShift);
    } else {
        return std::nullopt;
    }
    // Field 5 is the distance from the initial level down to R, field 7 from R down to Z.
    c.startZ = r.field(kStartZ);
    c.clearanceZ = r.field(kClearance);
    c.referenceZ = c.startZ - r.field(kReference);
    c.surfaceZ = c.referenceZ;
    c.depth = r.field(kDepth);
    c.bottomZ = c.referenceZ - c.depth;
    c.feed = r.field(kFeed);
    c.dwellBottom = r.field(kDwellBottom) / 1000.0;  // P is given in milliseconds
    if (c.source == 83) c.peck = r.field(kIsoPeck);
    return c;
}

std::optional<DrillCycle> decodeHeidenhain(const NciRecord& r) {
    if (r.field(kKind) != kKindDrill) return std::nullopt;
    DrillCycle c;
    c.source = 200;
    for (std::size_t i : kOnly203)
        if (r.field(i) != 0.0) c.source = 203;
    // Field 7 is Q203 - Q201 (Q201 the signed depth below the surface Q203).
    c.startZ = r.field(kStartZ);
    c.clearanceZ = r.field(kClearance);
    c.referenceZ = r.field(kReference);
    c.surfaceZ = r.field(kSurface);
    const double signedDepth = c.surfaceZ - r.field(kDepth);
    c.bottomZ = c.surfaceZ + signedDepth;
    c.depth = std::fabs(signedDepth);
    c.feed = r.field(kFeed);
    c.dwellBottom = r.field(kDwellBottom);
    c.dwellTop = r.field(kDwellTop);
    if (c.source == 200) {
        c.peck = r.field(kPeck200);
    } else {
        c.peck = r.field(kPeck203);
        c.retractFeed = r.field(kRetractFeed203);
        c.minPeck = r.field(kMinPeck203);
        c.decrement = r.field(kDecrement203);
        c.chipBreak = r.field(kChipBreak203);
        c.breaks = r.field(kBreaks203);
    }
    return c;
}

}  // namespace

WriterFamily detectWriterFamily(const NciRecord& first) {
    if (first.problem != RecordProblem::None || first.kind == nullptr ||
        first.kind->role != RecordRole::Message || first.text != "1")
        return WriterFamily::Heidenhain;
    for (std::uint32_t i = 0; i < first.fieldCount; ++i)
        if (first.fields[i] != 0.0) return WriterFamily::Heidenhain;
    return WriterFamily::Iso;
}

double callMoveZ(const NciRecord& record, WriterFamily family) {
    const bool repeat = record.kind != nullptr && record.kind->role == RecordRole::CycleCallRepeat;
    if (family == WriterFamily::Iso)
        return repeat ? record.field(kRepeatFourth) : record.field(kReference);
    return repeat ? record.field(kRepeatStartZ) : record.field(kClearance);
}

std::optional<DrillCycle> decodeCycleLine(const NciRecord& record, WriterFamily family) {
    if (record.problem != RecordProblem::None || record.fieldCount != kCycleLineFields)
        return std::nullopt;
    std::optional<DrillCycle> cycle =
        family == WriterFamily::Iso ? decodeIso(record) : decodeHeidenhain(record);
    if (cycle) {
        cycle->x = record.field(kX);
        cycle->y = record.field(kY);
    }
    return cycle;
}

}  // namespace morvane::post
