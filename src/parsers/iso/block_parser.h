// The ISO block parser: turns one line into the `block` the NCI writer takes. It records the
// words, keeps the G codes in order and applies the absolute/incremental rules; the meaning of
// the block (motion, planes, cycles, feeds) is left to the writer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

#include "nci/block.h"
#include "nci/diagnostics.h"
#include "parsers/iso/gcode_reader.h"

namespace morvane::iso {

// The part of the machine state that reading a block needs. Kept for the whole run and shared
// with the program run, which updates the position after each block.
struct AxisState {
    bool absolute = true;                  // {G90: true, G91: false}
    double position[3] = {0.0, 0.0, 0.0};  // last absolute X Y Z in block axes; {G28} zeroes it
    // A drill cycle G73..G89 is open ({G80, G0..G3} close it): with the corrected semantics
    // the Z of a block under G91 is then a depth below R, not a move.
    bool drilling = false;
};

class BlockParser {
  public:
    BlockParser(GCodeReader& reader, AxisState& axes)
        : reader_(&reader), axes_(&axes), reportReader_(reader.dialect()) {}

    // Reads `line` from `start` into `b`, which the caller has reset (the comment text too).
    // Reading stops at the first word that is not in the address table; the rest of the line is
    // ignored. Dialects that exchange Y and Z (and J and K) do so at the end.
    void parse(std::string_view line, std::size_t start, block& b);

    // Where the parser reports (the M words, dwells, and what a line loses: word-ignored,
    // number-out-of-range), and which semantics the reading follows.
    void setDiagnostics(Diagnostics& diagnostics) { diagnostics_ = &diagnostics; }

  private:
    // Called only when diagnostics are wanted, once the line is read into `b` (`words` words, of
    // them `gWords` G words; the reader had read `lostBefore` numbers not in full before it).
    // The usual line loses nothing and is let through after a few tests: nothing left unread,
    // no number read not in full, as many stored words as the block holds (a word stored on top
    // of another leaves one fewer; an M word, which may be dropped, always makes the line
    // suspect), no whole number at its limit, no macro call. Any other line is read again by
    // reportLine (block_parser_reports.cpp), which says what it loses.
    void checkLine(std::string_view line, std::size_t start, const block& b, std::uint32_t words,
                   std::uint32_t gWords, std::uint32_t lostBefore) {
        // The words of a line are stored below slot 64; the M slot is left out of the count.
        std::uint32_t stored = 0;
        for (std::uint64_t bits = b.defined.firstWord() & ~(std::uint64_t{1} << addr::M); bits != 0;
             bits &= bits - 1)
            ++stored;
        const auto atLimit = [](std::int32_t n) {
            return n == std::numeric_limits<std::int32_t>::max() ||
                   n == std::numeric_limits<std::int32_t>::min();
        };
        if (reader_->unreadFrom() < line.size() ||
            reader_->droppedFrom() != std::string_view::npos ||
            reader_->lostNumbers() != lostBefore || words != gWords + stored ||
            (b.has(addr::T) && atLimit(b.vars[addr::T].integral())) ||
            std::any_of(b.gcodes.begin(), b.gcodes.end(),
                        [&](std::int32_t g) { return g == 65 || g == 66 || atLimit(g); }))
            reportLine(line, start, b);
    }
    void reportLine(std::string_view line, std::size_t start, const block& b);

    void storeGCode(std::int32_t g, block& b);
    // Stores M word `m` when the dialect keeps it and reports it when it is not converted;
    // `previous` is the M word written before it in the line (-1 for none).
    void storeMWord(std::int32_t m, std::int32_t previous, block& b);
    // A G4 block: with the corrected semantics its time word (X seconds, P milliseconds; F
    // seconds in Sinumerik) becomes P in milliseconds and no longer names a position.
    void readDwell(block& b);
    // Re-expresses the X Y Z I J K words read so far for the other distance mode: `sign` +1
    // when G90 follows incremental words, -1 when G91 follows absolute ones.
    void convertWordsRead(block& b, double sign) const;
    // Position index that pairs with program axis `axis` (0 X, 1 Y, 2 Z): the tracked position
    // is kept in block axes, so it is the other one of Y and Z where the dialect exchanges them.
    std::size_t positionOf(std::size_t axis) const;
    // Stores U, V or W (`slot`): under G90 an increment from the current position; under G91 a
    // plain increment like X Y Z themselves (the run adds the position once).
    void storeIncrement(std::uint32_t slot, double value, block& b) const;

    GCodeReader* reader_;
    AxisState* axes_;
    Diagnostics ownDiagnostics_;
    Diagnostics* diagnostics_ = &ownDiagnostics_;
    GCodeReader reportReader_;  // reads a suspect line again, leaving reader_ as it was
};

// The message of a whole-number word (G, T, a label, a repeat count) whose value lies beyond the
// 32-bit range: "L1e+12 is beyond ... and is read as L2147483647".
std::string wholeNumberBeyondRange(std::string_view word, double value);

// Exchanges the values and defined bits of two slots.
void exchangeSlots(block& b, std::uint32_t first, std::uint32_t second);

}  // namespace morvane::iso
