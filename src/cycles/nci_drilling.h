// The drilling cycles and the move primitives that every longhand cycle writes with.
//
// NCISimpleDrilling: one plunge with a dwell at the bottom (cycles 200, 201, 202, 206, 207, 209).
// NCIDeepDrilling: pecking with chip breaking or full retract (cycles 203, 204, 205, CYCL 1.0);
// it is also the base of the pocket, slot, stud, surface and thread cycles.
// NCIBoreDrilling: helical bore milling (cycle 208).
#pragma once

#include "cycles/nci_general_cycle.h"
#include "nci/arc_centre.h"
#include "nci/limits.h"

namespace morvane {

class NCISimpleDrilling : public NCIGeneralCycle {
  public:
    using NCIGeneralCycle::NCIGeneralCycle;

    // Adds drilling::kDwellTime (must not be negative).
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    double dwellTime() const { return value(drilling::kDwellTime); }

    // Move primitives. Each writes its record code line and one data line carrying the cycle's
    // feed, and moves the current position. A rapid line carries the feed too.
    virtual void RapidTo(NciStream& out, Point2 p, double z);
    virtual void RapidXY(NciStream& out, double x, double y);
    virtual void FeedTo(NciStream& out, Point2 p, double z);
    // Record 4 with the time in its first field; written also for a time of 0.
    virtual void Dwell(NciStream& out, double t);
    virtual void FeedXYZ(NciStream& out, double x, double y, double z);
    virtual void FeedXY(NciStream& out, double x, double y);
    // Arc round a given centre.
    virtual void ArcAround(NciStream& out, double cx, double cy, double ex, double ey, Turn dir);
    // Arc of radius r to the end point, counter-clockwise when side is positive; nothing when
    // r is not positive.
    virtual void ArcRadius(NciStream& out, double ex, double ey, double r, double side);
    // Arc of radius |r|, counter-clockwise for a positive r, clockwise for a negative one;
    // nothing for 0.
    virtual void ArcSigned(NciStream& out, double ex, double ey, double r);
    // Full circle round the centre, starting and ending at the current point.
    virtual void FullCircle(NciStream& out, double cx, double cy, Turn dir);
    // Rapids up to `travelZ` where the tool stood, then over the call point.
    void Approach(NciStream& out, double fromX, double fromY, double fromZ,
                  double travelZ) override;

    // Helical moves, used by bore milling and thread milling.
    // Helix of radius r to (ex, ey, ez), counter-clockwise when side is positive; nothing when r
    // is not positive.
    void HelixArc(NciStream& out, double r, double ex, double ey, double ez, double side);
    // One full helix turn round the centre, from the current point down (or up) to z.
    void HelixCircle(NciStream& out, double cx, double cy, double z, Turn dir);

  protected:
    // Code line, then the data line "0 x y z F 0" of a straight move at the cycle's feed, or at
    // `feed`.
    void straightMove(NciStream& out, std::int32_t code, double x, double y, double z) {
        straightMove(out, code, x, y, z, this->feed());
    }
    void straightMove(NciStream& out, std::int32_t code, double x, double y, double z, double feed);
    // Code line, then "0 0 ex ey cx cy z F 0 <full>" with an optional trailing blank.
    void arcMove(NciStream& out, std::int32_t code, double ex, double ey, Point2 centre, double z,
                 bool full, bool trailingBlank);
    Point2 here() const { return {x_, y_}; }
    // Stores an index of a derived class's `table`; hands any other index to the drilling
    // values (general, and drilling::kDwellTime).
    void setOwnValue(std::span<const ValueSlot> table, std::int32_t index, double value);
    // Drilling ends: dwell, optional feed back to the clearance, rapid to the retract height.
    void finishHole(NciStream& out, Point2 p, bool dwell);
};

class NCIDeepDrilling : public NCISimpleDrilling {
  public:
    using NCISimpleDrilling::NCISimpleDrilling;

    // Adds flag drilling::kFullRetract.
    void SetFlag(std::int32_t index, bool value) override;
    // Adds drilling::kInfeed and kChipBreakDistance.
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    double infeed() const { return value(drilling::kInfeed); }
    double chipBreakDistance() const { return value(drilling::kChipBreakDistance); }
    bool fullRetract() const { return fullRetract_; }

  protected:
    // From the clearance height above `p`: the pecks of the infeed, then the feed to the depth.
    void peckToDepth(NciStream& out, Point2 p);

  private:
    bool fullRetract_ = false;  // drilling::kFullRetract
};

// Universal drilling (cycle 203, and 200). The exact semantics drills as NCIDeepDrilling; the
// corrected one pecks by the infeed (Q202), less the peck decrement (Q212) after each peck down
// to the minimum peck (Q205), breaking chips by the chip-break distance (Q256) as many times as
// kChipBreaks (Q213) before each retract to the set-up clearance, where it dwells (Q210); it
// retracts at the retraction feed (Q208, 0: the feed), or by rapid with general::kRapidRetract
// (cycle 200, whose other values stay 0).
class NCIUniversalDrilling : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

  private:
    // A feed move at the retraction feed; a rapid move with flag 8.
    void retractTo(NciStream& out, Point2 p, double z);
};

class NCIBoreDrilling : public NCISimpleDrilling {
  public:
    using NCISimpleDrilling::NCISimpleDrilling;

    // The deep drilling's infeed indices, as bore_milling names them.
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;

    double boreDiameter() const { return value(bore_milling::kBoreDiameter); }
    double infeedPerTurn() const { return value(bore_milling::kInfeedPerTurn); }
};

// Upper bound of every infeed loop of the longhand cycles (pecks, layers, helix turns), so that
// no parameter makes a cycle write without end.
inline constexpr int kMaxInfeeds = limits::kInfeeds;
// What that bound counts, as the report of a cycle cut short names it.
inline constexpr const char* kInfeedsBound = "layers or pecks";

}  // namespace morvane
