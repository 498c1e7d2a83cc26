#include "iso_output.h"

#include <cmath>

#include "nci/int_conversion.h"

namespace morvane::post {

namespace {

// G17/G18/G19 by NCI plane code (0 XY, 1 YZ, 2 XZ).
constexpr int kPlaneWords[] = {17, 19, 18};

// A Fanuc comment ends at the first ")" and "%" ends the tape, so neither may stand inside one.
void appendComment(std::string& line, std::string_view text) {
    line += '(';
    std::size_t first = text.find_first_not_of(' ');
    std::size_t last = text.find_last_not_of(' ');
    if (first != std::string_view::npos) text = text.substr(first, last - first + 1);
    for (char c : text) {
        if (c == '(') c = '[';
        if (c == ')') c = ']';
        if (c == '%') c = ' ';
        line += c;
    }
    line += ')';
}

int cycleCode(const DrillCycle& c, int peckCycle) {
    if (c.kind == HoleKind::Tap) return 74;
    if (c.kind == HoleKind::Bore) return 76;
    if (pecks(c)) return peckCycle;
    if (c.dwellBottom > 0.0) return 82;
    return 81;
}

std::int32_t milliseconds(double seconds) {
    return wordToInt32(seconds * 1000.0);
}

}  // namespace

IsoOutput::IsoOutput(const PostSettings& settings, OutputBuffer& out)
    : settings_(settings),
      out_(out),
      length_{settings.decimals, true, false, settings.trailingZeros},
      feedStyle_{settings.feedDecimals, true, false, settings.trailingZeros},
      position_(settings.decimals),
      lineNumber_(settings.lineNumberStart) {}

void IsoOutput::emitBlock() {
    if (settings_.lineNumbers) {
        scratch_.assign("N");
        appendInteger(scratch_, lineNumber_);
        scratch_ += ' ';
        scratch_ += line_;
        line_.swap(scratch_);
        lineNumber_ = lineNumber_ > settings_.lineNumberMax - settings_.lineNumberStep
                          ? settings_.lineNumberStart
                          : lineNumber_ + settings_.lineNumberStep;
    }
    out_.line(line_);
    line_.clear();
}

void IsoOutput::emitPlain(std::string_view text, std::string_view axes) {
    expandTemplate(text, programName_, axes, scratch_);
    out_.line(scratch_);
}

void IsoOutput::commentLine(std::string_view text) {
    line_.clear();
    appendComment(line_, plainText(text, scratch_));
    emitBlock();
}

void IsoOutput::prepareBlock() {
    if (cycleOpen_) {
        cycleOpen_ = false;
        line_.assign("G80");
        emitBlock();
    }
    if (!heldComment_.empty()) {
        std::string held;
        held.swap(heldComment_);
        commentLine(held);
    }
    line_.clear();
}

void IsoOutput::begin(std::string_view programName, bool inch) {
    programName_.assign(programName);
    for (const std::string& text : settings_.programStart)
        emitPlain(text);
    // The safety line: absolute positions, the XY plane, no compensation, no cycle, the unit.
    line_.assign("G90 G17 G40 G80");
    appendText(line_, inch ? "G20" : "G21");
    emitBlock();
    plane_ = 0;
    lengthUnit(inch);
}

bool IsoOutput::units(bool inch) {
    prepareBlock();
    line_.assign(inch ? "G20" : "G21");
    emitBlock();
    lengthUnit(inch);
    return true;
}

void IsoOutput::lengthUnit(bool inch) {
    length_.decimals = lengthDecimals(settings_, inch);
    // Positions known in the other unit are no positions in this one.
    position_ = KnownPosition(length_.decimals);
}

void IsoOutput::end() {
    prepareBlock();
    for (const std::string& text : settings_.programEnd)
        emitPlain(text);
}

void IsoOutput::motionWord(int g) {
    if (motion_ == g && g < 2) return;
    appendWord(line_, "G", static_cast<std::int64_t>(g));
    motion_ = g;
}

void IsoOutput::compensationWords(Compensation comp) {
    if (comp == Compensation::Off) appendText(line_, "G40");
    if (comp == Compensation::Left) appendText(line_, "G41");
    if (comp == Compensation::Right) appendText(line_, "G42");
}

void IsoOutput::feedWord(double feed) {
    if (!feed_.needs(feed)) return;
    appendWord(line_, "F", feed, feedStyle_);
    feed_.set(feed);
}

void IsoOutput::move(const LinearMove& m) {
    writeStraight(m, position_, [&](const std::array<bool, 3>& named) { straightBlock(m, named); });
}

void IsoOutput::straightBlock(const LinearMove& m, const std::array<bool, 3>& named) {
    if (!named[0] && !named[1] && !named[2]) return;
    prepareBlock();
    motionWord(m.rapid ? 0 : 1);
    compensationWords(m.comp);
    for (std::size_t axis = 0; axis < 3; ++axis) {
        if (!named[axis]) continue;
        appendWord(line_, std::string_view(&kAxisLetters[axis], 1), m.to[axis], length_);
        position_.set(axis, m.to[axis]);
    }
    if ((m.comp == Compensation::Left || m.comp == Compensation::Right) && tool_ > 0)
        appendWord(line_, "D", static_cast<std::int64_t>(tool_));
    if (!m.rapid) feedWord(m.feed);
    emitBlock();
}

void IsoOutput::positionStart(const ArcMove& arc) {
    LinearMove toStart;
    toStart.to = arc.start;
    toStart.feed = arc.feed;
    straightBlock(toStart, axesToReachArcStart(arc, position_, false));
}

void IsoOutput::arc(const ArcMove& a) {
    prepareBlock();
    positionStart(a);
    const PlaneAxes axes = axesOf(a.plane);
    const int planeCode = static_cast<int>(a.plane);
    if (plane_ != planeCode) {
        appendWord(line_, "G", static_cast<std::int64_t>(kPlaneWords[planeCode]));
        plane_ = planeCode;
    }
    compensationWords(a.comp);
    motionWord(a.clockwise ? 2 : 3);
    // Both plane axes always: a full circle without them is no move to our reader.
    appendWord(line_, std::string_view(&kAxisLetters[axes.h], 1), a.end[axes.h], length_);
    appendWord(line_, std::string_view(&kAxisLetters[axes.v], 1), a.end[axes.v], length_);
    // The normal axis where it moves or where a block placed it; otherwise the source program
    // left it where it was, and so does this arc.
    if (!position_.at(axes.n, a.end[axes.n]) && (a.helical || a.placed[axes.n]))
        appendWord(line_, std::string_view(&kAxisLetters[axes.n], 1), a.end[axes.n], length_);
    // Until our reader has settled its centre mode, an arc that cannot settle it (a helix, or
    // radii further apart than its test allows) goes with R, which needs no centre mode.
    const bool settles = !a.helical && arcRadiusMismatch(a) < kCentreModeTolerance;
    const bool radiusWanted =
        settings_.arcs == ArcFormat::Radius || (!centreModeSettled_ && !settles);
    // Near half a turn R leaves the centre to the last decimal: the arc goes with its centre.
    const bool radiusHolds = radiusFormCentreShift(a, length_.decimals) <= kRadiusFormShift;
    if (radiusWanted && radiusHolds && !a.fullCircle) {
        const double r = arcRadius(a);
        appendWord(line_, "R", std::fabs(arcSweepDegrees(a)) > 180.0 ? -r : r, length_);
    } else {
        appendWord(line_, std::string_view(&kCentreLetters[axes.h], 1), a.centreH - a.start[axes.h],
                   length_);
        appendWord(line_, std::string_view(&kCentreLetters[axes.v], 1), a.centreV - a.start[axes.v],
                   length_);
        if (settles) centreModeSettled_ = true;
    }
    if ((a.comp == Compensation::Left || a.comp == Compensation::Right) && tool_ > 0)
        appendWord(line_, "D", static_cast<std::int64_t>(tool_));
    feedWord(a.feed);
    emitBlock();
    position_.set(a.end);
}

void IsoOutput::dwell(double seconds) {
    prepareBlock();
    if (std::isnan(seconds)) {
        commentLine("dwell without a time");
        warning("dwell without a time");
        return;
    }
    if (!(seconds > 0.0)) return;
    appendWord(line_, "G4 P", static_cast<std::int64_t>(milliseconds(seconds)));
    emitBlock();
    // Our reader keeps G4 as the motion in force: the next move must name its own.
    motion_ = -1;
}

void IsoOutput::toolChange(std::int32_t tool, double speed) {
    prepareBlock();
    appendWord(line_, "T", static_cast<std::int64_t>(tool));
    appendText(line_, "M6");
    emitBlock();
    tool_ = tool;
    if (speed == 0.0) return;
    appendWord(line_, "S", static_cast<std::int64_t>(wordToInt32(std::fabs(speed))));
    appendText(line_, speed < 0.0 ? "M4" : "M3");
    emitBlock();
}

void IsoOutput::comment(std::string_view text) {
    if (!cycleOpen_) {
        commentLine(text);
        return;
    }
    // Our reader drills again at a comment-only block inside an open cycle; the comment waits
    // for the next hole or for the block that closes the cycle.
    if (!heldComment_.empty()) heldComment_ += ' ';
    heldComment_ += plainText(text, scratch_);
}

IsoOutput::OpenCycle IsoOutput::openCycleOf(const CycleCall& call) const {
    const DrillCycle& c = call.cycle;
    OpenCycle open;
    open.code = cycleCode(c, settings_.peckCycle);
    // The corrected semantics' ISO writer gives the return level: R after G99. A Heidenhain
    // cycle returns to its second set-up clearance, which G98 reaches after the rise.
    open.toReference =
        call.origin == WriterFamily::Iso && std::fabs(c.clearanceZ - c.referenceZ) < 1e-9;
    open.bottomZ = c.bottomZ;
    open.referenceZ = c.referenceZ;
    open.peck = open.code == settings_.peckCycle ? c.peck : 0.0;
    open.shift = open.code == 76 ? c.shift : 0.0;
    open.dwellMs = open.code == 82 || open.code == 74 || open.code == 76
                       ? milliseconds(c.dwellBottom)
                       : 0;
    open.feed = c.feed;
    return open;
}

// The words of a cycle line, or, with `was`, those of a further hole that differ from it.
void IsoOutput::cycleWords(const OpenCycle& c, double x, double y, const OpenCycle* was) {
    const auto changed = [was](double now, double before) {
        return was == nullptr || std::fabs(now - before) > 1e-9;
    };
    if (was == nullptr) {
        appendText(line_, c.toReference ? "G99" : "G98");
        appendWord(line_, "G", static_cast<std::int64_t>(c.code));
    }
    appendWord(line_, "X", x, length_);
    appendWord(line_, "Y", y, length_);
    if (changed(c.bottomZ, was ? was->bottomZ : 0.0)) appendWord(line_, "Z", c.bottomZ, length_);
    if (changed(c.referenceZ, was ? was->referenceZ : 0.0))
        appendWord(line_, "R", c.referenceZ, length_);
    if (c.code == settings_.peckCycle && changed(c.peck, was ? was->peck : 0.0))
        appendWord(line_, "Q", c.peck, length_);
    if (c.code == 76 && c.shift != 0.0 && changed(c.shift, was ? was->shift : 0.0))
        appendWord(line_, "Q", c.shift, length_);
    if (c.dwellMs > 0 && (was == nullptr || c.dwellMs != was->dwellMs))
        appendWord(line_, "P", static_cast<std::int64_t>(c.dwellMs));
    if (c.feed >= 0.0 && changed(c.feed, was ? was->feed : 0.0)) {
        appendWord(line_, "F", c.feed, feedStyle_);
        feed_.set(c.feed);
    }
}

void IsoOutput::cycle(const CycleCall& call) {
    const DrillCycle& c = call.cycle;
    const bool raise = call.origin == WriterFamily::Heidenhain && call.toolZ < c.clearanceZ - 1e-9;
    const OpenCycle next = openCycleOf(call);
    line_.clear();
    // The ISO writers' new record for a block that gives a new depth is a further hole too;
    // other changed words restate the cycle (our reader takes only X Y Z from a further hole).
    const auto same = [](double a, double b) { return std::fabs(a - b) <= 1e-9; };
    const bool onlyDepth = call.origin == WriterFamily::Iso &&
                           same(next.referenceZ, open_.referenceZ) && same(next.peck, open_.peck) &&
                           same(next.shift, open_.shift) && next.dwellMs == open_.dwellMs &&
                           same(next.feed, open_.feed);
    if (!cycleOpen_ || !(call.repeat || onlyDepth) || raise || next.code != open_.code ||
        next.toReference != open_.toReference) {
        // A Heidenhain cycle retracts to its second set-up clearance; G98 returns to the level
        // the cycle started from, so the tool first goes up to that clearance.
        if (raise) {
            prepareBlock();
            motionWord(0);
            appendWord(line_, "Z", c.clearanceZ, length_);
            emitBlock();
        }
        cycleWords(next, c.x, c.y, nullptr);
        cycleOpen_ = true;
    } else {
        // A further hole of the open cycle: its position and the words that change (a new
        // depth, R level, peck, dwell or feed), which the control keeps for the next holes.
        cycleWords(next, c.x, c.y, &open_);
    }
    open_ = next;
    if (!heldComment_.empty()) {
        line_ += ' ';
        appendComment(line_, heldComment_);
        heldComment_.clear();
    }
    emitBlock();
    position_.set(0, c.x);
    position_.set(1, c.y);
    // After an ISO writer's cycle the NCI keeps the Z our reader will keep too; after a
    // Heidenhain one the control stands at a level the NCI does not tell.
    if (call.origin == WriterFamily::Iso) {
        position_.set(2, call.zAfter);
    } else {
        position_.forget(2);
    }
    motion_ = -1;
}

void IsoOutput::cycleEnd() {
    prepareBlock();
}

void IsoOutput::datum(std::int32_t number) {
    prepareBlock();
    if (number < 1 || number > 6) {
        scratch_.assign("work offset ");
        appendInteger(scratch_, number);
        scratch_ += " has no G54 to G59 word";
        const std::string text = scratch_;
        commentLine(text);
        warning(text);
        return;
    }
    appendWord(line_, "G", std::int64_t{53} + number);
    emitBlock();
}

void IsoOutput::referenceReturn(const std::array<bool, 3>& axes) {
    prepareBlock();
    const std::string named = returnAxesText(axes, length_);
    for (const std::string& text : settings_.referenceReturn)
        emitPlain(text, named);
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (axes[axis]) position_.toReference(axis);
    motion_ = -1;
}

void IsoOutput::stockBlank(const Point& min, const Point& max) {
    prepareBlock();
    std::string text = "stock";
    for (std::size_t axis = 0; axis < 3; ++axis)
        appendWord(text, std::string_view(&kAxisLetters[axis], 1), min[axis], length_);
    text += " to";
    for (std::size_t axis = 0; axis < 3; ++axis)
        appendWord(text, std::string_view(&kAxisLetters[axis], 1), max[axis], length_);
    commentLine(text);
}

void IsoOutput::subprogramLabel(std::int32_t number) {
    prepareBlock();
    appendWord(line_, "O", static_cast<std::int64_t>(number));
    out_.line(line_);
    line_.clear();
}

void IsoOutput::subprogramReturn() {
    prepareBlock();
    line_.assign("M99");
    emitBlock();
}

void IsoOutput::subprogramCall(std::int32_t number, std::int32_t repeats) {
    prepareBlock();
    line_.assign("M98");
    appendWord(line_, "P", static_cast<std::int64_t>(number));
    if (repeats > 1) appendWord(line_, "L", static_cast<std::int64_t>(repeats));
    emitBlock();
}

void IsoOutput::spindle(SpindleSetting setting, double speed) {
    prepareBlock();
    line_.assign(setting == SpindleSetting::Limit ? "G92" : "G96");
    appendWord(line_, "S", static_cast<std::int64_t>(wordToInt32(std::fabs(speed))));
    emitBlock();
}

void IsoOutput::corner(bool chamfer, double size) {
    prepareBlock();
    std::string text = chamfer ? "chamfer" : "corner radius";
    appendWord(text, "", size, length_);
    text += " not written";
    commentLine(text);
    warning(text);
}

void IsoOutput::tolerance(double value) {
    prepareBlock();
    std::string text = "tolerance";
    appendWord(text, "", value, length_);
    text += " not written";
    commentLine(text);
    warning(text);
}

void IsoOutput::mirror(bool x, bool y, bool z) {
    prepareBlock();
    std::string text = "mirror";
    const bool axes[] = {x, y, z};
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (axes[axis]) appendText(text, std::string_view(&kAxisLetters[axis], 1));
    text += " not written";
    commentLine(text);
    warning(text);
}

}  // namespace morvane::post
