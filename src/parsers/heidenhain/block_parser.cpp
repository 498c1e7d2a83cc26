#include "parsers/heidenhain/block_parser.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "nci/int_conversion.h"
#include "nci/q_numbers.h"
#include "parsers/heidenhain/keyword_table.h"

namespace morvane::HHParser {

namespace {

constexpr double kDegreesToRadians = 0.017453292519943295;

std::string_view addressable(std::string_view line) {
    constexpr std::size_t kMax = std::numeric_limits<std::uint32_t>::max();
    return line.size() < kMax ? line : line.substr(0, kMax);
}

}  // namespace

// One entry per keyword code. An entry without an action (0, and words such as LBL, PGM, RL,
// RR, APPR, DEP, FN and the Q-function words) ends the line there: Q formulas are not evaluated.
const BlockParser::ActionTable BlockParser::kActions = [] {
    ActionTable t{};
    auto set = [&t](std::int32_t keyword, Action action, std::int32_t arg = 0) {
        t[static_cast<std::size_t>(keyword)] = {action, arg};
    };
    set(kw::L, &BlockParser::appendCodeAction, code::Linear);
    set(kw::LX, &BlockParser::linearToAxis, 1);
    set(kw::LY, &BlockParser::linearToAxis, 1);
    set(kw::LZ, &BlockParser::linearToAxis, 1);
    set(kw::LIX, &BlockParser::linearToAxis, 2);
    set(kw::LIY, &BlockParser::linearToAxis, 2);
    set(kw::LIZ, &BlockParser::linearToAxis, 2);
    set(kw::X, &BlockParser::axisWord, AxisX);
    set(kw::Y, &BlockParser::axisWord, AxisY);
    set(kw::Z, &BlockParser::axisWord, AxisZ);
    set(kw::A, &BlockParser::slotWord, addr::A);
    set(kw::B, &BlockParser::slotWordIfNumber, addr::B);
    set(kw::C, &BlockParser::circle);
    set(kw::CX, &BlockParser::circleToAxis, 1);
    set(kw::CY, &BlockParser::circleToAxis, 1);
    set(kw::CZ, &BlockParser::circleToAxis, 1);
    set(kw::IX, &BlockParser::incrementalAxis, AxisX);
    set(kw::IY, &BlockParser::incrementalAxis, AxisY);
    set(kw::IZ, &BlockParser::incrementalAxis, AxisZ);
    set(kw::IA, &BlockParser::incrementalAxis, AxisA);
    set(kw::IB, &BlockParser::incrementalAxis, AxisB);
    set(kw::IC, &BlockParser::incrementalAxis, AxisC);
    set(kw::CCX, &BlockParser::centreToAxis, 1);
    set(kw::CCY, &BlockParser::centreToAxis, 1);
    set(kw::CCZ, &BlockParser::centreToAxis, 1);
    set(kw::CC, &BlockParser::centreBlock);
    set(kw::CP, &BlockParser::polar);
    set(kw::CR, &BlockParser::arcFlag);
    set(kw::DR, &BlockParser::direction);
    set(kw::R, &BlockParser::radius);
    set(kw::M, &BlockParser::integerWord, addr::M);
    set(kw::F, &BlockParser::slotWord, addr::F);
    set(kw::S, &BlockParser::slotWord, addr::S);
    set(kw::FMAX, &BlockParser::rapid);
    set(kw::MAX, &BlockParser::rapid);
    set(kw::T, &BlockParser::integerWord, addr::T);
    set(kw::TOOL, &BlockParser::tool);
    set(kw::CALL, &BlockParser::call);
    set(kw::TOOLCALL, &BlockParser::toolCall);
    set(kw::REP, &BlockParser::repeat);
    set(kw::BLK, &BlockParser::noAction);
    set(kw::SET, &BlockParser::noAction);
    set(kw::FORM, &BlockParser::blankForm);
    set(kw::CYCL, &BlockParser::cycle);
    set(kw::CHF, &BlockParser::chamfer);
    set(kw::RND, &BlockParser::appendCodeAction, code::Rounding);
    set(kw::Q, &BlockParser::assignParameter);
    set(kw::SCL, &BlockParser::slotWord, addr::F);
    set(kw::ROT, &BlockParser::slotWord, addr::H);
    set(kw::DWELL, &BlockParser::dwell);
    set(kw::ANGLE, &BlockParser::slotWord, addr::A);
    set(kw::DEPTH, &BlockParser::parameterWord, 201);
    set(kw::UP, &BlockParser::parameterWord, 203);
    set(kw::PLNGN, &BlockParser::parameterWord, 202);
    set(kw::RADIUS, &BlockParser::cycleRadius);
    set(kw::BEGIN, &BlockParser::beginProgram);
    return t;
}();

// The corrected semantics reads on past RL, RR and FAUTO, evaluates FN 0 to FN 4, moves along
// LP and CT lines and ends a called section at LBL 0.
const BlockParser::ActionTable BlockParser::kCorrectedActions = [] {
    ActionTable t = kActions;
    auto set = [&t](std::int32_t keyword, Action action, std::int32_t arg = 0) {
        t[static_cast<std::size_t>(keyword)] = {action, arg};
    };
    set(kw::RL, &BlockParser::compensation, code::CompensationLeft);
    set(kw::RR, &BlockParser::compensation, code::CompensationRight);
    set(kw::FAUTO, &BlockParser::autoFeed);
    set(kw::FN, &BlockParser::fnFunction);
    set(kw::LP, &BlockParser::polarLine);
    set(kw::PR, &BlockParser::polarRadius);
    set(kw::IPR, &BlockParser::polarRadius, 1);
    set(kw::PA, &BlockParser::polarAngle);
    set(kw::IPA, &BlockParser::polarAngle, 1);
    set(kw::CT, &BlockParser::tangentArc);
    set(kw::LBL, &BlockParser::labelWord);
    return t;
}();

void BlockParser::setDiagnostics(Diagnostics& diagnostics) {
    diagnostics_ = &diagnostics;
    reporting_ = diagnostics.wanted();
    actions_ = diagnostics.corrected() ? &kCorrectedActions : &kActions;
    lexer.readCommentsAsComments(diagnostics.corrected());
}

void BlockParser::beginLine() {
    blk.reset();
    lexer.beginLine();
    flags = LineFlags{};
}

void BlockParser::parseLine(std::string_view line) {
    flags.centreBlock = flags.datum = flags.stop = false;
    line_ = addressable(line);
    cursor_ = 0;
    Lexer::skipBlockNumber(line_, cursor_);
    wordStart_ = lineStart_ = cursor_;
    std::int32_t keyword = lexer.readKeyword(line_, cursor_);
    while (keyword > kw::None && keyword <= kw::Count) {
        const KeywordAction& entry = (*actions_)[static_cast<std::size_t>(keyword)];
        if (entry.action == nullptr || !(this->*entry.action)(entry.arg)) break;
        keyword = nextKeyword();
    }
    if (flags.polarLine || flags.tangentArc || restoreCentre_) finishCorrectedLine();
    if (flags.arc || centrePlane_ != code::PlaneXY || writtenPlane_ != code::PlaneXY) arcPlane();
    if (flags.multiTurn) planHelixTurns();
    if (reporting_) {
        reportLineEnd(keyword);
        reportLostWords();
        if (lexer.toolInComment)
            diagnostics_->correction(diagnostic::kCommentTool,
                                     "the word TOOL behind \";\" is read as a tool line, not as "
                                     "part of the comment (the corrected semantics reads it as a "
                                     "comment)",
                                     "the text behind \";\" is a comment: its word TOOL is not "
                                     "read");
    }
}

void BlockParser::rememberLine() {
    if (actions_ == &kCorrectedActions) rememberTangent();
    if (flags.centreBlock) {
        for (std::uint32_t k = 0; k < 3; ++k) {
            if (!blk.has(kCentreSlot[k])) continue;
            centre[k] = blk.getDouble(kCentreSlot[k]);
            centreGiven[k] = true;
        }
        const bool x = blk.has(addr::I), y = blk.has(addr::J), z = blk.has(addr::K);
        if (x && y) centrePlane_ = code::PlaneXY;
        else if (y && z) centrePlane_ = code::PlaneYZ;
        else if (x && z) centrePlane_ = code::PlaneXZ;
    }
    for (std::uint32_t k = 0; k < kAxisCount; ++k)
        if (blk.has(kAxisSlot[k])) position[k] = blk.getDouble(kAxisSlot[k]);
    if (flags.datum) {
        for (std::uint32_t k = 0; k < kAxisCount; ++k) {
            if (!blk.has(kAxisSlot[k])) continue;
            axes.values[k] = blk.getDouble(kAxisSlot[k]);
            axes.given[k] = true;
        }
    }
}

// LX, LIX, CX, CCX ...: the axis letters were read as part of the word; step back onto them.
void BlockParser::stepBack(std::int32_t chars) {
    cursor_ -= std::min(cursor_, static_cast<std::uint32_t>(chars));
}

bool BlockParser::appendCodeAction(std::int32_t c) {
    appendCode(c);
    return true;
}

bool BlockParser::linearToAxis(std::int32_t back) {
    stepBack(back);
    return appendCodeAction(code::Linear);
}

// A value that does not read as a number (an axis letter with nothing behind it) sets no word;
// on a mirror line it names the axis.
bool BlockParser::axisWord(std::int32_t axis) {
    const double v = value();
    const auto k = static_cast<std::uint32_t>(axis);
    if (std::isnan(v)) {
        if (flags.mirror) blk.namedAxes = static_cast<std::uint8_t>(blk.namedAxes | (1u << k));
        return true;
    }
    blk.setDouble(flags.centreBlock ? kCentreSlot[k] : kAxisSlot[k], v);
    return true;
}

bool BlockParser::slotWord(std::int32_t slot) {
    const double v = value();
    if (!std::isnan(v)) blk.setDouble(static_cast<std::uint32_t>(slot), v);
    return true;
}

bool BlockParser::integerWord(std::int32_t slot) {
    const double v = value();
    if (!std::isnan(v)) blk.setInt(static_cast<std::uint32_t>(slot), wordToInt32(v));
    return true;
}

bool BlockParser::slotWordIfNumber(std::int32_t slot) {
    if (Lexer::numberFollows(line_, cursor_)) return slotWord(slot);
    return true;
}

// C with a number is the C axis; a bare C is a circle to the end point that follows.
bool BlockParser::circle(std::int32_t) {
    if (Lexer::numberFollows(line_, cursor_)) return slotWord(addr::C);
    flags.arc = true;
    return true;
}

bool BlockParser::circleToAxis(std::int32_t back) {
    stepBack(back);
    return circle(0);
}

// Incremental words add to the last position; within a datum shift they add to the shift
// already in force instead. IA IB IC outside a datum shift are taken as given.
bool BlockParser::incrementalAxis(std::int32_t axis) {
    const double v = value();
    if (std::isnan(v)) return true;
    const auto k = static_cast<std::uint32_t>(axis);
    if (flags.datum) {
        blk.setDouble(kAxisSlot[k], axes.values[k] + v);
    } else if (k < 3) {
        blk.setDouble(flags.centreBlock ? kCentreSlot[k] : kAxisSlot[k], position[k] + v);
    } else {
        blk.setDouble(kAxisSlot[k], v);
    }
    return true;
}

bool BlockParser::centreBlock(std::int32_t) {
    flags.centreBlock = true;
    return true;
}

bool BlockParser::centreToAxis(std::int32_t back) {
    stepBack(back);
    return centreBlock(0);
}

// CP IPA a: the end point is the last position turned by a degrees about the circle centre: in
// X Y, or with the corrected semantics in the plane of the centre's two axes (from Y to Z, from
// X to Z, the way the arc records of those planes turn).
bool BlockParser::polar(std::int32_t) {
    flags.arc = true;
    if (nextKeyword() != kw::IPA) return true;
    const double angle = value();
    if (std::isnan(angle)) return true;
    const bool inPlane = actions_ == &kCorrectedActions;
    const std::uint32_t h = inPlane && centrePlane_ == code::PlaneYZ ? AxisY : AxisX;
    const std::uint32_t v = inPlane && centrePlane_ != code::PlaneXY ? AxisZ : AxisY;
    const double r = angle * kDegreesToRadians;
    const double dh = position[h] - centre[h];
    const double dv = position[v] - centre[v];
    blk.setDouble(kAxisSlot[h], centre[h] + dh * std::cos(r) - dv * std::sin(r));
    blk.setDouble(kAxisSlot[v], centre[v] + dh * std::sin(r) + dv * std::cos(r));
    arcTurn_ = angle;
    flags.multiTurn = std::fabs(angle) > 360.0 + kTurnTolerance;
    return true;
}

bool BlockParser::arcFlag(std::int32_t) {
    flags.arc = true;
    return true;
}

// DR+ counter-clockwise, DR- clockwise; only on a circle line. Elsewhere the sign behind DR is
// left to end the line.
bool BlockParser::direction(std::int32_t) {
    if (!flags.arc) return true;
    if (cursor_ >= line_.size()) return false;
    const char sign = line_[cursor_];
    if (sign != '+' && sign != '-') return false;
    appendCode(sign == '+' ? code::ArcCCW : code::ArcCW);
    ++cursor_;
    return true;
}

// R0 cancels the radius compensation; any other R is a radius (CR, RND).
bool BlockParser::radius(std::int32_t) {
    const double v = value();
    if (std::isnan(v)) return true;
    if (std::fabs(v) >= 1e-10) {
        blk.setDouble(addr::R, v);
    } else {
        appendCode(code::NoCompensation);
    }
    return true;
}

bool BlockParser::rapid(std::int32_t) {
    auto linear = std::find(blk.gcodes.begin(), blk.gcodes.end(), code::Linear);
    if (linear != blk.gcodes.end()) {
        *linear = code::Rapid;
    } else {
        appendCode(code::Rapid);
    }
    return true;
}

// TOOL DEF n: ignored. TOOL CALL n: tool change to n. Any other word after TOOL starts a tool
// table line "TOOL w n v ... D d": tool data (code 99) with the diameter read last, written
// only when the D is reached before the line ends.
bool BlockParser::tool(std::int32_t) {
    const std::int32_t word = nextKeyword();
    if (word == kw::DEF) {
        value();
        return true;
    }
    if (word == kw::CALL) return toolCall(0);
    const double number = value();
    double last = value();
    for (std::int32_t k = word; k != kw::D;) {
        k = nextKeyword();
        if (k == kw::None) return false;
        if (Lexer::numberFollows(line_, cursor_)) last = value();
    }
    if (std::isnan(number)) return true;
    appendCode(code::ToolData);
    blk.setInt(addr::M, 6);
    blk.setInt(addr::T, wordToInt32(number));
    if (!std::isnan(last)) blk.setDouble(addr::D, last);
    return true;
}

bool BlockParser::toolCall(std::int32_t) {
    if (reporting_) reportToolName();
    const double number = value();
    if (std::isnan(number)) return true;
    blk.setInt(addr::M, 6);
    blk.setInt(addr::T, wordToInt32(number));
    return true;
}

// CALL LBL n: M98 with the label in L; the thousandth marks a single run until REP says more.
// CALL LBL 0 ends the running section.
bool BlockParser::call(std::int32_t) {
    if (nextKeyword() != kw::LBL) return true;
    const double label = value();
    if (std::isnan(label)) return true;
    if (std::fabs(label) < 1e-8) {
        flags.stop = true;
        return true;
    }
    blk.setInt(addr::M, 98);
    blk.setDouble(addr::L, label + 0.001);
    return true;
}

// REP m: the repeat count goes into the thousandths of L, behind the label number. Counts are
// clamped to 0..999 so that they never spill into the label; REP only counts behind a CALL LBL
// of the same line.
bool BlockParser::repeat(std::int32_t) {
    const double count = value();
    if (std::isnan(count) || !blk.has(addr::L)) return true;
    const std::int32_t label = truncToInt32(blk.getDouble(addr::L));
    const std::int32_t times = std::clamp(wordToInt32(count), 0, kMaxRepeatCount);
    blk.setDouble(addr::L, label + times / 1000.0);
    flags.repeatGiven = true;
    return true;
}

bool BlockParser::noAction(std::int32_t) {
    return true;
}

// BLK FORM 0.1 (minimum point) and 0.2 (maximum point) become codes 30 and 31.
bool BlockParser::blankForm(std::int32_t) {
    const double v = value();
    if (std::isnan(v)) return true;
    const std::int64_t c = std::int64_t{wordToInt32(v * 10.0)} + code::BlankFormBase;
    appendCode(static_cast<std::int32_t>(std::min<std::int64_t>(c, INT32_MAX)));
    return true;
}

bool BlockParser::cycle(std::int32_t) {
    const std::int32_t word = nextKeyword();
    if (word == kw::DEF) {
        defineCycle();
    } else if (word == kw::CALL) {
        blk.setInt(addr::M, 99);
    }
    return true;
}

bool BlockParser::chamfer(std::int32_t) {
    const double v = value();
    if (std::isnan(v)) return true;
    appendCode(code::Chamfer);
    blk.setDouble(addr::R, v);
    return true;
}

// Qn = v. The comment behind a Q assignment (the parameter's name) is not written. A value that
// is not a number (a formula) leaves the parameter as it was.
bool BlockParser::assignParameter(std::int32_t) {
    flags.parameterComment = true;
    const double number = value();
    while (cursor_ < line_.size() && (isSpace(line_[cursor_]) || line_[cursor_] == '='))
        ++cursor_;
    const double v = value();
    if (std::isnan(number) || std::isnan(v)) return true;
    const std::int32_t q = truncToInt32(number);
    params[q] = v;
    if (q == qn::kDatumNumber) appendCode(code::DatumSelect);
    return true;
}

bool BlockParser::dwell(std::int32_t) {
    const double v = value();
    if (std::isnan(v)) return true;
    params[qn::kDwellTime] = v;
    blk.setDouble(addr::F, v);
    return true;
}

bool BlockParser::parameterWord(std::int32_t q) {
    const double v = value();
    if (!std::isnan(v)) params[q] = v;
    return true;
}

bool BlockParser::cycleRadius(std::int32_t) {
    const double v = value();
    if (std::isnan(v)) return true;
    params[qn::kCircleDiameter] = 2.0 * v;
    params[qn::kCornerRadius] = v;
    return true;
}

// BEGIN PGM name MM|INCH: a message with the program name, and the units.
bool BlockParser::beginProgram(std::int32_t) {
    appendCode(code::Message);
    flags.message = true;
    nextKeyword();
    Lexer::skipSpaces(line_, cursor_);
    const std::uint32_t start = cursor_;
    while (cursor_ < line_.size() && line_[cursor_] != ';' && !isSpace(line_[cursor_]))
        ++cursor_;
    lexer.commentText.assign(line_.substr(start, cursor_ - start));
    const std::int32_t units = nextKeyword();
    if (units == kw::MM) appendCode(code::Metric);
    if (units == kw::INCH) appendCode(code::Inch);
    return true;
}

}  // namespace morvane::HHParser
