// The words the corrected semantics reads where the exact one ends the line
// (docs/corrections.md): RL and RR, FAUTO, FN 0 to FN 4, LP with PR and PA, CT, and LBL 0.
#include <algorithm>
#include <cmath>
#include <string>

#include "nci/int_conversion.h"
#include "nci/limits.h"
#include "nci/nci_stream.h"
#include "parsers/heidenhain/block_parser.h"
#include "parsers/heidenhain/keyword_table.h"

namespace morvane::HHParser {

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;
constexpr double kRadiansToDegrees = 57.29577951308232;

bool holds(const std::vector<std::int32_t>& codes, std::int32_t c) {
    for (const std::int32_t g : codes)
        if (g == c) return true;
    return false;
}

std::string planeName(std::int32_t plane) {
    return plane == code::PlaneYZ ? "Y and Z" : plane == code::PlaneXZ ? "X and Z" : "X and Y";
}

}  // namespace

bool BlockParser::compensation(std::int32_t c) {
    appendCode(c);
    if (reporting_)
        diagnostics_->correction(diagnostic::kRadiusCompensation, {},
                                 c == code::CompensationLeft
                                     ? "RL written as compensation 41; the line is read on"
                                     : "RR written as compensation 42; the line is read on");
    return true;
}

bool BlockParser::autoFeed(std::int32_t) {
    if (reporting_)
        diagnostics_->correction(diagnostic::kFautoFeed, {},
                                 "FAUTO keeps the feed in force; the line is read on");
    return true;
}

// A number, or Q and a parameter number, with an optional sign; NaN when neither follows. A
// parameter never set reads 0, as the control reads it; it is not entered.
double BlockParser::readOperand() {
    Lexer::skipSpaces(line_, cursor_);
    const char* const end = lineEnd(line_);
    const char* p = line_.data() + cursor_;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    const bool parameter = p < end && (*p == 'Q' || *p == 'q');
    if (parameter) ++p;
    if (p >= end || !(isDigit(*p) || *p == '.')) return std::nan("");
    const nctext::DecimalPrefix number = nctext::readDecimalPrefix(p, end);
    cursor_ = static_cast<std::uint32_t>(number.end - line_.data());
    double v = number.value;
    if (parameter) {
        const auto found = params.find(truncToInt32(number.value));
        v = found != params.end() ? found->second : 0.0;
    }
    return negative ? -v : v;
}

// FN n: Qq = a, FN n: Qq = a + b (- b, * b, DIV b).
BlockParser::FnResult BlockParser::readFn() {
    FnResult r;
    const double n = readOperand();
    if (std::isnan(n)) return r;
    r.function = truncToInt32(n);
    if (r.function < 0 || r.function > 4) return r;
    Lexer::skipSpaces(line_, cursor_);
    if (cursor_ < line_.size() && line_[cursor_] == ':') ++cursor_;
    Lexer::skipSpaces(line_, cursor_);
    if (cursor_ >= line_.size() || (line_[cursor_] != 'Q' && line_[cursor_] != 'q')) return r;
    ++cursor_;
    const double q = readOperand();
    Lexer::skipSpaces(line_, cursor_);
    if (std::isnan(q) || cursor_ >= line_.size() || line_[cursor_] != '=') return r;
    ++cursor_;
    const double a = readOperand();
    if (std::isnan(a)) return r;
    r.q = truncToInt32(q);
    if (r.function == 0) {
        r.value = a;
        r.computed = true;
        return r;
    }
    Lexer::skipSpaces(line_, cursor_);
    const std::uint32_t operatorLength = r.function == 4 ? 3 : 1;  // DIV, or + - *
    cursor_ = std::min<std::uint32_t>(cursor_ + operatorLength,
                                      static_cast<std::uint32_t>(line_.size()));
    const double b = readOperand();
    if (std::isnan(b)) return r;
    switch (r.function) {
        case 1: r.value = a + b; break;
        case 2: r.value = a - b; break;
        case 3: r.value = a * b; break;
        default:
            if (b == 0.0) return r;  // the control stops with an error; Q keeps its value
            r.value = a / b;
            break;
    }
    r.computed = std::isfinite(r.value);
    return r;
}

bool BlockParser::fnFunction(std::int32_t) {
    const FnResult r = readFn();
    if (!r.computed) return false;  // reported by reportLineEnd
    params[r.q] = r.value;
    flags.parameterComment = true;
    if (reporting_)
        diagnostics_->correction(diagnostic::kFnAssign, {},
                                 "FN " + std::to_string(r.function) + " sets Q" +
                                     std::to_string(r.q) + " to " + preciseRealToString(r.value));
    return true;
}

