// The pocket, slot, stud, surface and thread cycles. They take the drilling values and flags
// (surface, depth, clearances, feed, infeed, return to start, rapid and full retract) and add
// their own geometry, under the names of their namespace in cycle_params.h.
#pragma once

#include "cycles/expansion_guards.h"
#include "cycles/finite_geometry.h"
#include "cycles/nci_drilling.h"
#include "nci/limits.h"

namespace morvane {

// Bounds of the closed paths one expansion writes (over all its layers together); reaching one
// ends the cutting and the tool retracts. The values live with the other bounds of a
// conversion in nci/limits.h.
inline constexpr int kMaxPocketPasses = limits::kPocketPasses;
inline constexpr int kMaxStraightSlotRings = limits::kStraightSlotRings;
inline constexpr int kMaxArcSlotRings = limits::kArcSlotRings;
inline constexpr int kMaxPocketRings = limits::kPocketRings;
inline constexpr int kMaxFaceLines = limits::kFaceLines;
// Cuts of a multipass milling and lines of a ruled surface: the further ones are left out.
inline constexpr int kMaxMultipassCuts = limits::kMultipassCuts;
inline constexpr int kMaxRuledLines = limits::kRuledLines;

// Rectangular pocket (cycles 251, 253, CYCL DEF 3 and 4), by rect_pocket's names: the sizes
// along both axes, step-over, corner radius, rotation and reference point. Cleared layer by
// layer from the centre outwards. Cycles 251 and 253 with the corrected semantics add the side
// and floor allowances, the machining operation, the direction, the finishing infeed and the
// plunging.
class NCIRectPocket : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    // The pocket as it is cut: half its sizes along the second (v) and first (u) axes, and
    // the corner radius.
    struct PocketShape {
        double halfV, halfU, cornerRadius;
    };

    // Feed move to the point (u, v) of the pocket's own axes, centred on (cx, cy) and turned by
    // the pocket's rotation.
    void FeedLocal(NciStream& out, double u, double v, double cx, double cy);
    // Counter-clockwise arc of radius r to the local point (u, v); nothing when r is not
    // positive.
    void ArcLocal(NciStream& out, double u, double v, double r, double cx, double cy);
    // Clears one layer of `shape` at the current height, the tool standing at the pocket
    // centre: central rectangles, rings, then the finishing contour along the walls.
    void ClearLayer(NciStream& out, const PocketShape& shape);

  protected:
    // The local point (u, v) about `centre`, turned counter-clockwise by the programmed angle.
    Point2 toWorld(double u, double v, Point2 centre) const;
    // True when conventional milling runs the pocket clockwise: local v is mirrored.
    bool clockwise() const { return corrected() && value(rect_pocket::kDirection) < 0.0; }

    Point2 centre_;  // set by Generate from the reference point
    PassBudget passes_{*this, kMaxPocketPasses, "passes of the pocket"};

  private:
    // Reports the exact semantics' circle at the start of the finishing contour, which reaches
    // beyond the contour.
    void reportWallCircle(NciStream& out, const PocketShape& shape) const;
    // Cycle 251's passes by its operation, allowances and plunging (the corrected semantics).
    void machinePasses(NciStream& out, const PocketShape& shape, Point2 reference);
    // Down from the centre to z: straight, on one helix turn, or on a ramp there and back, in
    // the room the pocket less `allowance` leaves.
    void plungeTo(NciStream& out, const PocketShape& shape, double z, double allowance);
    // The finishing contour along the walls, from the centre back to it.
    void wallContour(NciStream& out, const PocketShape& shape);
    // One ring at distance w from the walls with corner arcs of radius q, counter-clockwise from
    // the middle of the side at +u; `entry` adds the first move to that middle point.
    void ring(NciStream& out, const PocketShape& shape, double w, double q, bool entry);
};

