#include "native_cycle.h"

#include "nci_fields.h"

#include <cmath>

namespace morvane::post {

namespace {

// Field positions of the native cycle line shared by both writers.
enum Field : std::size_t {
    kKind = 0,
    kX = 1,
    kY = 2,
    kStartZ = 3,
    kClearance = 4,
    kReference = 5,
    kSurface = 6,
    kDepth = 7,
    kFeed = 8,
    kDwellBottom = 10,
};

// Fields that only the Heidenhain cycle 203 line fills (cycle 200 leaves them 0).
constexpr std::size_t kRetractFeed203 = 9;
constexpr std::size_t kDwellTop = 11;
constexpr std::size_t kPeck203 = 12;
constexpr std::size_t kPeck200 = 13;
constexpr std::size_t kMinPeck203 = 14;
constexpr std::size_t kDecrement203 = 15;
constexpr std::size_t kChipBreak203 = 17;
constexpr std::size_t kPeckAgain203 = 18;
constexpr std::size_t kBreaks203 = 19;
constexpr std::size_t kOnly203[] = {kRetractFeed203, kPeck203,      kMinPeck203, kDecrement203,
                                    kChipBreak203,   kPeckAgain203, kBreaks203};

// Fields of the ISO writer's lines beyond the common ones.
constexpr std::size_t kIsoPeck = 13;   // Q of G73 and G83
constexpr std::size_t kIsoShift = 21;  // Q of G76

// Kinds written in field 0 by the writers.
constexpr double kKindDrill = 1.0;
constexpr double kKindBore = 2.0;
constexpr double kKindTapIso = 3.0;

constexpr std::size_t kCycleLineFields = 29;

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
