// The root of the cycle classes: one canned cycle expanded into explicit NCI moves.
//
// A cycle writer of the NCI frame builds one object per expansion from the frame's position,
// sets its parameters by index (SetValue, SetFlag), calls Run once with the NCI output and
// destroys the object. Values are kept in one array indexed like SetValue; every class owns a
// few indices and gives them a meaning, the lower indices are common to all of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "nci/nci_stream.h"

namespace morvane {

// What a cycle object starts from: the writer's position record.
struct CycleStart {
    double toolDiameter = 10.0;
    double x = 0.0, y = 0.0, z = 0.0;
    double feed = 0.0;       // the frame's modal feed
    bool corrected = false;  // the run follows the corrected semantics (docs/corrections.md)
};

// What Run hands back to the writer: where the tool stands after the last move.
struct CyclePosition {
    double toolDiameter = 0.0;
    double x = 0.0, y = 0.0, z = 0.0;
};

// How a class stores a value passed by index.
enum class ValueRule : std::uint8_t {
    Plain,        // as passed
    NonNegative,  // as passed; a negative value is rejected (a dwell time)
    Radians,      // degrees to radians
    NegRadians,   // degrees to radians, sign inverted (a pocket's rotation)
    RoundToInt,   // integer part of value + 0.5 (a count, a strategy, a reference code)
};

// One index a class accepts in SetValue, with its storage rule.
struct ValueSlot {
    std::int32_t index;
    ValueRule rule;
};

class NCIAbstractCycle {
  public:
    NCIAbstractCycle() = default;
    NCIAbstractCycle(const NCIAbstractCycle&) = delete;
    NCIAbstractCycle& operator=(const NCIAbstractCycle&) = delete;
    virtual ~NCIAbstractCycle() = default;
};

class NCIGeneralCycle : public NCIAbstractCycle {
  public:
    // Highest value index any class accepts, plus one.
    static constexpr std::size_t kValueCount = 28;

    explicit NCIGeneralCycle(const CycleStart& start);

    // Writes the cycle's moves and returns the tool diameter and the position after them.
    virtual CyclePosition Run(NciStream& out);
    // Flags 5 (return to start height) and 8 (rapid retract); any other index is rejected.
    virtual void SetFlag(std::int32_t index, bool value);
    // Throws CycleWrongCode: the class does not accept the index.
    [[noreturn]] virtual void RejectParameter();
    // Values 1 (surface), 2 (depth), 3 (second clearance), 4 (clearance), 6 (start height),
    // 7 (feed); any other index is rejected.
    virtual void SetValue(std::int32_t index, double value);
    virtual void Generate(NciStream& out) = 0;
    // Corrected semantics: brings the tool from `from`, where it stood before the call block, to
    // the call point at `travelZ` without a diagonal rapid (up first, then in X and Y); the
    // cycle's own first move then goes straight down. Nothing for a cycle without moves of its
    // own.
    virtual void Approach(NciStream& out, double fromX, double fromY, double fromZ, double travelZ);
    // False for a cycle that has no set-up clearance to approach at (the ruled surface).
    virtual bool hasClearance() const { return true; }

    double value(std::int32_t index) const;
    double x() const { return x_; }
    double y() const { return y_; }
    double z() const { return z_; }
    double toolDiameter() const { return toolDiameter_; }
    bool corrected() const { return corrected_; }

    double surface() const { return values_[1]; }
    // Distance from the surface down to the bottom, positive downwards.
    double depth() const { return values_[2]; }
    double secondClearance() const { return values_[3]; }
    double clearance() const { return values_[4]; }
    double startHeight() const { return values_[6]; }
    double feed() const { return values_[7]; }
    bool returnToStartHeight() const { return returnToStart_; }
    bool rapidRetract() const { return rapidRetract_; }

    // The first bound of the expansion (docs/limits.md) that cut the cycle short: what it
    // counts and its value. Null when the cycle was cut whole.
    struct Bound {
        const char* what;
        int value;
    };
    const Bound* reachedBound() const { return bound_.what != nullptr ? &bound_ : nullptr; }
    void noteBound(const char* what, int value) {
        if (bound_.what == nullptr) bound_ = {what, value};
    }

    // Set-up clearance above the surface: where feeding starts and a feed retract ends.
    double clearanceHeight() const { return surface() + clearance(); }
    // Height of the final retract.
    double retractHeight() const {
        return returnToStart_ ? startHeight() : surface() + secondClearance();
    }

  protected:
    // Stores `value` under `index` when `table` holds the index, applying its rule; false when
    // the table does not hold it (the caller hands the index on to its base class).
    bool storeValue(std::span<const ValueSlot> table, std::int32_t index, double value);
    void setValueDirect(std::int32_t index, double value);

    double x_, y_, z_;  // position after the last move written
    double toolDiameter_;
    bool corrected_;

  private:
    double values_[kValueCount] = {};  // by SetValue index
    bool returnToStart_ = true;        // flag 5: final retract to the start height
    bool rapidRetract_ = true;         // flag 8: false adds a feed back to the clearance
    Bound bound_{nullptr, 0};
};

}  // namespace morvane
