// The writer's code tables: what a G code, an M code or a record code does, as data. Each frame
// (NCIFrame, NCIFrameFanuc) keeps its own tables; the effects are applied by shared code.
#pragma once

#include <cstddef>
#include <cstdint>

#include "writer/nci_frame.h"
#include "nci/varstorage.h"

namespace morvane {

// What a G code does to the writer state.
enum class GEffect : std::uint8_t {
    Motion,        // motion mode := g
    ArcMotion,     // centre from the radius word when given, then motion mode := g
    Plane,         // working plane := value
    Record,        // record code := value
    BlankMin,      // stock blank minimum := X Y Z of the block; current X Y Z := 0
    BlankMax,      // stock blank maximum := X Y Z; current X Y Z := 0; record StockBlank
    Compensation,  // cutter compensation := g
    ToolData,      // tool length := L, tool diameter := D (and R := D / 2)
    DefineCycle,   // defined cycle := active cycle := g; not called yet
    Datum,         // work offset G54..G59: Q339 := g - 53; record DatumSelect
    DrillCycle,    // modal drill cycle: opens a cycle call at the block's position
    CancelDrill,   // G80: closes an open drill cycle
};

// G codes first..last (inclusive) have `effect`; `value` is the plane or record code.
struct GCodeRule {
    std::int32_t first;
    std::int32_t last;
    GEffect effect;
    std::int32_t value = 0;
};

enum class MEffect : std::uint8_t {
    Record,      // record code := value
    ToolChange,  // record ToolChange; a tool change has been seen
    CycleCall,   // call of the defined cycle (M99 of the conversational dialect)
    Spindle,     // spindle direction := value
};

struct MCodeRule {
    std::int32_t m;
    MEffect effect;
    std::int32_t value = 0;
};

template <std::size_t N>
constexpr const GCodeRule* findGCodeRule(const GCodeRule (&rules)[N], std::int32_t g) {
    for (const GCodeRule& rule : rules) {
        if (g >= rule.first && g <= rule.last) return &rule;
    }
    return nullptr;
}

template <std::size_t N>
constexpr const MCodeRule* findMCodeRule(const MCodeRule (&rules)[N], std::int32_t m) {
    for (const MCodeRule& rule : rules) {
        if (rule.m == m) return &rule;
    }
    return nullptr;
}

// Parameter line layouts of the special records.
enum class Layout : std::uint8_t {
    Nothing,             // a code without a layout: empty parameter line
    Empty,               // "0 0 0"
    ToolLine,            // tool change with S as given
    ToolLineDirected,    // tool change with S times the spindle direction
    Tolerance,           // "0 0 0 0 0 0 " T " 0 0 0"
    SubprogramLabelL,    // label number from L
    SubprogramLabelP,    // label number from P
    SubprogramCallL,     // number and repeats from L (5.003 calls 5 three times)
    SubprogramCallP,     // number from P, one repeat
    StockBlank,          // extents, minimum point, "8 " and seven "0 "
    Message,             // "0 0 0 0 0 0 0 0 " and the stored text
    Scaling,             // X Y Z where given, else 1
    Mirror,              // 1 where X Y Z given, else 0; six zeros
    Rotation,            // A B C
    Radius,              // R (chamfer, rounding)
    Datum,               // Q339
    SpindleDirected,     // S times the spindle direction
    PlaneRotation,       // 4th, 5th and 6th axis value
    CycleCall,           // native cycle line, else longhand
    CycleCallRepeat,     // X Y Z0 (Q203 + Q204) when native, else longhand
    CycleCallRepeatAtZ,  // X Y Z0 Z when native (ISO), else longhand
};

// A record code with its layout; `staysInForce` keeps the code for the next block (ISO frame).
struct RecordLayout {
    std::int32_t code;
    Layout layout;
    bool staysInForce = false;
};

template <std::size_t N>
constexpr const RecordLayout* findRecordLayout(const RecordLayout (&layouts)[N],
                                               std::int32_t code) {
    for (const RecordLayout& entry : layouts) {
        if (entry.code == code) return &entry;
    }
    return nullptr;
}

// The axes of a working plane: the arc's horizontal and vertical axis, the centre letters that go
// with them, and the third axis (written as the arc's depth, negated in the XZ plane, where its
// positive direction points away from the viewer).
struct PlaneAxes {
    double MachineState::*horizontal;
    double MachineState::*vertical;
    double MachineState::*depth;
    double depthSign;
    std::uint32_t centreH;
    std::uint32_t centreV;
    std::uint32_t centreDepth;
};

// Indexed by the plane's code (planeCode).
inline constexpr PlaneAxes kPlaneAxes[] = {
    {&MachineState::x, &MachineState::y, &MachineState::z, 1.0, addr::I, addr::J, addr::K},
    {&MachineState::y, &MachineState::z, &MachineState::x, 1.0, addr::J, addr::K, addr::I},
    {&MachineState::x, &MachineState::z, &MachineState::y, -1.0, addr::I, addr::K, addr::J},
};

constexpr const PlaneAxes& planeAxes(WorkingPlane plane) {
    return kPlaneAxes[planeCode(plane)];
}

}  // namespace morvane
