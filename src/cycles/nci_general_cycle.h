// The root of the cycle classes: one canned cycle expanded into explicit NCI moves.
//
// A cycle writer of the NCI frame builds one object per expansion from the frame's position,
// sets its parameters by index (SetValue, SetFlag), calls Run once with the NCI output and
// destroys the object. Values are kept in one array indexed like SetValue; every class owns a
// few indices and gives them a meaning (their names are in cycle_params.h), the lower indices
// are common to all of them. The parameters stay as they were handed over: what a cycle derives
// from them (half a length, a step-over from a factor) it keeps in locals.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "cycles/cycle_params.h"
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
    // Flags general::kReturnToStart and kRapidRetract; any other index is rejected.
    virtual void SetFlag(std::int32_t index, bool value);
    // Throws CycleWrongCode: the class does not accept the index.
    [[noreturn]] virtual void RejectParameter();
    // The values of namespace general; any other index is rejected.
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

    double surface() const { return values_[general::kSurface]; }
    // Distance from the surface down to the bottom, positive downwards.
    double depth() const { return values_[general::kDepth]; }
    double secondClearance() const { return values_[general::kSecondClearance]; }
    double clearance() const { return values_[general::kClearance]; }
    double startHeight() const { return values_[general::kStartHeight]; }
    double feed() const { return values_[general::kFeed]; }
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

    double x_, y_, z_;  // position after the last move written
    double toolDiameter_;
    bool corrected_;

  private:
    double values_[kValueCount] = {};  // by SetValue index
    bool returnToStart_ = true;        // general::kReturnToStart
    bool rapidRetract_ = true;         // general::kRapidRetract
    Bound bound_{nullptr, 0};
};

}  // namespace morvane