// Straight slot (cycle 210), by rect_slot's names: width, length, centre and rotation about the
// centre; the step-over is taken but the rings step by the tool radius.
class NCIRectSlot : public NCIRectPocket {
  public:
    using NCIRectPocket::NCIRectPocket;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
    // Only counter-clockwise arcs: nothing for a radius that is not positive.
    void ArcSigned(NciStream& out, double ex, double ey, double r) override;
    // Clears the slot's width at the current height by rings round the centre line, whose
    // straight part reaches `h` either side of the centre, the tool standing at its start.
    void ClearStraightSlot(NciStream& out, double h);

  private:
    PassBudget rings_{*this, kMaxStraightSlotRings, "rings of the slot"};
};

// Rectangular pocket finishing (cycle 212), by rect_finishing's names: the lengths along X and
// Y, the corner radius and the centre. One contour along the walls per layer.
class NCIRectPocketFinishing : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    // Per layer the closed contour a tool radius inside the walls, entered and left by small
    // arcs.
    void Generate(NciStream& out) override;
};

// Rectangular stud finishing (cycle 213): the values of the pocket finishing, the contour round
// the outside of the stud.
class NCIStudFinishing : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    // Per layer the closed contour a tool radius outside the walls, entered and left by small
    // arcs.
    void Generate(NciStream& out) override;
};

// Face milling (cycle 232), by face_milling's names: the extents along X and Y, the start
// corner, the side clearance, floor allowance, overlap factor and strategy. Layers from the
// surface down to the floor allowance, then the floor, each faced by FaceLayer.
class NCIFaceMilling : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    // One layer at the current height, from the current point (the start corner outside the
    // surface) back to it, by FaceStrategy; the cuts in one direction return lifted by the
    // infeed.
    void FaceLayer(NciStream& out);

  private:
    PassBudget lines_{*this, kMaxFaceLines, "cuts of the face"};
};

// Multipass milling (cycle 230), by multipass's names: the extents along X and Y, the start
// corner and the number of cuts. A zig-zag of cuts along X at the milling height.
class NCIMultipassMilling : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Ruled surface (cycle 231), by ruled_surface's names: the four corner points and the number of
// cuts. Straight lines from the edge P1-P4 to the edge P2-P3.
class NCIRuledSurface : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
    bool hasClearance() const override { return false; }
};

// Circular pocket (cycle 252, CYCL DEF 5), by circular_pocket's names: radius, step-over (as an
// overlap factor), side and floor allowances, finishing infeed and machining operation; with
// the corrected semantics (cycle 252) the direction and the plunging (not 0: helical). The tool
// starts over the pocket centre and clears it in concentric circles.
class NCICircularPocket : public NCIDeepDrilling {
  public:
    explicit NCICircularPocket(const CycleStart& start)
        : NCIDeepDrilling(start), centre_{start.x, start.y} {}
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    // At the current height, from the centre: circles every `stepOver` out to the radius less
    // the side allowance and the tool radius, then back to the centre.
    void RoughCircles(NciStream& out, double stepOver);
    // At the current height, from the centre: the circles left by the side allowance, then the
    // wall on a circle entered and left on quarter arcs, then back to the centre.
    void FinishSide(NciStream& out, double stepOver);

  private:
    // Counter-clockwise for climb milling, clockwise for conventional.
    Turn circleDir() const {
        return corrected() && value(circular_pocket::kDirection) < 0.0 ? Turn::Clockwise
                                                                       : Turn::CounterClockwise;
    }
    // Down from the centre to z for a roughing layer: straight, or on one helix turn.
    void plungeTo(NciStream& out, double z);
    // The step-over from the overlap factor and the tool.
    double stepOver() const;
    // Roughing (`rough`) or wall passes by `stepOver`, one per infeed layer down to the floor
    // allowance.
    void wallLayers(NciStream& out, bool rough, double stepOver);
    // The floor in finishing infeeds, starting one infeed below the roughed depth. The last
    // layer, at the depth, roughs and finishes; the layers above it rough only when the walls
    // were roughed too (`roughInLoop`).
    void floorLayers(NciStream& out, bool roughInLoop, double stepOver);

