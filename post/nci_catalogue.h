// The NCI record catalogue: every record code a Morvane writer emits, its name and the shape of
// its parameter line. The post-processor reads records only through this table, so a code that
// is not listed here is an unknown record.
#pragma once

#include <cstdint>
#include <string_view>

namespace morvane::post {

// How the parameter line of a record is read.
enum class Layout : std::uint8_t {
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
    Layout layout;
    // The parameter line holds exactly `fieldsA` or exactly `fieldsB` numbers (for a Message:
    // the numbers before the text).
    std::uint8_t fieldsA;
    std::uint8_t fieldsB;
};

// The most numbers any record carries (SubprogramCall has 31).
inline constexpr std::size_t kMaxRecordFields = 32;

// Codes of the records written, with the layout of their parameter lines.
inline constexpr RecordKind kRecordCatalogue[] = {
    {0, "RapidMove", RecordRole::Rapid, Layout::Numbers, 6, 6},
    {1, "LinearMove", RecordRole::Linear, Layout::Numbers, 6, 6},
    {2, "ArcMove", RecordRole::ArcClockwise, Layout::Numbers, 10, 10},
    {3, "ArcMove", RecordRole::ArcCounter, Layout::Numbers, 10, 10},
    {4, "DwellTime", RecordRole::Dwell, Layout::Numbers, 0, 3},
    {92, "SpindleLimit", RecordRole::SpindleLimit, Layout::Numbers, 1, 1},
    {96, "SurfaceSpeed", RecordRole::SurfaceSpeed, Layout::Numbers, 1, 1},
    {999, "OperationEnd", RecordRole::OperationEnd, Layout::Numbers, 3, 3},
    {1000, "OperationStart", RecordRole::OperationStart, Layout::Numbers, 15, 15},
    {1001, "ToolChange", RecordRole::ToolChange, Layout::Numbers, 15, 15},
    {1003, "ProgramEnd", RecordRole::ProgramEnd, Layout::Numbers, 3, 3},
    {1005, "Comment", RecordRole::Comment, Layout::Text, 0, 0},
    {1011, "Tolerance", RecordRole::Tolerance, Layout::Numbers, 10, 10},
    {1018, "SubprogramLabel", RecordRole::SubprogramLabel, Layout::Numbers, 29, 29},
    {1019, "SubprogramReturn", RecordRole::SubprogramReturn, Layout::Numbers, 3, 3},
    {1020, "StockBlank", RecordRole::StockBlank, Layout::Numbers, 14, 14},
    {1050, "Message", RecordRole::Message, Layout::Message, 8, 8},
    {10181, "SubprogramCall", RecordRole::SubprogramCall, Layout::Numbers, 31, 31},
    {91003, "ReferenceReturn", RecordRole::ReferenceReturn, Layout::Numbers, 3, 6},
    {91011, "Scaling", RecordRole::Scaling, Layout::Numbers, 3, 3},
    {91012, "Mirror", RecordRole::Mirror, Layout::Numbers, 9, 9},
    {91014, "Rotation", RecordRole::Rotation, Layout::Numbers, 3, 3},
    {91020, "Units", RecordRole::Units, Layout::Numbers, 1, 1},
    {91024, "Chamfer", RecordRole::Chamfer, Layout::Numbers, 1, 1},
    {91025, "Rounding", RecordRole::Rounding, Layout::Numbers, 1, 1},
    {91054, "DatumSelect", RecordRole::DatumSelect, Layout::Numbers, 1, 1},
    {91080, "CycleEnd", RecordRole::CycleEnd, Layout::Numbers, 3, 3},
    {91081, "CycleCall", RecordRole::CycleCall, Layout::Numbers, 0, 29},
    {91083, "CycleCallRepeat", RecordRole::CycleCallRepeat, Layout::Numbers, 4, 4},
    {9101301, "PlaneRotation", RecordRole::PlaneRotation, Layout::Numbers, 3, 3},
};

// Cycles that are always expanded; their call codes are 91000 + n.
inline constexpr std::int32_t kExpandedCycleNumbers[] = {210, 211, 212, 213,  214,  215, 221,
                                                         230, 231, 232, 251,  252,  253, 254,
                                                         262, 263, 267, 1003, 1004, 1005};

// The catalogue entry of `code`; null for a code that no writer emits.
const RecordKind* findRecordKind(std::int32_t code);

}  // namespace morvane::post
