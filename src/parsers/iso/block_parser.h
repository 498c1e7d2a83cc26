// The ISO block parser: turns one line into the `block` the NCI writer takes. It records the
// words, keeps the G codes in order and applies the absolute/incremental rules; the meaning of
// the block (motion, planes, cycles, feeds) is left to the writer.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

#include "nci/block.h"
#include "nci/diagnostics.h"
#include "nci/int_conversion.h"
#include "parsers/iso/gcode_reader.h"

namespace morvane::iso {

// The part of the machine state that reading a block needs. Kept for the whole run and shared
// with the program run, which updates the position after each block.
struct AxisState {
    bool absolute = true;                  // {G90: true, G91: false}
    double position[3] = {0.0, 0.0, 0.0};  // last absolute X Y Z in block axes; {G28} zeroes it
};

class BlockParser {
  public:
    BlockParser(GCodeReader& reader, AxisState& axes) : reader_(&reader), axes_(&axes) {}

    // Reads `line` from `start` into `b`, which the caller has reset (the comment text too).
    // Reading stops at the first word that is not in the address table; the rest of the line is
    // ignored. Dialects that exchange Y and Z (and J and K) do so at the end.
    void parse(std::string_view line, std::size_t start, block& b);

    // Where the parser says what a line loses (word-ignored, number-out-of-range); without, it
    // reports nothing.
    void setDiagnostics(Diagnostics& diagnostics) { diagnostics_ = &diagnostics; }

  private:
    // Called only when diagnostics are wanted. On a word about to be stored (`irregular`: its
    // number was not read in one piece): reports what it loses. The usual word loses nothing and
    // is let through here; the reports themselves are in block_parser_reports.cpp.
    void checkWord(std::uint32_t slot, double value, bool irregular, const block& b) {
        const std::uint32_t stored = storedSlot(slot);
        if (irregular || (stored < kVariableCount && b.has(stored)) ||
            (holdsWholeNumber(slot) && wordBeyondInt32(value)))
            reportWord(slot, stored, value, irregular, b);
    }
    // On the line once it is read: reports the text left unread and a macro call.
    void checkLineEnd(std::string_view line, std::size_t start, const block& b) {
        if (reader_->unreadFrom() < line.size() ||
            reader_->droppedFrom() != std::string_view::npos ||
            std::any_of(b.gcodes.begin(), b.gcodes.end(),
                        [](std::int32_t g) { return g == 65 || g == 66; }))
            reportLineEnd(line, start, b);
    }
    void reportWord(std::uint32_t slot, std::uint32_t stored, double value, bool irregular,
                    const block& b);
    void reportLineEnd(std::string_view line, std::size_t start, const block& b);
    // The slot the word of `slot` is stored in; kVariableCount for G, which may stand more than
    // once, and M, whose handling reports on its own.
    static constexpr std::uint32_t storedSlot(std::uint32_t slot) {
        switch (slot) {
            case addr::G:
            case addr::M:
                return kVariableCount;
            case addr::U:
            case addr::V:
            case addr::W:
                return addr::X + (slot - addr::U);
            case addr::TC:
                return addr::T;
            case addr::LIMS:
                return addr::S;
            case addr::CR:
                return addr::R;
            default:
                return slot;
        }
    }
    static constexpr bool holdsWholeNumber(std::uint32_t slot) {
        return slot == addr::G || slot == addr::M || slot == addr::T || slot == addr::TC;
    }

    void storeGCode(std::int32_t g, block& b);
    // Re-expresses the X Y Z I J K words read so far for the other distance mode: `sign` +1
    // when G90 follows incremental words, -1 when G91 follows absolute ones.
    void convertWordsRead(block& b, double sign) const;
    // Position index that pairs with program axis `axis` (0 X, 1 Y, 2 Z): the tracked position
    // is kept in block axes, so it is the other one of Y and Z where the dialect exchanges them.
    std::size_t positionOf(std::size_t axis) const;

    GCodeReader* reader_;
    AxisState* axes_;
    Diagnostics ownDiagnostics_;
    Diagnostics* diagnostics_ = &ownDiagnostics_;
};

// The message of a whole-number word (G, T, a label, a repeat count) whose value lies beyond the
// 32-bit range: "L1e+12 is beyond ... and is read as L2147483647".
std::string wholeNumberBeyondRange(std::string_view word, double value);

// Exchanges the values and defined bits of two slots.
void exchangeSlots(block& b, std::uint32_t first, std::uint32_t second);

}  // namespace morvane::iso