    Point2 centre_;  // the pocket centre: where the tool stands when the cycle starts
    PassBudget rings_{*this, kMaxPocketRings, "circles of the pocket"};
};

// Circular pocket finishing (cycle 214), by circular_finishing's names: the finished radius,
// the centre and the blank's radius. One finishing circle per infeed layer.
class NCICircularPocketFinishing : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    // The wall at the current height, counter-clockwise, entered and left on quarter arcs from
    // inside; the tool returns to the point where it started.
    void FinishPocketCircle(NciStream& out);
};

// Circular stud finishing (cycle 215): the values of the circular pocket finishing.
class NCICircularStud : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    // The stud at the current height, clockwise, entered and left on quarter arcs from outside;
    // the tool returns to the point where it started.
    void FinishStudCircle(NciStream& out);
};

// Circular slot (cycles 211, 254), by circular_slot's names: the pitch-circle radius and
// centre, step-over, width, start angle, angular length and reference. Cycle 254 with the
// corrected semantics adds the side and floor allowances, the machining operation, the
// direction, the plunging and the finishing infeed.
class NCICircularSlot : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
    // Cuts the centre line there and back at the current height, then clears the width by rings
    // round it, the tool standing at the slot's start point.
    void ClearArcSlot(NciStream& out);
    // The same with the corrected semantics, to `width`: every arc round its own centre (the
    // pitch-circle centre, the end or the start point).
    void ClearArcSlotAround(NciStream& out, double width);

  private:
    // The slot with the corrected semantics, from its start point s.
    struct Path {
        Point2 s, centre, end;     // start point, pitch-circle centre, end point
        Point2 u0, u1;             // from the pitch-circle centre towards s and towards the end
        std::int32_t along, back;  // arc records along the slot the way its angle turns, and back
        bool whole;                // a whole turn or more: the arcs round the centre are circles
        bool reverse;              // the rings run from the start's round end first
    };
    Path path() const;
    // The passes by the operation, allowances and plunging, from the call point `from`.
    void machinePasses(NciStream& out, Point2 from);
    // Down at s to z: straight, on one helix turn, or on a ramp along the centre line and back,
    // in the room the width less `side` on each side leaves.
    void plungeTo(NciStream& out, const Path& p, double z, double side);
    // One ring at offset t from the centre line, from and back to its outer side's start.
    void ring(NciStream& out, const Path& p, double t);
    // The ring at the finished `width`, entered and left on quarter arcs, from s back to s.
    void finishWall(NciStream& out, const Path& p, double width);
    // Arc record `code` to `end` round `centre` at the current height.
    void arcRound(NciStream& out, std::int32_t code, Point2 end, Point2 centre, bool full);

    Point2 start_;  // the slot's start point, set by Generate
    PassBudget rings_{*this, kMaxArcSlotRings, "rings of the slot"};
};

// Outside thread milling (cycle 267), by thread_milling's names: the thread radius, the
// countersinking depth and offset at the front, the pitch. A front countersink, then two helical
// turns round the stud.
class NCIOutsideThread : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

  private:
    // Reports the exact semantics' front countersink, round the offset alone.
    void reportStudCountersink(NciStream& out, double threadRadius) const;
    // The tool centre's circle of the front countersink (corrected): the offset from the
    // thread's major diameter of radius `threadRadius`, the tool beside it.
    double countersinkRadius(double threadRadius) const {
        return threadRadius + value(thread_milling::kFrontOffset) + toolDiameter() / 2.0;
    }
};

// Inside thread milling with countersinking (cycles 262, 263): the outside thread's values, the
// clearance to the side and the thread depth. A pre-drill to the countersinking depth, the side
// and front countersinks, then two helical turns down to below the thread depth.
class NCIThreadMilling : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

}  // namespace morvane
