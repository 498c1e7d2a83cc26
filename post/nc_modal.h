// What an output program has established on the control, so that a family writes a word only
// when it changes, and the geometry both families need to write an arc.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "nc_text.h"
#include "post_output.h"

namespace morvane::post {

inline constexpr char kAxisLetters[] = {'X', 'Y', 'Z'};
inline constexpr char kCentreLetters[] = {'I', 'J', 'K'};

// The position the control holds after the words written so far, per axis, as written (rounded
// to the places of the output). An axis is unknown at the start (the machine is wherever it
// is), after a reference return and wherever the control's own motion leaves it somewhere the
// NCI cannot tell.
class KnownPosition {
  public:
    explicit KnownPosition(int decimals) : scale_(std::pow(10.0, decimals)) {}

    bool known(std::size_t axis) const { return known_[axis]; }
    // True when the control is already at `v` on `axis`, to the places written.
    bool at(std::size_t axis, double v) const { return known_[axis] && steps_[axis] == steps(v); }
    void set(std::size_t axis, double v) {
        steps_[axis] = steps(v);
        known_[axis] = true;
        atReference_[axis] = false;
    }
    void set(const Point& p) {
        for (std::size_t axis = 0; axis < 3; ++axis)
            set(axis, p[axis]);
    }
    void forget(std::size_t axis) { known_[axis] = false; }
    void forgetAll() { known_ = {}; }
    // The axis returned to its reference point (for Z the top of its travel) and stays there
    // until a block names it.
    void toReference(std::size_t axis) {
        known_[axis] = false;
        atReference_[axis] = true;
    }
    bool atReference(std::size_t axis) const { return atReference_[axis]; }

  private:
    // Positions are bounded far below 1e9 by the reader: the count of steps fits 64 bits.
    std::int64_t steps(double v) const { return std::llround(v * scale_); }

    double scale_;
    std::array<std::int64_t, 3> steps_{};
    std::array<bool, 3> known_{};
    std::array<bool, 3> atReference_{};
};

// The axes a straight move names: those where the control is not already, except, on a rapid
// move, an axis that no block has placed (post::Placement). A move that names no axis so still
// names one: the first placed axis, else X (our readers write no move for a block without an
// axis word).
std::array<bool, 3> axesToName(const LinearMove& move, const KnownPosition& position);

// Writes a straight move as blocks of `write(named)`: one block of the axes to name, or, for a
// rapid move that leaves the Z reference point to go down while it moves in X or Y, a block
// across at the reference level first and then one down in Z (never a diagonal rapid down).
template <class Write>
void writeStraight(const LinearMove& move, const KnownPosition& position, Write&& write) {
    const std::array<bool, 3> named = axesToName(move, position);
    if (move.rapid && named[2] && position.atReference(2) && (named[0] || named[1])) {
        write(std::array<bool, 3>{named[0], named[1], false});
        write(std::array<bool, 3>{false, false, true});
        return;
    }
    write(named);
}

// The axes to name before an arc so that the control stands at its start: the plane's axes
// (and, with `normalToo`, the normal axis) that the control does not know and that a block has
// placed; an axis no block placed is where the source program left it too.
std::array<bool, 3> axesToReachArcStart(const ArcMove& arc, const KnownPosition& position,
                                        bool normalToo);

// The feed word the control holds.
class KnownFeed {
  public:
    // True when `feed` must be written: a known feed that differs from the control's.
    bool needs(double feed) const { return feed >= 0.0 && (!known_ || value_ != feed); }
    void set(double feed) {
        value_ = feed;
        known_ = true;
    }
    void forget() { known_ = false; }

  private:
    double value_ = 0.0;
    bool known_ = false;
};

// Appends " " (unless `line` is empty), the letter and the number.
void appendWord(std::string& line, std::string_view letter, double value, const NumberStyle& style);
void appendWord(std::string& line, std::string_view letter, std::int64_t value);
// Appends " " (unless `line` is empty) and `text`.
void appendText(std::string& line, std::string_view text);

// Radius of an arc, measured from its start point.
double arcRadius(const ArcMove& arc);
// How far the end point's distance from the centre differs from the start point's.
double arcRadiusMismatch(const ArcMove& arc);
// How far from the arc's centre a control puts it when the arc is written with R (rounded to
// `decimals` places, as its end point): large near half a turn, where the centre of R hangs on
// the last decimal. Infinite where R is shorter than half the way to the end.
double radiusFormCentreShift(const ArcMove& arc, int decimals);
// Why no control can cut an arc as an arc: its centre is its start point, or its end point lies
// further off its circle than kArcRadiusTolerance.
enum class ArcFault : std::uint8_t { None, NoRadius, OffCircle };
ArcFault arcFault(const ArcMove& arc);
// The angle an arc turns through, in degrees: positive counter-clockwise in the plane's
// (first axis, second axis) frame, negative clockwise; a full circle turns 360.
double arcSweepDegrees(const ArcMove& arc);

// A line of a converter's program-start, program-end or reference-return section, with every
// "{name}" replaced by the program name and every "{axes}" by `axes` (the axes of a reference
// return with 0, "X0. Y0."), into `out`.
void expandTemplate(std::string_view text, std::string_view programName, std::string_view axes,
                    std::string& out);
// The axes of a reference return as "{axes}" writes them: each letter with 0 in `style`.
std::string returnAxesText(const std::array<bool, 3>& axes, const NumberStyle& style);

// An angle in degrees as a control reads it back from `decimals` places.
double roundedDegrees(double degrees, int decimals);

// Comment text a control can carry: control characters become blanks.
std::string_view plainText(std::string_view text, std::string& scratch);

}  // namespace morvane::post
