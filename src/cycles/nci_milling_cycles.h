// The pocket, slot, stud, surface and thread cycles. They take the drilling values and flags
// (surface, depth, clearances, feed, infeed, flags 5, 8 and 12) and add their own geometry,
// stored under the indices listed at each class.
//
// Their longhand expansions are not written yet: Generate writes no moves, so an expanded call of
// one of these cycles yields only the bracket records of its cycle writer.
#pragma once

#include "cycles/nci_drilling.h"

namespace morvane {

// Rectangular pocket (cycles 251, 253, CYCL DEF 3 and 4): 15 size along the second axis, 16 size
// along the first axis, 17 step-over, 18 corner radius, 23 rotation (degrees in, stored as
// negated radians), 24 reference point.
class NCIRectPocket : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Straight slot (cycle 210): the pocket's values and 25 centre X, 26 centre Y.
class NCIRectSlot : public NCIRectPocket {
  public:
    using NCIRectPocket::NCIRectPocket;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Rectangular pocket finishing (cycle 212): 15 length along X, 16 length along Y, 18 corner
// radius, 23 centre Y, 24 centre X.
class NCIRectPocketFinishing : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Rectangular stud finishing (cycle 213): the values of the pocket finishing.
class NCIStudFinishing : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Face milling (cycle 232): 15 extent along X, 16 along Y, 17 start X, 18 start Y, 23 side
// clearance, 24 floor allowance, 25 overlap factor, 26 strategy (rounded to an integer).
class NCIFaceMilling : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Multipass milling (cycle 230): 15 extent along X, 16 along Y, 17 start X, 18 start Y,
// 23 number of cuts (rounded to an integer).
class NCIMultipassMilling : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Ruled surface (cycle 231): 15 to 26 the four corner points X, Y, Z in turn, 27 number of cuts
// (rounded to an integer).
class NCIRuledSurface : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Circular pocket (cycle 252, CYCL DEF 5): 13 radius, 14 step-over, 15 side allowance, 16 floor
// allowance, 17 finishing infeed, 18 machining operation.
class NCICircularPocket : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Circular pocket finishing (cycle 214): 13 finished radius, 14 centre X, 15 centre Y, 16 blank
// radius.
class NCICircularPocketFinishing : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Circular stud finishing (cycle 215): the values of the circular pocket finishing.
class NCICircularStud : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Circular slot (cycles 211, 254): 13 pitch-circle radius, 14 step-over, 19 width, 20 start
// angle and 21 angular length (degrees in, stored as radians), 22 reference (rounded to an
// integer), 25 and 26 the pitch-circle centre.
class NCICircularSlot : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Outside thread milling (cycle 267): 13 thread radius, 14 countersinking depth at the front,
// 15 offset at the front, 17 pitch.
class NCIOutsideThread : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

// Inside thread milling with countersinking (cycles 262, 263): the outside thread's values and
// 16 clearance to the side, 18 thread depth.
class NCIThreadMilling : public NCIDeepDrilling {
  public:
    using NCIDeepDrilling::NCIDeepDrilling;
    void SetValue(std::int32_t index, double value) override;
    void Generate(NciStream& out) override;
};

}  // namespace morvane
