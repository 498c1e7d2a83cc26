#include "heidenhain_output.h"

#include <cmath>
#include <numbers>

#include "nci/int_conversion.h"

namespace morvane::post {

namespace {

// One Q parameter line of a cycle definition.
struct QParameter {
    std::int32_t number;
    std::string_view meaning;
    double value;
};

// Our Heidenhain reader takes a comment whose first word is TOOL for a tool call.
bool startsWithToolWord(std::string_view text) {
    constexpr std::string_view kTool = "TOOL";
    if (text.size() < kTool.size()) return false;
    for (std::size_t i = 0; i < kTool.size(); ++i) {
        char c = text[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != kTool[i]) return false;
    }
    if (text.size() == kTool.size()) return true;
    const char next = text[kTool.size()];
    return !((next >= 'A' && next <= 'Z') || (next >= 'a' && next <= 'z'));
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

}  // namespace

HeidenhainOutput::HeidenhainOutput(const PostSettings& settings, OutputBuffer& out)
    : settings_(settings),
      out_(out),
      length_{settings.decimals, false, true, settings.trailingZeros},
      feedStyle_{settings.feedDecimals, false, false, settings.trailingZeros},
      feedQ_{settings.feedDecimals, false, true, settings.trailingZeros},
      angle_{settings.angleDecimals, false, true, settings.trailingZeros},
      position_(settings.decimals) {}

void HeidenhainOutput::emitBlock() {
    scratch_.clear();
    appendInteger(scratch_, block_++);
    scratch_ += ' ';
    scratch_ += line_;
    out_.line(scratch_);
    line_.clear();
    afterPolarArc_ = false;
}

void HeidenhainOutput::emitText(std::string_view text, std::string_view axes) {
    expandTemplate(text, programName_, axes, line_);
    emitBlock();
}

void HeidenhainOutput::commentBlock(std::string_view text) {
    text = trimmed(plainText(text, scratch_));
    line_.assign(";");
    if (!text.empty()) {
        line_ += ' ';
        if (startsWithToolWord(text)) line_ += "* ";
        line_ += text;
    }
    const bool polar = afterPolarArc_;
    emitBlock();
    afterPolarArc_ = polar;  // a comment does not move the tool
}

void HeidenhainOutput::begin(std::string_view programName, bool inch) {
    programName_.assign(programName);
    inch_ = inch;
    length_.decimals = lengthDecimals(settings_, inch);
    position_ = KnownPosition(length_.decimals);
    line_.assign("BEGIN PGM ");
    line_ += programName_;
    line_ += inch_ ? " INCH" : " MM";
    emitBlock();
    for (const std::string& text : settings_.programStart)
        emitText(text);
}

void HeidenhainOutput::end() {
    for (const std::string& text : settings_.programEnd)
        emitText(text);
    line_.assign("END PGM ");
    line_ += programName_;
    line_ += inch_ ? " INCH" : " MM";
    emitBlock();
}

void HeidenhainOutput::compensationWord(Compensation comp) {
    if (comp == Compensation::Off) appendText(line_, "R0");
    if (comp == Compensation::Left) appendText(line_, "RL");
    if (comp == Compensation::Right) appendText(line_, "RR");
}

void HeidenhainOutput::feedWord(double feed, Compensation comp) {
    if (feed_.needs(feed)) {
        appendWord(line_, "F", feed, feedStyle_);
        feed_.set(feed);
    }
    // Our Heidenhain reader ends a block at RL or RR and does not see the F behind them: the
    // next feed move states its feed again.
    if (comp == Compensation::Left || comp == Compensation::Right) feed_.forget();
}

void HeidenhainOutput::move(const LinearMove& m) {
    writeStraight(m, position_, [&](const std::array<bool, 3>& named) { straightBlock(m, named); });
}

void HeidenhainOutput::straightBlock(const LinearMove& m, const std::array<bool, 3>& named) {
    if (!named[0] && !named[1] && !named[2]) return;
    line_.assign("L");
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (!named[axis]) continue;
        appendWord(line_, std::string_view(&kAxisLetters[axis], 1), m.to[axis], length_);
        position_.set(axis, m.to[axis]);
    }
    compensationWord(m.comp);
    if (m.rapid) {
        appendText(line_, "FMAX");
        if (m.comp == Compensation::Left || m.comp == Compensation::Right) feed_.forget();
    } else {
        feedWord(m.feed, m.comp);
    }
    emitBlock();
}

void HeidenhainOutput::positionStart(const ArcMove& arc) {
    if (afterPolarArc_) return;
    LinearMove toStart;
    toStart.to = arc.start;
    toStart.feed = arc.feed;
    straightBlock(toStart, axesToReachArcStart(arc, position_, arc.helical));
}

void HeidenhainOutput::centreBlock(const ArcMove& arc) {
    if (centreKnown_ && centrePlane_ == arc.plane && centreH_ == arc.centreH &&
        centreV_ == arc.centreV)
        return;
    const PlaneAxes axes = axesOf(arc.plane);
    const bool polar = afterPolarArc_;
    line_.assign("CC");
    appendWord(line_, std::string_view(&kAxisLetters[axes.h], 1), arc.centreH, length_);
    appendWord(line_, std::string_view(&kAxisLetters[axes.v], 1), arc.centreV, length_);
    emitBlock();
    afterPolarArc_ = polar;  // CC moves nothing
    centreKnown_ = true;
    centrePlane_ = arc.plane;
    centreH_ = arc.centreH;
    centreV_ = arc.centreV;
}

// Where the control stands when a CP block begins: after a CP, where its own rotation left it
// (within a rounding of the NCI end point); otherwise at the written start point.
void HeidenhainOutput::polarStart(const ArcMove& a, double& h, double& v) const {
    const PlaneAxes axes = axesOf(a.plane);
    const bool turned = afterPolarArc_ && a.plane == Plane::XY;
    h = turned ? polarX_ : a.start[axes.h];
    v = turned ? polarY_ : a.start[axes.v];
}

// The pole of a CP block: of the centres the written CC can name next to the NCI centre (one
// step of the last decimal either way), the one about which the control's turn (by the angle as
// written) ends nearest to the end point, so that no error carries over to the next helix block.
void HeidenhainOutput::choosePole(ArcMove& a, double fromH, double fromV) const {
    const PlaneAxes axes = axesOf(a.plane);
    const double step = std::pow(10.0, -length_.decimals);
    const double baseH = std::round(a.centreH / step);
    const double baseV = std::round(a.centreV / step);
    const auto miss = [&](double ch, double cv) {
        ArcMove candidate = a;
        candidate.centreH = ch;
        candidate.centreV = cv;
        const PolarTurn turn = polarTurn(candidate, fromH, fromV);
        return std::hypot(turn.endH - a.end[axes.h], turn.endV - a.end[axes.v]);
    };
    double bestH = a.centreH;
    double bestV = a.centreV;
    double best = miss(bestH, bestV);
    for (int dh = -1; dh <= 1; ++dh) {
        for (int dv = -1; dv <= 1; ++dv) {
            const double ch = (baseH + dh) * step;
            const double cv = (baseV + dv) * step;
            const double m = miss(ch, cv);
            if (m < best - 1e-12) {
                best = m;
                bestH = ch;
                bestV = cv;
            }
        }
    }
    a.centreH = bestH;
    a.centreV = bestV;
}

// The angle a CP block turns through, measured from where the control stands so that errors do
// not add up along a chain of helix blocks, and where the turn by that angle (as written)
// leaves the control.
HeidenhainOutput::PolarTurn HeidenhainOutput::polarTurn(const ArcMove& a, double fromH,
                                                        double fromV) const {
    constexpr double kDegree = std::numbers::pi / 180.0;
    const PlaneAxes axes = axesOf(a.plane);
    double drift = std::atan2(fromV - a.centreV, fromH - a.centreH) -
                   std::atan2(a.start[axes.v] - a.centreV, a.start[axes.h] - a.centreH);
    if (drift > std::numbers::pi) drift -= 2.0 * std::numbers::pi;
    if (drift < -std::numbers::pi) drift += 2.0 * std::numbers::pi;
    PolarTurn turn;
    turn.degrees = roundedDegrees(arcSweepDegrees(a) - drift / kDegree, angle_.decimals);
    const double r = turn.degrees * kDegree;
    const double dh = fromH - a.centreH;
    const double dv = fromV - a.centreV;
    turn.endH = a.centreH + dh * std::cos(r) - dv * std::sin(r);
    turn.endV = a.centreV + dh * std::sin(r) + dv * std::cos(r);
    return turn;
}

void HeidenhainOutput::arc(const ArcMove& a) {
    positionStart(a);
    const PlaneAxes axes = axesOf(a.plane);
    const char* direction = a.clockwise ? "DR-" : "DR+";
    if (a.helical) {
        // A helix: the polar circle turns the tool about CC while the normal axis moves to its
        // absolute end (an increment would build on our reader's own idea of that axis).
        double fromH = 0.0;
        double fromV = 0.0;
        polarStart(a, fromH, fromV);
        ArcMove polar = a;
        choosePole(polar, fromH, fromV);
        centreBlock(polar);
        const PolarTurn turn = polarTurn(polar, fromH, fromV);
        polarX_ = turn.endH;
        polarY_ = turn.endV;
        line_.assign("CP");
        appendWord(line_, "IPA", turn.degrees, angle_);
        appendWord(line_, std::string_view(&kAxisLetters[axes.n], 1), a.end[axes.n], length_);
        appendText(line_, direction);
    } else if (settings_.arcs == ArcFormat::Radius && !a.fullCircle &&
               radiusFormCentreShift(a, length_.decimals) <= kRadiusFormShift) {
        const double r = arcRadius(a);
        line_.assign("CR");
        appendWord(line_, std::string_view(&kAxisLetters[axes.h], 1), a.end[axes.h], length_);
        appendWord(line_, std::string_view(&kAxisLetters[axes.v], 1), a.end[axes.v], length_);
        appendWord(line_, "R", std::fabs(arcSweepDegrees(a)) > 180.0 ? -r : r, length_);
        appendText(line_, direction);
        centreKnown_ = false;
    } else {
        centreBlock(a);
        line_.assign("C");
        appendWord(line_, std::string_view(&kAxisLetters[axes.h], 1), a.end[axes.h], length_);
        appendWord(line_, std::string_view(&kAxisLetters[axes.v], 1), a.end[axes.v], length_);
        appendText(line_, direction);
    }
    compensationWord(a.comp);
    feedWord(a.feed, a.comp);
    emitBlock();
    position_.set(a.end);
    if (a.helical) {
        // The control's own rotation ends within a rounding of the NCI end point: the next
        // straight move names X and Y again.
        position_.forget(axes.h);
        position_.forget(axes.v);
        afterPolarArc_ = true;
    }
}

void HeidenhainOutput::dwell(double seconds) {
    if (std::isnan(seconds)) {
        commentBlock("dwell without a time");
        warning("dwell without a time");
        return;
    }
    if (!(seconds > 0.0)) return;
    line_.assign("CYCL DEF 9.0 DWELL TIME");
    emitBlock();
    line_.assign("CYCL DEF 9.1 DWELL");
    appendWord(line_, "", seconds, feedStyle_);
    emitBlock();
}

void HeidenhainOutput::toolChange(std::int32_t tool, double speed) {
    line_.assign("TOOL CALL");
    appendWord(line_, "", static_cast<std::int64_t>(tool));
    appendText(line_, "Z");
    appendWord(line_, "S", std::fabs(speed), feedStyle_);
    emitBlock();
    if (speed == 0.0) return;
    line_.assign(speed < 0.0 ? "L M4" : "L M3");
    emitBlock();
}

void HeidenhainOutput::comment(std::string_view text) {
    commentBlock(text);
}

void HeidenhainOutput::cycleDefinition(const CycleCall& call) {
    const DrillCycle& c = call.cycle;
    const bool fromIso = call.origin == WriterFamily::Iso;
    // The ISO writer knows no surface: the R plane is taken as the surface, with no set-up
    // clearance above it, and the tool returns to the level the cycles began at.
    double plunge = c.peck;
    if (fromIso && !pecks(c)) plunge = c.depth;
    double clearance = c.clearanceZ - c.surfaceZ;
    if (fromIso && clearance < 0.0) clearance = 0.0;
    const bool universal = c.source == 203;
    const QParameter common[] = {
        {200, "SET-UP CLEARANCE", c.referenceZ - c.surfaceZ},
        {201, "DEPTH", c.bottomZ - c.surfaceZ},
        {206, "FEED RATE FOR PLNGNG", c.feed},
        {202, "PLUNGING DEPTH", plunge},
        {210, "DWELL TIME AT TOP", c.dwellTop},
        {203, "SURFACE COORDINATE", c.surfaceZ},
        {204, "2ND SET-UP CLEARANCE", clearance},
    };
    const QParameter drilling[] = {{211, "DWELL TIME AT DEPTH", c.dwellBottom}};
    const QParameter universalOnly[] = {
        {212, "DECREMENT", c.decrement},
        {213, "NR OF BREAKS", c.breaks},
        {205, "MIN. PLUNGING DEPTH", c.minPeck},
        {211, "DWELL TIME AT DEPTH", c.dwellBottom},
        {208, "RETRACTION FEED RATE", c.retractFeed},
        {256, "DIST. FOR CHIP BRKNG", c.chipBreak},
    };
    line_.assign(universal ? "CYCL DEF 203 UNIVERSAL DRILLING ~" : "CYCL DEF 200 DRILLING ~");
    emitBlock();
    const auto write = [this](const QParameter& q, bool last) {
        line_.assign("  Q");
        appendInteger(line_, q.number);
        line_ += '=';
        appendNumber(line_, q.value, q.number == 206 || q.number == 208 ? feedQ_ : length_);
        line_ += " ;";
        line_ += q.meaning;
        if (!last) line_ += " ~";
        out_.line(line_);
        line_.clear();
    };
    for (const QParameter& q : common)
        write(q, false);
    if (universal) {
        for (std::size_t i = 0; i < std::size(universalOnly); ++i)
            write(universalOnly[i], i + 1 == std::size(universalOnly));
    } else {
        write(drilling[0], true);
    }
}

void HeidenhainOutput::cycleCallBlock(const CycleCall& call) {
    const DrillCycle& c = call.cycle;
    // The Heidenhain writer gives the Z of the calling block; the ISO writer's is no position.
    const bool placeZ = call.origin == WriterFamily::Heidenhain && !position_.at(2, c.startZ);
    if (!call.withMove && position_.at(0, c.x) && position_.at(1, c.y) && !placeZ) {
        line_.assign("CYCL CALL");
        emitBlock();
        return;
    }
    line_.assign("L");
    bool any = false;
    for (std::size_t axis = 0; axis < 2; ++axis) {
        const double v = axis == 0 ? c.x : c.y;
        if (position_.at(axis, v)) continue;
        appendWord(line_, std::string_view(&kAxisLetters[axis], 1), v, length_);
        any = true;
    }
    if (placeZ) {
        appendWord(line_, "Z", c.startZ, length_);
        any = true;
    }
    if (!any) appendWord(line_, "X", c.x, length_);
    if (!call.withMove || call.rapidMove) {
        appendText(line_, "FMAX");
    } else {
        feedWord(call.moveFeed, Compensation::None);
    }
    appendText(line_, "M99");
    emitBlock();
}

void HeidenhainOutput::cycle(const CycleCall& call) {
    const DrillCycle& c = call.cycle;
    if (c.kind != HoleKind::Drill) {
        scratch_.assign(c.kind == HoleKind::Tap ? "tapping cycle G74" : "boring cycle G76");
        scratch_ += " has no Heidenhain cycle here, hole at";
        appendWord(scratch_, "X", c.x, length_);
        appendWord(scratch_, "Y", c.y, length_);
        std::string text;
        text.swap(scratch_);
        commentBlock(text);
        warning(text);
        position_.forgetAll();
        return;
    }
    if (!call.repeat) cycleDefinition(call);
    cycleCallBlock(call);
    position_.set(0, c.x);
    position_.set(1, c.y);
    position_.set(2, call.zAfter);
}

void HeidenhainOutput::datum(std::int32_t number) {
    line_.assign("CYCL DEF 247 DATUM SETTING ~");
    emitBlock();
    line_.assign("  Q339=");
    appendNumber(line_, number, length_);
    line_ += " ;DATUM NUMBER";
    out_.line(line_);
    line_.clear();
}

void HeidenhainOutput::referenceReturn(const std::array<bool, 3>& axes) {
    const std::string named = returnAxesText(axes, length_);
    for (const std::string& text : settings_.referenceReturn)
        emitText(text, named);
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (axes[axis]) position_.toReference(axis);
}

void HeidenhainOutput::stockBlank(const Point& min, const Point& max) {
    line_.assign("BLK FORM 0.1 Z");
    for (std::size_t axis = 0; axis < 3; ++axis)
        appendWord(line_, std::string_view(&kAxisLetters[axis], 1), min[axis], length_);
    emitBlock();
    line_.assign("BLK FORM 0.2");
    for (std::size_t axis = 0; axis < 3; ++axis)
        appendWord(line_, std::string_view(&kAxisLetters[axis], 1), max[axis], length_);
    emitBlock();
    // Our reader puts the tool at the blank's corner; the control does not move at all.
    position_.forgetAll();
}

void HeidenhainOutput::subprogramLabel(std::int32_t number) {
    line_.assign("LBL");
    appendWord(line_, "", static_cast<std::int64_t>(number));
    emitBlock();
}

void HeidenhainOutput::subprogramReturn() {
    line_.assign("LBL 0");
    emitBlock();
}

void HeidenhainOutput::subprogramCall(std::int32_t number, std::int32_t repeats) {
    line_.assign("CALL LBL");
    appendWord(line_, "", static_cast<std::int64_t>(number));
    if (repeats > 1) {
        appendText(line_, "REP");
        appendWord(line_, "", static_cast<std::int64_t>(repeats));
    }
    emitBlock();
}

void HeidenhainOutput::spindle(SpindleSetting setting, double speed) {
    std::string text =
        setting == SpindleSetting::Limit ? "spindle speed limit S" : "constant surface speed S";
    appendNumber(text, std::fabs(speed), feedStyle_);
    text += " not written";
    commentBlock(text);
    warning(text);
}

void HeidenhainOutput::corner(bool chamfer, double size) {
    line_.assign(chamfer ? "CHF" : "RND R");
    if (chamfer) line_ += ' ';
    appendNumber(line_, size, feedStyle_);
    emitBlock();
}

void HeidenhainOutput::tolerance(double value) {
    line_.assign("CYCL DEF 32.0 TOLERANCE");
    emitBlock();
    line_.assign("CYCL DEF 32.1 T");
    appendNumber(line_, value, feedStyle_);
    emitBlock();
}

void HeidenhainOutput::mirror(bool x, bool y, bool z) {
    line_.assign("CYCL DEF 8.0 MIRROR IMAGE");
    emitBlock();
    line_.assign("CYCL DEF 8.1");
    const bool axes[] = {x, y, z};
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (axes[axis]) appendText(line_, std::string_view(&kAxisLetters[axis], 1));
    emitBlock();
}

}  // namespace morvane::post
