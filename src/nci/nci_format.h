// The NCI format as the writer writes it and the post-processor reads it: the record codes, the
// parameter line of each record, and the cycles whose calls are always expanded. Both sides read
// this one header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace morvane {

// Record codes of the NCI catalogue.
namespace rec {
inline constexpr std::int32_t RapidMove = 0, LinearMove = 1, ArcCW = 2, ArcCCW = 3, DwellTime = 4,
                              OperationEnd = 999, OperationStart = 1000, ToolChange = 1001,
                              ProgramEnd = 1003, Comment = 1005, Tolerance = 1011,
                              SubprogramLabel = 1018, SubprogramReturn = 1019, StockBlank = 1020,
                              Message = 1050, SubprogramCall = 10181, ReferenceReturn = 91003,
                              Units = 91020, Scaling = 91011, Mirror = 91012, Rotation = 91014, Chamfer = 91024,
                              Rounding = 91025, DatumSelect = 91054, CycleEnd = 91080,
                              CycleCall = 91081, CycleCallRepeat = 91083, SpindleLimit = 92,
                              SurfaceSpeed = 96, PlaneRotation = 9101301, None = -1;
// A longhand cycle call: CycleByNumberBase + cycle number (91210 calls cycle 210).
inline constexpr std::int32_t CycleByNumberBase = 91000;
}  // namespace rec

// The working plane (G17, G19, G18) as the arc and tool records write it.
enum class WorkingPlane : std::uint8_t { XY = 0, YZ = 1, XZ = 2 };
constexpr std::uint32_t planeCode(WorkingPlane plane) {
    return static_cast<std::uint32_t>(plane);
}
// A code out of range reads as XY, the control's default plane.
constexpr WorkingPlane planeOfCode(double code) {
    return code == 1.0 ? WorkingPlane::YZ : code == 2.0 ? WorkingPlane::XZ : WorkingPlane::XY;
}

// Cycles whose calls are always expanded longhand; their call codes are
// rec::CycleByNumberBase + n, never written as records.
inline constexpr std::int32_t kExpandedCycleNumbers[] = {210, 211, 212, 213,  214,  215, 221,
                                                         230, 231, 232, 251,  252,  253, 254,
                                                         262, 263, 267, 1003, 1004, 1005};

// How the parameter line of a record is read.
enum class LineShape : std::uint8_t {
    Numbers,  // blank-separated numbers only
    Text,     // the whole line is free text (Comment)
    Message,  // eight numbers, then free text (Message)
};

// What the numbers of a record mean to the post-processor.
enum class RecordRole : std::uint8_t {
    Rapid,              // comp X Y Z F m
    Linear,             // comp X Y Z F m
    ArcClockwise,       // plane comp H V CH CV D F 0 full
    ArcCounter,         // as ArcClockwise
    Dwell,              // nothing (block writer) or t 1 0 (cycle expansions)
    OperationEnd,       // 0 0 0
    OperationStart,     // tool line (with the tool diameter after T)
    ToolChange,         // tool line
    ProgramEnd,         // 0 0 0
    Comment,            // free text
    Tolerance,          // 0 0 0 0 0 0 T 0 0 0
    SubprogramLabel,    // n, then 28 numbers of a fixed matrix
    SubprogramReturn,   // 0 0 0
    StockBlank,         // extents X Y Z, minimum X Y Z, 8, seven zeros
    Message,            // eight numbers, then the text
    SubprogramCall,     // n 0 0 0 0 rep, then 25 numbers of a fixed matrix
    ReferenceReturn,    // 0 0 0; corrected semantics: 0 0 0 and a flag per axis it names
    Scaling,            // sx sy sz
    Mirror,             // mx my mz 0 0 0 0 0 0
    Rotation,           // A B C
    Chamfer,            // R
    Rounding,           // R
    DatumSelect,        // work offset number 1..6
    CycleEnd,           // 0 0 0
    CycleCall,          // the native cycle line (29 numbers), or nothing
    CycleCallRepeat,    // X Y Z0 and a fourth height
    SpindleLimit,       // S
    SurfaceSpeed,       // S
    PlaneRotation,      // three values of the tilting axis vector
    CycleCallByNumber,  // expanded cycles 210..267 and 1003..1005: never written as records
    Units,              // 1 inch, 0 millimetres (corrected semantics)
};

struct RecordKind {
    std::int32_t code;
    std::string_view name;
    RecordRole role;
    LineShape layout;
    // The parameter line holds exactly `fieldsA` or exactly `fieldsB` numbers (for a Message:
    // the numbers before the text).
    std::uint8_t fieldsA;
    std::uint8_t fieldsB;
};

// The most numbers any record carries (SubprogramCall has 31).
inline constexpr std::size_t kMaxRecordFields = 32;

