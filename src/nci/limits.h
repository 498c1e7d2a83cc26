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
// A line of the "NCI" input format, which is handed back as the host served it: far beyond any
// NCI line a writer makes (they are under a hundred bytes), so that no line is ever cut.
inline constexpr std::size_t kNciLineBytes = std::size_t{1} << 26;
// A line count above this reads as this (a host that reports two billion lines); the lines
// beyond it are not converted.
inline constexpr std::int32_t kProgramLines = std::int32_t{1} << 26;

// Labels a program may define (O numbers, G98 L, LBL): far more than any program has; a label
// beyond it is not entered, so a program of millions of label lines cannot fill the memory.
inline constexpr std::size_t kLabels = std::size_t{1} << 16;

// Execution of the program.
// Nesting levels of subprogram and label calls, the main program being level 1.
inline constexpr std::uint32_t kCallDepth = 15;
// Full turns of one Heidenhain polar arc (CP IPA) written one record each (corrected); an arc of
// more turns is written as one record, as the exact semantics writes it.
inline constexpr std::int32_t kHelixTurns = 1000;

// Output and repeated work. A conversion may write kNciBytes of NCI text, plus
// kNciBytesPerProgramByte for each byte of the program, so that large CAM programs convert
// whole while a few words that ask for endless repeats end in about a second. The budgets of
// repeated work follow from that output bound (RunLimits::forOutput): work that writes nothing
// (repeats of an empty block, calls of an empty section) is bounded as tightly as work that
// writes. The run ends at the first record boundary past the NCI bound; the ISO trailer is
// still written.
inline constexpr std::uint64_t kNciBytes = std::uint64_t{1} << 27;
inline constexpr std::uint64_t kNciBytesPerProgramByte = 16;
// ISO: blocks that subprogram calls and L repeats may execute beyond one pass over the program,
// one per this many bytes of the output bound; reaching it ends the run.
inline constexpr std::uint64_t kNciBytesPerRepeatedBlock = 32;
// Heidenhain: lines that label calls may execute over a whole run, one per this many bytes of
// the output bound; once spent, calls write their comments only and the main program goes on.
inline constexpr std::uint64_t kNciBytesPerEnrolledLine = 128;
// Program text that calls and repeats may read beyond the label scan and one pass over the
// program, per byte of the output bound (a repeated 64 KiB line costs as much as 64 Ki short
// ones); reaching it ends the run.
inline constexpr std::uint64_t kRepeatedTextBytesPerNciByte = 2;

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

// The budgets of one run. Tests and fuzzing set them directly to reach them quickly; a
// conversion takes them from its output bound.
struct RunLimits {
    std::uint64_t nciBytes = limits::kNciBytes;
    std::uint64_t repeatedTextBytes = limits::kNciBytes * limits::kRepeatedTextBytesPerNciByte;
    std::uint64_t isoRepeatedBlocks = limits::kNciBytes / limits::kNciBytesPerRepeatedBlock;
    std::uint64_t enrolledLines = limits::kNciBytes / limits::kNciBytesPerEnrolledLine;

    // Every budget from the NCI bytes a conversion may write (at least 1).
    static constexpr RunLimits forOutput(std::uint64_t nciBytes) {
        constexpr std::uint64_t kMax = std::uint64_t{1} << 60;  // no product below overflows
        const std::uint64_t n = nciBytes < 1 ? 1 : (nciBytes > kMax ? kMax : nciBytes);
        return {n, n * limits::kRepeatedTextBytesPerNciByte,
                n / limits::kNciBytesPerRepeatedBlock, n / limits::kNciBytesPerEnrolledLine};
    }
    // The default budgets of a program of `programBytes` bytes.
    static constexpr RunLimits forProgram(std::uint64_t programBytes) {
        constexpr std::uint64_t kMaxBytes = std::uint64_t{1} << 40;
        const std::uint64_t bytes = programBytes < kMaxBytes ? programBytes : kMaxBytes;
        return forOutput(limits::kNciBytes + limits::kNciBytesPerProgramByte * bytes);
    }
};

}  // namespace morvane
