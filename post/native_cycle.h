// Native drill cycle lines (CycleCall records) read back into what they describe: a hole with
// its levels, feed, pecking and dwell. The two writers lay the line out differently: the ISO
// writer fills it from the G73..G83 words (levels relative to the initial level and the R plane),
// the Heidenhain writer from the Q parameters of cycles 200 and 203 (absolute levels).
#pragma once

#include <cstdint>
#include <optional>

#include "nci_record_reader.h"

namespace morvane::post {

// Which writer produced an NCI program. The ISO program run begins every program with a Message
// record whose eight numbers are zero and whose text is "1"; a Heidenhain program never does.
enum class WriterFamily : std::uint8_t { Heidenhain, Iso };

WriterFamily detectWriterFamily(const NciRecord& firstRecord);

enum class HoleKind : std::uint8_t { Drill, Tap, Bore };

// One native drill cycle, in absolute levels. Values a writer does not carry are 0.
struct DrillCycle {
    std::int32_t source = 0;  // the cycle the line was read as: 81, 82, 83, 74, 76, 200, 203
    HoleKind kind = HoleKind::Drill;
    double x = 0.0;  // hole position
    double y = 0.0;
    double startZ = 0.0;      // the tool's Z when the cycle was called
    double clearanceZ = 0.0;  // level of the final retract (Heidenhain: second set-up clearance)
    double referenceZ = 0.0;  // where feeding starts (ISO: the R plane)
    double surfaceZ = 0.0;    // workpiece surface (ISO: the R plane)
    double bottomZ = 0.0;     // hole bottom
    double depth = 0.0;       // distance from the surface down to the bottom, positive
    double feed = 0.0;
    double peck = 0.0;         // infeed per peck; 0 for a single plunge
    double dwellBottom = 0.0;  // seconds at the bottom
    double dwellTop = 0.0;     // seconds at the top (Heidenhain Q210)
    double retractFeed = 0.0;  // Q208 of cycle 203
    double decrement = 0.0;    // Q212
    double breaks = 0.0;       // Q213
    double minPeck = 0.0;      // Q205
    double chipBreak = 0.0;    // Q256
    double shift = 0.0;        // G76 Q: tool shift at the bottom
};

// True when the hole is drilled in pecks: an infeed shorter than the depth (a peck as deep as the
// hole, or deeper, is one plunge).
inline bool pecks(const DrillCycle& c) {
    return c.peck > 0.0 && c.peck < c.depth - 1e-6;
}

// The cycle of a CycleCall record, or nothing when the line is empty or of a cycle this
// post-processor does not know.
std::optional<DrillCycle> decodeCycleLine(const NciRecord& record, WriterFamily family);

// Where a CycleCall or CycleCallRepeat record leaves the tool's Z, which is also the Z of the
// move a writer adds when the calling block carries axis words: the ISO writer sets it to the
// distance from the initial level to R on a first call and keeps it on a repeat; the Heidenhain
// writer sets it to the second set-up clearance on a first call and keeps it on a repeat.
double callMoveZ(const NciRecord& record, WriterFamily family);

}  // namespace morvane::post
