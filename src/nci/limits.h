// The bounds of one conversion, in one place. NC programs arrive written by hand, by CAM systems
// and by other converters, often broken; none of them may make a conversion crash, run without
// end or fill the disk. Each bound is far above what a real program needs (docs/limits.md gives
// the measurements) and each ends the conversion cleanly when it is reached.
#pragma once

#include <cstddef>
#include <cstdint>

namespace morvane::limits {

// Program text, as the host serves it.
// A line is read up to its first line feed and at most this many bytes; the rest is ignored.
inline constexpr std::size_t kLineBytes = std::size_t{1} << 16;
// A line count above this reads as this (a host that reports two billion lines).
inline constexpr std::int32_t kProgramLines = std::int32_t{1} << 26;

// Execution of the program.
// Nesting levels of subprogram and label calls, the main program being level 1.
inline constexpr std::uint32_t kCallDepth = 15;
// ISO: blocks that subprogram calls and L repeats may execute beyond one pass over the program;
// reaching it ends the run.
inline constexpr std::uint64_t kIsoRepeatedBlocks = std::uint64_t{1} << 25;
// Heidenhain: lines that label calls may execute over a whole run; once spent, calls write their
// comments only and the main program goes on.
inline constexpr std::uint64_t kEnrolledLines = std::uint64_t{1} << 20;
// Program text that calls and repeats may read beyond the label scan and one pass over the
// program (a repeated 64 KiB line costs as much as 64 Ki short ones); reaching it ends the run.
inline constexpr std::uint64_t kRepeatedTextBytes = std::uint64_t{1} << 30;

// Output.
// NCI text one conversion may write. The run ends at the first record boundary past it; the ISO
// trailer is still written.
inline constexpr std::uint64_t kNciBytes = std::uint64_t{1} << 31;

// Longhand cycles, per cycle call. Reaching a bound ends the cutting where it is; the tool
// retracts and the operation is closed as usual.
// Infeed loops: pecks, layers, helix turns.
inline constexpr int kInfeeds = 1000;
// Closed paths over all layers together.
inline constexpr int kPocketPasses = 20000;       // central rectangles and rings of a pocket
inline constexpr int kStraightSlotRings = 10000;  // rings clearing a straight slot's width
inline constexpr int kArcSlotRings = 20000;       // rings clearing a circular slot's width
inline constexpr int kPocketRings = 100000;       // full circles of a circular pocket
inline constexpr int kFaceLines = 100000;         // cuts along X of a face milling
// Cuts of a multipass milling and lines of a ruled surface: the further ones are left out.
inline constexpr int kMultipassCuts = 10000;
inline constexpr int kRuledLines = 10000;
// Largest magnitude of a value that the round, thread and surface expansions take as geometry
// (a thousand kilometres in millimetres); beyond it they write nothing.
inline constexpr double kGeometryMagnitude = 1e9;

// Answers of the post-processor's reader library: patterns read at most.
inline constexpr std::int32_t kCyclePatterns = 4096;

}  // namespace morvane::limits

namespace morvane {

// The budgets of one run, lowered by tests and fuzzing to reach them quickly.
struct RunLimits {
    std::uint64_t nciBytes = limits::kNciBytes;
    std::uint64_t repeatedTextBytes = limits::kRepeatedTextBytes;
    std::uint64_t isoRepeatedBlocks = limits::kIsoRepeatedBlocks;
    std::uint64_t enrolledLines = limits::kEnrolledLines;
};

}  // namespace morvane
