// CYCL DEF n.m lines: the old-style cycles 1 to 5 and 18 spread their parameters over numbered
// steps (CYCL DEF 1.1 SET UP 2, CYCL DEF 1.2 DEPTH -20, ...) which are stored under the Q
// numbers of the corresponding numbered cycles; the other cycles become codes in the block.
#include <cmath>
#include <cstdint>

#include "nci/int_conversion.h"
#include "parsers/heidenhain/block_parser.h"
#include "parsers/heidenhain/keyword_table.h"

namespace morvane::HHParser {

namespace {

inline constexpr std::int32_t kAnyStep = -1;
inline constexpr std::int32_t kNoCode = -1;
inline constexpr std::int32_t kNoParam = -1;

// Qq := scale * v + constant, v being the value of the step line.
struct ParamFromStep {
    std::int32_t q = kNoParam;
    double scale = 0.0;
    double constant = 0.0;
};

struct OldCycleStep {
    std::int32_t cycle;
    std::int32_t step;
    ParamFromStep set[2];
    std::int32_t code;  // code appended by the step, kNoCode for none
};

// The set-up clearance also clears the second set-up clearance; depths are written with the
// opposite sign; the last step (the feed) defines the cycle.
constexpr ParamFromStep kSetUp = {200, 1.0, 0.0};
constexpr ParamFromStep kNoSecondSetUp = {204, 0.0, 0.0};
constexpr ParamFromStep kDepth = {201, -1.0, 0.0};
constexpr ParamFromStep kPlunge = {202, -1.0, 0.0};
constexpr ParamFromStep kDwell = {211, 1.0, 0.0};
constexpr ParamFromStep kFeed = {206, 1.0, 0.0};
constexpr ParamFromStep kLength = {219, 1.0, 0.0};
constexpr ParamFromStep kWidth = {218, 1.0, 0.0};

constexpr OldCycleStep kOldCycleSteps[] = {
    {1, 1, {kSetUp, kNoSecondSetUp}, kNoCode},
    {1, 2, {kDepth}, kNoCode},
    {1, 3, {kPlunge}, kNoCode},
    {1, 4, {kDwell}, kNoCode},
    {1, 5, {kFeed}, 1001},
    {2, 1, {kSetUp, kNoSecondSetUp}, kNoCode},  // tapping
    {2, 2, {kDepth}, kNoCode},
    {2, 3, {kDwell}, kNoCode},
    {2, 5, {kFeed}, 1001},
    {3, 1, {kSetUp, kNoSecondSetUp}, kNoCode},  // slot milling
    {3, 2, {kDepth}, kNoCode},
    {3, 3, {kPlunge}, kNoCode},
    {3, 4, {kLength}, kNoCode},
    {3, 5, {kWidth}, kNoCode},
    {3, 6, {kFeed, {367, 0.0, 1.0}}, 1003},
    {4, 1, {kSetUp, kNoSecondSetUp}, kNoCode},  // pocket milling
    {4, 2, {kDepth}, kNoCode},
    {4, 3, {kPlunge}, kNoCode},
    {4, 4, {kLength}, kNoCode},
    {4, 5, {kWidth}, kNoCode},
    {4, 6, {kFeed, {367, 0.0, 0.0}}, 1004},
    {5, 1, {kSetUp, kNoSecondSetUp}, kNoCode},  // circular pocket
    {5, 2, {kDepth}, kNoCode},
    {5, 3, {kPlunge}, kNoCode},
    {5, 4, {{220, 1.0, 0.0}, {223, 2.0, 0.0}}, kNoCode},
    {5, 5, {kFeed}, 1005},
    {18, 1, {{201, 1.0, 0.0}, {239, 1.0, 0.0}}, 263},  // thread cutting
    {18, 2, {{239, 1.0, 0.0}}, 263},
};

constexpr bool isOldStyleCycle(std::int32_t n) {
    return (n >= 1 && n <= 5) || n == 18;
}

enum class StepKind { Code, Datum, Tolerance };

struct CycleStep {
    std::int32_t cycle;
    std::int32_t step;  // kAnyStep: every step
    StepKind kind;
    std::int32_t code;
};

// The other cycles known by number. A cycle number with no row here (the numbered cycles 200
// and above among them) is appended as it is.
constexpr CycleStep kCycleSteps[] = {
    {7, kAnyStep, StepKind::Datum, kNoCode},  // datum shift: X Y Z ... feed the axis vector
    {7, 3, StepKind::Code, 54},
    {7, 6, StepKind::Code, 5401},
    {8, 1, StepKind::Code, 28},   // mirror image
    {9, 1, StepKind::Code, 4},    // dwell
    {10, 1, StepKind::Code, 73},  // rotation
    {11, 1, StepKind::Code, 72},  // scaling
    {12, 1, StepKind::Code, 39},
    {13, 1, StepKind::Code, 36},
    {14, 1, StepKind::Code, 37},
    {19, 1, StepKind::Code, 80},
    {20, kAnyStep, StepKind::Code, 120},
    {21, kAnyStep, StepKind::Code, 121},
    {22, kAnyStep, StepKind::Code, 122},
    {23, kAnyStep, StepKind::Code, 123},
    {24, kAnyStep, StepKind::Code, 124},
    {25, kAnyStep, StepKind::Code, 125},
    {26, 1, StepKind::Code, 2600},
    {27, kAnyStep, StepKind::Code, 27},
    {28, kAnyStep, StepKind::Code, 28},
    {29, kAnyStep, StepKind::Code, 29},
    {32, kAnyStep, StepKind::Tolerance, 62},   // tolerance, from step 1 on
    {247, kAnyStep, StepKind::Code, kNoCode},  // datum setting: Q339 does the work
};

}  // namespace

// The value of an old-style step line: "SET UP 2", "DEPTH -20", "V.ZEIT 0.5", "F100" ... one or
// two words, then the number.
double BlockParser::readOldCycleValue() {
    std::int32_t word = nextKeyword();
    if (word == kw::SET) word = nextKeyword();
    if (word == kw::V && cursor_ < line_.size() && line_[cursor_] == '.') {
        ++cursor_;
        lexer.readKeyword(line_, cursor_);
    }
    if (cursor_ < line_.size() && line_[cursor_] == '.') ++cursor_;
    return value();
}

void BlockParser::defineCycle() {
    const double number = value();
    if (std::isnan(number)) return;
    const std::int32_t n = truncToInt32(number);
    const std::int32_t m = wordToInt32((number - n) * 10.0);
    flags.cycleDefinition = true;
    flags.mirror = n == 8 && m == 1;

    if (isOldStyleCycle(n)) {
        // A step whose value does not read as a number leaves its parameters as they were.
        const double v = readOldCycleValue();
        for (const OldCycleStep& row : kOldCycleSteps) {
            if (row.cycle != n || row.step != m) continue;
            for (const ParamFromStep& p : row.set)
                if (p.q != kNoParam && !std::isnan(v)) params[p.q] = p.scale * v + p.constant;
            if (row.code != kNoCode) appendCode(row.code);
        }
        return;
    }

    bool known = false;
    for (const CycleStep& row : kCycleSteps) {
        if (row.cycle != n) continue;
        known = true;
        if (row.step != kAnyStep && row.step != m) continue;
        switch (row.kind) {
            case StepKind::Code:
                if (row.code != kNoCode) appendCode(row.code);
                break;
            case StepKind::Datum:
                flags.datum = true;
                break;
            case StepKind::Tolerance:
                if (m != 0) {
                    appendCode(row.code);
                    nextKeyword();
                    const double tolerance = value();
                    if (!std::isnan(tolerance)) blk.setDouble(addr::T, tolerance);
                }
                break;
        }
    }
    if (!known) appendCode(n);
}

}  // namespace morvane::HHParser