// LP: the polar radius and angle start as those of the last position about the circle centre.
bool BlockParser::polarLine(std::int32_t) {
    appendCode(code::Linear);
    flags.polarLine = true;
    const double dx = position[AxisX] - centre[0];
    const double dy = position[AxisY] - centre[1];
    polarRadius_ = std::hypot(dx, dy);
    polarAngle_ = std::atan2(dy, dx) * kRadiansToDegrees;
    return true;
}

bool BlockParser::polarRadius(std::int32_t incremental) {
    if (!flags.polarLine) return false;
    const double v = value();
    if (!std::isnan(v)) polarRadius_ = incremental != 0 ? polarRadius_ + v : v;
    return true;
}

bool BlockParser::polarAngle(std::int32_t incremental) {
    if (!flags.polarLine) return false;
    const double v = value();
    if (!std::isnan(v)) polarAngle_ = incremental != 0 ? polarAngle_ + v : v;
    return true;
}

bool BlockParser::tangentArc(std::int32_t) {
    flags.tangentArc = true;
    return true;
}

// LBL 0 ends a called section; every LBL line is passed over.
bool BlockParser::labelWord(std::int32_t) {
    const double v = value();
    if (!std::isnan(v) && std::fabs(v) < 1e-8) flags.labelEnd = true;
    return false;
}

void BlockParser::finishCorrectedLine() {
    if (flags.polarLine) {
        const double a = polarAngle_ * kDegreesToRadians;
        blk.setDouble(addr::X, centre[0] + polarRadius_ * std::cos(a));
        blk.setDouble(addr::Y, centre[1] + polarRadius_ * std::sin(a));
        if (reporting_)
            diagnostics_->correction(diagnostic::kPolarLine, {},
                                     "LP moves straight to the polar point (" +
                                         preciseRealToString(blk.getDouble(addr::X)) + ", " +
                                         preciseRealToString(blk.getDouble(addr::Y)) +
                                         ") about the circle centre");
        return;
    }
    if (!flags.tangentArc) {
        // An arc about the CC centre after a CT line, whose centre the writer still holds.
        if (!flags.arc || flags.centreBlock) return;
        restoreCentre_ = false;
        for (std::uint32_t k = 0; k < 2; ++k)
            if (!blk.has(kCentreSlot[k])) blk.setDouble(kCentreSlot[k], centre[k]);
        return;
    }
    const double sx = position[AxisX], sy = position[AxisY];
    const double ex = blk.has(addr::X) ? blk.getDouble(addr::X) : sx;
    const double ey = blk.has(addr::Y) ? blk.getDouble(addr::Y) : sy;
    const double dx = ex - sx, dy = ey - sy;
    const double length = std::hypot(tangent.x, tangent.y);
    // The left normal of the tangent; the centre lies on it, as far as the chord's bisector.
    const double nx = length > 0.0 ? -tangent.y / length : 0.0;
    const double ny = length > 0.0 ? tangent.x / length : 0.0;
    const double across = dx * nx + dy * ny;
    const double chord2 = dx * dx + dy * dy;
    if (!tangent.known || length == 0.0 || std::fabs(across) <= 1e-9 * std::sqrt(chord2)) {
        // No element to be tangent to, or the end point lies ahead on the tangent: a straight
        // move is the arc of infinite radius.
        appendCode(code::Linear);
        if (reporting_)
            diagnostics_->correction(diagnostic::kTangentArc, {},
                                     tangent.known ? "CT ends on the tangent line: written as a "
                                                     "straight move"
                                                   : "CT follows no contour element it could "
                                                     "be tangent to: written as a straight move");
        return;
    }
    const double s = chord2 / (2.0 * across);
    blk.setDouble(addr::I, sx + s * nx);
    blk.setDouble(addr::J, sy + s * ny);
    appendCode(s > 0.0 ? code::ArcCCW : code::ArcCW);
    restoreCentre_ = true;
    if (reporting_)
        diagnostics_->correction(diagnostic::kTangentArc, {},
                                 "CT written as an arc tangent to the element before, centre (" +
                                     preciseRealToString(sx + s * nx) + ", " + preciseRealToString(sy + s * ny) +
                                     ")");
}

