// What the post-processor engine asks of an output family (ISO G-code, Heidenhain
// conversational): one call per machining event, in program order, with absolute positions and
// the feed in force. A family decides the words; the engine reads the records.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "native_cycle.h"
#include "nci_fields.h"
#include "post_warnings.h"

namespace morvane::post {

// Start and end of an arc lie on one circle: their distances from the centre may differ by the
// rounding of the NCI (0.001 per coordinate) but not by more than this. Controls refuse arcs
// beyond a similar limit.
inline constexpr double kArcRadiusTolerance = 0.01;
// Morvane's Fanuc reader decides on its first arc with I J K whether they are relative to the
// start point, by comparing the two radii within 0.001; an arc that settles it has its radii
// closer than this (the margin covers floating-point noise).
inline constexpr double kCentreModeTolerance = 0.0009;
// How far from its centre an arc written with R may put it (radiusFormCentreShift): half of
// the 0.01 a round trip's path may lie off.
inline constexpr double kRadiusFormShift = 0.005;

// Cutter compensation codes of a move record.
enum class Compensation : std::uint8_t { None, Off, Left, Right };  // 0, 40, 41, 42

struct LinearMove {
    Point to;
    bool rapid = false;
    double feed = -1.0;  // the feed in force for a feed move; negative while none is known
    Compensation comp = Compensation::None;
    // Per axis: the NCI has put the tool somewhere other than the writers' starting 0. A rapid
    // move leaves an axis that was never placed where the machine has it: that 0 is no position
    // any block gave, and moving there could run the tool into the work.
    std::array<bool, 3> placed{true, true, true};
};

struct ArcMove {
    Plane plane = Plane::XY;
    bool clockwise = true;
    Point start;
    Point end;
    double centreH = 0.0;  // centre on the plane's first axis, absolute
    double centreV = 0.0;  // centre on the plane's second axis, absolute
    double feed = -1.0;
    Compensation comp = Compensation::None;
    bool fullCircle = false;  // the end point is the start point (in the plane)
    bool helical = false;     // the axis normal to the plane moves
    std::array<bool, 3> placed{true, true, true};  // as for LinearMove, at the start point
};

// A call of a native drill cycle, with the move of the calling block when the NCI has one.
struct CycleCall {
    DrillCycle cycle;
    WriterFamily origin = WriterFamily::Heidenhain;  // the writer of the NCI line
    bool repeat = false;     // a further call of the cycle defined by the last first call
    bool withMove = false;   // the calling block also moves the tool to the hole
    bool rapidMove = true;   // that move is a rapid one
    double moveFeed = -1.0;  // the feed in force for a feed move
    double toolZ = 0.0;      // the tool's Z before the call, as the NCI tells it
    double zAfter = 0.0;     // the tool's Z after the call, as the NCI tells it
};

enum class SpindleSetting : std::uint8_t { Limit, SurfaceSpeed };  // G92 S, G96 S

class PostOutput {
  public:
    virtual ~PostOutput() = default;

    // The program in `inch` or millimetres.
    virtual void begin(std::string_view programName, bool inch) = 0;
    virtual void end() = 0;
    // The program changes its unit; false when the output cannot say so.
    virtual bool units(bool inch) = 0;

    virtual void move(const LinearMove& move) = 0;
    virtual void arc(const ArcMove& arc) = 0;
    // A dwell of `seconds`; NaN when the record gives no time.
    virtual void dwell(double seconds) = 0;
    virtual void toolChange(std::int32_t tool, double speed) = 0;
    virtual void comment(std::string_view text) = 0;

    virtual void cycle(const CycleCall& call) = 0;
    virtual void cycleEnd() = 0;

    virtual void datum(std::int32_t number) = 0;
    // A return to the reference point of the `axes` (X, Y, Z).
    virtual void referenceReturn(const std::array<bool, 3>& axes) = 0;
    virtual void stockBlank(const Point& min, const Point& max) = 0;
    virtual void subprogramLabel(std::int32_t number) = 0;
    virtual void subprogramReturn() = 0;
    virtual void subprogramCall(std::int32_t number, std::int32_t repeats) = 0;
    virtual void spindle(SpindleSetting setting, double speed) = 0;
    virtual void corner(bool chamfer, double size) = 0;
    virtual void tolerance(double value) = 0;
    virtual void mirror(bool x, bool y, bool z) = 0;

    // Where the output's warnings go besides its comments; none when not set.
    void setWarnings(PostWarnings& warnings) { warnings_ = &warnings; }

  protected:
    // Something the output cannot write as the NCI says: `text` goes into a comment (written
    // by the caller) and into the warnings.
    void warning(std::string_view text) {
        if (warnings_ != nullptr) warnings_->add(text);
    }

  private:
    PostWarnings* warnings_ = nullptr;
};

}  // namespace morvane::post