// Every record the writers emit, with the layout of its parameter line.
inline constexpr RecordKind kRecordCatalogue[] = {
    {rec::RapidMove, "RapidMove", RecordRole::Rapid, LineShape::Numbers, 6, 6},
    {rec::LinearMove, "LinearMove", RecordRole::Linear, LineShape::Numbers, 6, 6},
    {rec::ArcCW, "ArcMove", RecordRole::ArcClockwise, LineShape::Numbers, 10, 10},
    {rec::ArcCCW, "ArcMove", RecordRole::ArcCounter, LineShape::Numbers, 10, 10},
    {rec::DwellTime, "DwellTime", RecordRole::Dwell, LineShape::Numbers, 0, 3},
    {rec::SpindleLimit, "SpindleLimit", RecordRole::SpindleLimit, LineShape::Numbers, 1, 1},
    {rec::SurfaceSpeed, "SurfaceSpeed", RecordRole::SurfaceSpeed, LineShape::Numbers, 1, 1},
    {rec::OperationEnd, "OperationEnd", RecordRole::OperationEnd, LineShape::Numbers, 3, 3},
    {rec::OperationStart, "OperationStart", RecordRole::OperationStart, LineShape::Numbers, 15, 15},
    {rec::ToolChange, "ToolChange", RecordRole::ToolChange, LineShape::Numbers, 15, 15},
    {rec::ProgramEnd, "ProgramEnd", RecordRole::ProgramEnd, LineShape::Numbers, 3, 3},
    {rec::Comment, "Comment", RecordRole::Comment, LineShape::Text, 0, 0},
    {rec::Tolerance, "Tolerance", RecordRole::Tolerance, LineShape::Numbers, 10, 10},
    {rec::SubprogramLabel, "SubprogramLabel", RecordRole::SubprogramLabel, LineShape::Numbers, 29, 29},
    {rec::SubprogramReturn, "SubprogramReturn", RecordRole::SubprogramReturn, LineShape::Numbers, 3, 3},
    {rec::StockBlank, "StockBlank", RecordRole::StockBlank, LineShape::Numbers, 14, 14},
    {rec::Message, "Message", RecordRole::Message, LineShape::Message, 8, 8},
    {rec::SubprogramCall, "SubprogramCall", RecordRole::SubprogramCall, LineShape::Numbers, 31, 31},
    {rec::ReferenceReturn, "ReferenceReturn", RecordRole::ReferenceReturn, LineShape::Numbers, 3, 6},
    {rec::Scaling, "Scaling", RecordRole::Scaling, LineShape::Numbers, 3, 3},
    {rec::Mirror, "Mirror", RecordRole::Mirror, LineShape::Numbers, 9, 9},
    {rec::Rotation, "Rotation", RecordRole::Rotation, LineShape::Numbers, 3, 3},
    {rec::Units, "Units", RecordRole::Units, LineShape::Numbers, 1, 1},
    {rec::Chamfer, "Chamfer", RecordRole::Chamfer, LineShape::Numbers, 1, 1},
    {rec::Rounding, "Rounding", RecordRole::Rounding, LineShape::Numbers, 1, 1},
    {rec::DatumSelect, "DatumSelect", RecordRole::DatumSelect, LineShape::Numbers, 1, 1},
    {rec::CycleEnd, "CycleEnd", RecordRole::CycleEnd, LineShape::Numbers, 3, 3},
    {rec::CycleCall, "CycleCall", RecordRole::CycleCall, LineShape::Numbers, 0, 29},
    {rec::CycleCallRepeat, "CycleCallRepeat", RecordRole::CycleCallRepeat, LineShape::Numbers, 4, 4},
    {rec::PlaneRotation, "PlaneRotation", RecordRole::PlaneRotation, LineShape::Numbers, 3, 3},
};

// Move records (0, 1): comp X Y Z F m.
enum MoveField : std::size_t { kMoveComp = 0, kMoveX = 1, kMoveFeed = 4 };
// Arc records (2, 3): plane comp H V CH CV D F 0 full.
enum ArcField : std::size_t {
    kArcPlane = 0,
    kArcComp = 1,
    kArcH = 2,
    kArcV = 3,
    kArcCentreH = 4,
    kArcCentreV = 5,
    kArcDepth = 6,
    kArcFeed = 7,
};
// Tool lines (1000, 1001): 0 0 0 T d 0 plane S F 0 X Y Z 0 0.
enum ToolField : std::size_t { kToolNumber = 3, kToolSpeed = 7, kToolX = 10 };
// StockBlank (1020): extents X Y Z, minimum X Y Z, 8, seven zeros.
enum StockField : std::size_t { kStockExtent = 0, kStockMin = 3 };
// Tolerance (1011): six zeros, T, three zeros.
inline constexpr std::size_t kToleranceValue = 6;
// SubprogramCall (10181): n 0 0 0 0 rep, then a fixed matrix.
enum CallField : std::size_t { kCallNumber = 0, kCallRepeats = 5 };
// CycleCallRepeat (91083): X Y, the Z before the block, and a fourth height (the ISO writer:
// the tool's Z; the Heidenhain writer: Q203 + Q204).
enum RepeatField : std::size_t { kRepeatX = 0, kRepeatY = 1, kRepeatStartZ = 2, kRepeatFourth = 3 };

// The native cycle line (CycleCall, 29 fields) as both writers lay it out.
inline constexpr std::size_t kCycleLineFields = 29;
enum CycleLineField : std::size_t {
    kCycleKind = 0,  // 1 drill, 2 bore, 3 ISO tap, 4 Heidenhain tap or back bore
    kCycleX = 1,
    kCycleY = 2,
    kCycleStartZ = 3,
    kCycleClearance = 4,
    kCycleReference = 5,
    kCycleSurface = 6,
    kCycleDepth = 7,
    kCycleFeed = 8,
    kCycleRetractFeed203 = 9,  // Heidenhain 203 (200 leaves 9, 12, 14, 15, 17..19 at 0)
    kCycleDwellBottom = 10,
    kCycleDwellTop = 11,
    kCyclePeck203 = 12,
    kCyclePeck200 = 13,  // also the ISO writer's Q of G73 and G83
    kCycleMinPeck203 = 14,
    kCycleDecrement203 = 15,
    kCycleChipBreak203 = 17,
    kCyclePeckAgain203 = 18,
    kCycleBreaks203 = 19,
    kCycleIsoShift = 21,  // Q of G76
};
inline constexpr double kCycleKindDrill = 1.0;
inline constexpr double kCycleKindBore = 2.0;
inline constexpr double kCycleKindTapIso = 3.0;

}  // namespace morvane