void BlockParser::arcPlane() {
    const bool otherPlane = flags.arc && !flags.centreBlock && !flags.tangentArc &&
                            centrePlane_ != code::PlaneXY;
    if (actions_ != &kCorrectedActions) {
        if (otherPlane && reporting_)
            diagnostics_->correction(diagnostic::kArcPlane,
                                     "the arc about a CC in " + planeName(centrePlane_) +
                                         " is written in the XY plane; the corrected semantics "
                                         "writes it in that plane",
                                     {});
        return;
    }
    const bool moves = blk.has(addr::X) || blk.has(addr::Y) || blk.has(addr::Z) || flags.arc;
    if (flags.centreBlock || !moves) return;
    const std::int32_t wanted = otherPlane ? centrePlane_ : code::PlaneXY;
    if (wanted == writtenPlane_) return;
    appendCode(wanted);
    writtenPlane_ = wanted;
    if (otherPlane && reporting_)
        diagnostics_->correction(diagnostic::kArcPlane, {},
                                 "the arc about a CC in " + planeName(centrePlane_) +
                                     " is written in that plane");
}

void BlockParser::planHelixTurns() {
    const double turning = std::fabs(arcTurn_);
    const std::string degrees = reporting_ ? preciseRealToString(turning) : std::string();
    if (actions_ != &kCorrectedActions) {
        flags.multiTurn = false;
        if (reporting_)
            diagnostics_->correction(diagnostic::kMultiTurnHelix,
                                     "the arc turns " + degrees +
                                         " degrees and is written as one arc record, one turn for "
                                         "the whole depth change; the corrected semantics writes "
                                         "one full circle per turn",
                                     {});
        return;
    }
    const double wholeTurns = std::floor((turning + kTurnTolerance) / 360.0);
    if (wholeTurns > limits::kHelixTurns) {
        flags.multiTurn = false;
        if (reporting_)
            diagnostics_->report(diagnostic::kLimitReached,
                                 "the arc of " + degrees + " degrees turns more than the bound of " +
                                     std::to_string(limits::kHelixTurns) +
                                     " full circles; it is written as one arc record");
        return;
    }
    // A whole number of turns: the line's own arc is the last of them.
    const double rest = turning - 360.0 * wholeTurns;
    const bool restless = rest <= kTurnTolerance;
    const std::uint32_t axis = centrePlane_ == code::PlaneYZ   ? AxisX
                               : centrePlane_ == code::PlaneXZ ? AxisY
                                                               : AxisZ;
    const double from = position[axis];
    const double to = blk.has(kAxisSlot[axis]) ? blk.getDouble(kAxisSlot[axis]) : from;
    helix = {static_cast<std::int32_t>(wholeTurns) - (restless ? 1 : 0),
             {position[AxisX], position[AxisY], position[AxisZ]}, axis,
             (to - from) * 360.0 / turning};
    if (reporting_)
        diagnostics_->correction(
            diagnostic::kMultiTurnHelix, {},
            "the arc of " + degrees + " degrees is written as " +
                (wholeTurns == 1.0 ? std::string("1 full circle (")
                                   : std::to_string(static_cast<std::int32_t>(wholeTurns)) +
                                         " full circles (") +
                "XYZ"[axis] + std::string(" ") + preciseRealToString(helix.perTurn) +
                (wholeTurns == 1.0 ? ")" : " each)") +
                (restless ? std::string() : ", then " + preciseRealToString(rest) + " degrees"));
}

void BlockParser::rememberTangent() {
    if (flags.centreBlock || flags.datum || flags.cycleDefinition) return;
    if (!blk.has(addr::X) && !blk.has(addr::Y)) return;
    const double sx = position[AxisX], sy = position[AxisY];
    const double ex = blk.has(addr::X) ? blk.getDouble(addr::X) : sx;
    const double ey = blk.has(addr::Y) ? blk.getDouble(addr::Y) : sy;
    const bool ccw = holds(blk.gcodes, code::ArcCCW), cw = holds(blk.gcodes, code::ArcCW);
    if (ccw || cw) {
        const double cx = blk.has(addr::I) ? blk.getDouble(addr::I) : centre[0];
        const double cy = blk.has(addr::J) ? blk.getDouble(addr::J) : centre[1];
        // A radius arc (CR) has its centre from the writer: its tangent is not known here.
        tangent.known = !blk.has(addr::R);
        tangent.x = ccw ? -(ey - cy) : ey - cy;
        tangent.y = ccw ? ex - cx : -(ex - cx);
        return;
    }
    if (flags.arc) {
        tangent.known = false;
        return;
    }
    if (ex == sx && ey == sy) return;
    tangent = {ex - sx, ey - sy, true};
}

}  // namespace morvane::HHParser
