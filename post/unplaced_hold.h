// Records held back until the NCI shows what an axis value that no record has moved means: a
// position the program gave (square.H: `L X+0 Y+0 Z+50 FMAX`, then down and cut at X0 Y0) or the
// writers' starting value (a G-code program's `G0 X10 Y10` before `G43 Z5`). A rapid move that
// leaves such an axis out is held with the records after it until a feed move or an arc starts
// from that value (a position: the rapid names the axis, so that the tool never feeds across
// into the part), a rapid moves the axis away (the writers' value: the rapid leaves the axis
// where the machine has it), or any other record comes.
#pragma once

#include <array>
#include <cstddef>

#include "held_records.h"
#include "nci_fields.h"

namespace morvane::post {

class UnplacedHold {
  public:
    // Records held at most: a program that keeps an axis at its starting value this long
    // without cutting there leaves it alone.
    static constexpr std::size_t kMaxHeld = 64;

    bool active() const { return active_; }
    // Starts holding at `rapid`, for the axes `pending` that still hold `unplaced`.
    void start(const NciRecord& rapid, const std::array<bool, 3>& pending, const Point& unplaced);
    // Holds `record`; true when the hold is decided: adopted() then names the axes whose value
    // was a position after all, and the held records are to be replayed (release).
    bool take(const NciRecord& record);
    const std::array<bool, 3>& adopted() const { return adopted_; }
    void release(HeldRecords& to) {
        active_ = false;
        held_.release(to);
    }

  private:
    void adoptCutStart(const NciRecord& record);

    bool active_ = false;
    std::array<bool, 3> pending_{};
    std::array<bool, 3> adopted_{};
    Point unplaced_;
    HeldRecords held_;
};

}  // namespace morvane::post
