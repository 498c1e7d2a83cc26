#include "tool_path.h"

#include <cmath>
#include <deque>
#include <numbers>
#include <optional>
#include <sstream>

#include "line_reader.h"
#include "nc_modal.h"
#include "nci_fields.h"
#include "nci_record_reader.h"

namespace morvane::test {

namespace {

using post::NciRecord;
using post::RecordRole;

bool same(double a, double b) {
    return std::fabs(a - b) < 1e-9;
}

// A move or arc record that switches cutter compensation on (G41, G42; RL, RR).
bool switchesCompensationOn(const NciRecord& r, std::size_t field) {
    return r.field(field) == 41.0 || r.field(field) == 42.0;
}

// Turns records into path events, kept in `events` until they are taken.
class PathBuilder {
  public:
    explicit PathBuilder(const PathRules& rules) : rules_(rules) {}

    std::deque<PathEvent> events;
    post::WriterFamily origin = post::WriterFamily::Heidenhain;

    // True while the last event may still be dropped by the record that follows.
    bool holding() const {
        return rules_.raisesBeforeHoles && !events.empty() && events.back().zOnlyRapid;
    }

    void take(const NciRecord& r) {
        if (r.problem == post::RecordProblem::BlankLine) return;
        if (first_) {
            first_ = false;
            origin = post::detectWriterFamily(r);
        }
        if (r.problem != post::RecordProblem::None) return;
        const std::optional<post::Point> callXY = holeXY_;
        holeXY_.reset();
        const bool afterReturn = afterReturn_;
        afterReturn_ = false;
        switch (r.kind->role) {
            case RecordRole::Rapid:
            case RecordRole::Linear: {
                const post::Point to = post::moveEnd(r);
                const bool rapid = r.kind->role == RecordRole::Rapid;
                if (!rapid && r.field(post::kMoveFeed) >= 0.0) feed_ = r.field(post::kMoveFeed);
                // The corrected semantics' ISO writer puts it at the cycle's return level.
                const bool callMove = callXY && same(to.x, callXY->x) && same(to.y, callXY->y) &&
                                      (same(to.z, callXY->z) || same(to.z, holeReturnZ_));
                const bool returnMove = afterReturn && moved_ && origin == post::WriterFamily::Iso;
                const bool zOnly = rapid && same(to.x, position_.x) && same(to.y, position_.y);
                // A rapid to where the NCI stands moves nothing, or, after a reference return,
                // comes back from the reference point, which the NCI cannot say (it goes on
                // with the position before the return): an output may name such a move or not.
                const bool still = zOnly && same(to.z, position_.z);
                // The move of a reference return's own block is no part of the path.
                if (returnMove) {
                    position_ = to;
                    placement_.reset(to);
                    return;
                }
                position_ = to;
                placement_.moveTo(to);
                moved_ = true;
                if (callMove || still) return;
                PathEvent e = event(r, rapid ? PathEvent::Kind::Rapid : PathEvent::Kind::Feed);
                e.end = to;
                e.placed = placement_.placed();
                if (!rapid) e.feed = feed_;
                e.endOnly =
                    !rules_.compensationBlockFeeds && switchesCompensationOn(r, post::kMoveComp);
                push(e, zOnly);
                return;
            }
            case RecordRole::ArcClockwise:
            case RecordRole::ArcCounter:
                arc(r);
                return;
            case RecordRole::ToolChange:
                // A tool line tells where the writer stands, not a move: the path follows the
                // move records alone (an expanded cycle's OperationStart already stands at the
                // hole that its first move goes to).
                if (rules_.toolChanges) {
                    PathEvent e = event(r, PathEvent::Kind::ToolChange);
                    e.tool = static_cast<std::int32_t>(std::lround(r.field(post::kToolNumber)));
                    e.speed = r.field(post::kToolSpeed);
                    push(e);
                }
                return;
            case RecordRole::StockBlank:
                position_ = {};
                placement_.reset(position_);
                return;
            case RecordRole::ReferenceReturn:
                // Only the exact semantics' record (three fields) is followed by such a move.
                afterReturn_ = r.fieldCount == 3;
                placement_.reset(position_);
                return;
            case RecordRole::CycleCall: {
                lastCycle_ = post::decodeCycleLine(r, origin);
                if (lastCycle_) addHole(r, *lastCycle_, post::callMoveZ(r, origin));
                return;
            }
            case RecordRole::CycleCallRepeat: {
                if (!lastCycle_) return;
                post::DrillCycle c = *lastCycle_;
                c.x = r.field(post::kRepeatX);
                c.y = r.field(post::kRepeatY);
                addHole(r, c, post::callMoveZ(r, origin));
                return;
            }
            default:
                return;
        }
    }

  private:
    void push(PathEvent e, bool zOnlyRapid = false) {
        e.zOnlyRapid = zOnlyRapid;
        events.push_back(e);
    }

    PathEvent event(const NciRecord& r, PathEvent::Kind kind) const {
        PathEvent e;
        e.kind = kind;
        e.line = r.line;
        return e;
    }

    void arc(const NciRecord& r) {
        const std::optional<post::Plane> plane = post::arcPlane(r);
        if (!plane) return;
        if (r.field(post::kArcFeed) >= 0.0) feed_ = r.field(post::kArcFeed);
        post::ArcMove arc;
        arc.plane = *plane;
        arc.start = position_;
        arc.end = post::arcEnd(r, *plane);
        arc.centreH = r.field(post::kArcCentreH);
        arc.centreV = r.field(post::kArcCentreV);
        const post::PlaneAxes axes = post::axesOf(*plane);
        const bool compensation = switchesCompensationOn(r, post::kArcComp);
        moved_ = true;
        position_ = arc.end;
        placement_.moveTo(arc.end);
        if (post::arcFault(arc) != post::ArcFault::None) {
            PathEvent e = event(r, PathEvent::Kind::Feed);
            e.end = arc.end;
            e.feed = feed_;
            e.endOnly = !rules_.compensationBlockFeeds && compensation;
            push(e);
            return;
        }
        PathEvent e = event(r, PathEvent::Kind::Arc);
        e.plane = static_cast<int>(*plane);
        e.clockwise = r.kind->role == RecordRole::ArcClockwise;
        e.end = arc.end;
        e.centreH = arc.centreH;
        e.centreV = arc.centreV;
        e.fullCircle =
            same(arc.end[axes.h], arc.start[axes.h]) && same(arc.end[axes.v], arc.start[axes.v]);
        e.feed = feed_;
        const bool helical = !same(arc.end[axes.n], arc.start[axes.n]);
        const bool settles = !helical && post::arcRadiusMismatch(arc) < post::kCentreModeTolerance;
        if (!settled_ && !settles && !rules_.arcsBeforeSettling) e.plane = -1;
        if (settles) settled_ = true;
        // Read back as an XY arc about another centre, which may even end off its circle.
        if (*plane != post::Plane::XY && !rules_.arcCentresOutsideXY) e.endOnly = true;
        if (!rules_.compensationBlockFeeds && compensation) e.feed = -1.0;
        if (helical)
            e.endSlack =
                post::arcRadius(arc) * rules_.helixAngleStep / 2.0 * std::numbers::pi / 180.0;
        push(e);
    }

    // A hole, and where the move of its calling block would be.
    void addHole(const NciRecord& r, const post::DrillCycle& c, double callZ) {
        PathEvent e = event(r, PathEvent::Kind::Hole);
        e.end = {c.x, c.y, 0.0};
        e.holeKind = c.kind;
        e.referenceZ = c.referenceZ;
        e.bottomZ = c.bottomZ;
        e.holeFeed = c.feed;
        e.peck = post::pecks(c) ? c.peck : 0.0;
        e.dwell = e.peck > 0.0 && !rules_.peckDwell ? 0.0 : c.dwellBottom;
        while (rules_.raisesBeforeHoles && !events.empty() && events.back().zOnlyRapid)
            events.pop_back();
        if (origin == post::WriterFamily::Iso) feed_ = c.feed;
        push(e);
        holeXY_ = post::Point{c.x, c.y, callZ};
        holeReturnZ_ = origin == post::WriterFamily::Iso ? c.clearanceZ : callZ;
    }

    const PathRules& rules_;
    bool first_ = true;
    post::Point position_;
    double feed_ = -1.0;
    std::optional<post::DrillCycle> lastCycle_;
    std::optional<post::Point> holeXY_;  // the calling block's move, when one follows
    double holeReturnZ_ = 0.0;           // or the level it returns to
    bool afterReturn_ = false;
    bool moved_ = false;         // a move or arc has been read
    post::Placement placement_;  // the axes of position_ that a block gave
    bool settled_ = false;       // a planar arc with agreeing radii has been read
};

// By PathEvent::Kind.
constexpr const char* kKindNames[] = {"rapid", "feed", "arc", "tool change", "hole"};

// Reads the tool path of an NCI program one event at a time, in little memory.
class ToolPathReader {
  public:
    // `nci` and `rules` must outlive the reader.
    ToolPathReader(std::string_view nci, const PathRules& rules)
        : lines_(nci), reader_(lines_), path_(rules) {}

    // The next event, left to be taken; null at the end.
    const PathEvent* peek() {
        while (path_.events.empty() || path_.holding()) {
            if (!reader_.next(record_)) break;
            path_.take(record_);
        }
        return path_.events.empty() ? nullptr : &path_.events.front();
    }

    bool next(PathEvent& event) {
        const PathEvent* e = peek();
        if (e == nullptr) return false;
        event = *e;
        path_.events.pop_front();
        return true;
    }

  private:
    post::LineReader lines_;
    post::NciRecordReader reader_;
    PathBuilder path_;
    NciRecord record_;
};

std::string describe(const PathEvent& e) {
    std::ostringstream text;
    text << kKindNames[static_cast<int>(e.kind)] << " at NCI line " << e.line << " to " << e.end.x
         << ' ' << e.end.y << ' ' << e.end.z;
    if (e.kind == PathEvent::Kind::Feed || e.kind == PathEvent::Kind::Arc) text << " F" << e.feed;
    if (e.kind == PathEvent::Kind::Arc)
        text << " plane " << e.plane << (e.clockwise ? " cw" : " ccw") << " centre " << e.centreH
             << ' ' << e.centreV << (e.fullCircle ? " full" : "");
    if (e.kind == PathEvent::Kind::ToolChange) text << " T" << e.tool << " S" << e.speed;
    if (e.kind == PathEvent::Kind::Hole)
        text << " R" << e.referenceZ << " Z" << e.bottomZ << " F" << e.holeFeed << " Q" << e.peck
             << " dwell " << e.dwell;
    return text.str();
}

bool near(double a, double b, double tolerance) {
    return std::fabs(a - b) <= tolerance;
}

// End points agree on every axis that a block gave on both sides.
bool endsAgree(const PathEvent& a, const PathEvent& b, double tolerance) {
    for (std::size_t axis = 0; axis < 3; ++axis)
        if (a.placed[axis] && b.placed[axis] && !near(a.end[axis], b.end[axis], tolerance))
            return false;
    return true;
}

// A feed of 0 is none: the post-processor writes one in force or its default.
bool feedAgrees(double expected, double actual, double tolerance) {
    return expected <= 0.0 || near(expected, actual, tolerance);
}

bool agree(const PathEvent& a, const PathEvent& b, double tol) {
    const bool moves = b.kind == PathEvent::Kind::Rapid || b.kind == PathEvent::Kind::Feed ||
                       b.kind == PathEvent::Kind::Arc;
    if (a.endOnly && moves) return endsAgree(a, b, tol);
    if (a.kind != b.kind) return false;
    switch (a.kind) {
        case PathEvent::Kind::Rapid:
        case PathEvent::Kind::Feed:
            return endsAgree(a, b, tol) && feedAgrees(a.feed, b.feed, tol);
        case PathEvent::Kind::Arc: {
            const double endTol = tol + a.endSlack;
            const bool ends = near(a.end.x, b.end.x, endTol) && near(a.end.y, b.end.y, endTol) &&
                              near(a.end.z, b.end.z, tol) && a.clockwise == b.clockwise &&
                              feedAgrees(a.feed, b.feed, tol);
            // The source settles on its own numbers, the written ones (fewer places) may later.
            if (a.plane < 0 || b.plane < 0) return ends;
            return ends && a.plane == b.plane && near(a.centreH, b.centreH, tol) &&
                   near(a.centreV, b.centreV, tol) && a.fullCircle == b.fullCircle;
        }
        case PathEvent::Kind::ToolChange:
            return a.tool == b.tool && near(a.speed, b.speed, tol);
        case PathEvent::Kind::Hole:
            return a.holeKind == b.holeKind && near(a.end.x, b.end.x, tol) &&
                   near(a.end.y, b.end.y, tol) && near(a.referenceZ, b.referenceZ, tol) &&
                   near(a.bottomZ, b.bottomZ, tol) && feedAgrees(a.holeFeed, b.holeFeed, tol) &&
                   near(a.peck, b.peck, tol) && near(a.dwell, b.dwell, tol);
    }
    return false;
}

// The output leaves a Z reference point across first, then down (PostOutput::move): the rapid
// `across`, whose Z still holds the level before the return, and a rapid in Z alone after it
// are the source's one rapid `expected`. Takes the rapid down when they are.
bool splitDescent(const PathEvent& expected, const PathEvent& across, ToolPathReader& actual,
                  double tolerance) {
    if (expected.kind != PathEvent::Kind::Rapid || across.kind != PathEvent::Kind::Rapid ||
        across.zOnlyRapid)
        return false;
    const PathEvent* down = actual.peek();
    if (down == nullptr || down->kind != PathEvent::Kind::Rapid || !down->zOnlyRapid ||
        !agree(expected, *down, tolerance))
        return false;
    PathEvent taken;
    actual.next(taken);
    return true;
}

}  // namespace

std::string comparePaths(std::string_view expectedNci, std::string_view actualNci,
                         const PathRules& rules, double tolerance) {
    ToolPathReader expected(expectedNci, rules);
    ToolPathReader actual(actualNci, rules);
    PathEvent a;
    PathEvent b;
    for (std::size_t i = 0;; ++i) {
        const bool moreExpected = expected.next(a);
        const bool moreActual = actual.next(b);
        if (!moreExpected && !moreActual) return {};
        if (moreExpected != moreActual) {
            return "event " + std::to_string(i) + ": the " +
                   (moreExpected ? "written program ends, expected " + describe(a)
                                 : "program had ended, got " + describe(b));
        }
        const bool agrees = agree(a, b, tolerance);
        // A rapid that leaves Z unplaced agrees on X Y alone: a descent may still follow.
        const bool zLeft = a.placed[2] && !b.placed[2];
        if ((!agrees || zLeft) && splitDescent(a, b, actual, tolerance)) continue;
        if (!agrees)
            return "event " + std::to_string(i) + ": expected " + describe(a) + ", got " +
                   describe(b);
    }
}

std::string unsafeMove(std::string_view nci) {
    post::LineReader lines(nci);
    post::NciRecordReader reader(lines);
    NciRecord r;
    post::Point at;
    bool known = true;  // `at` is where the tool is: no cycle or return has moved it since
    bool afterHole = false;
    double feed = -1.0;
    while (reader.next(r)) {
        if (r.problem != post::RecordProblem::None || r.kind == nullptr) continue;
        const RecordRole role = r.kind->role;
        // The rapid a reading parser adds after a hole is its own idea of the return level (the
        // exact semantics' Z0 - R, not the control's), not a block the output wrote.
        const bool retractOfHole = afterHole && role == RecordRole::Rapid;
        afterHole = role == RecordRole::CycleCall || role == RecordRole::CycleCallRepeat;
        if (retractOfHole) continue;
        if (role == RecordRole::ArcClockwise || role == RecordRole::ArcCounter) {
            if (r.field(post::kArcFeed) >= 0.0) feed = r.field(post::kArcFeed);
            if (const auto plane = post::arcPlane(r)) at = post::arcEnd(r, *plane);
            continue;
        }
        if (role != RecordRole::Rapid && role != RecordRole::Linear) {
            // Cycles, returns, blanks and label calls put the tool where the NCI does not say.
            known = known && role != RecordRole::CycleCall &&
                    role != RecordRole::CycleCallRepeat && role != RecordRole::ReferenceReturn &&
                    role != RecordRole::StockBlank && role != RecordRole::SubprogramCall &&
                    role != RecordRole::SubprogramLabel && role != RecordRole::SubprogramReturn;
            continue;
        }
        const post::Point to = post::moveEnd(r);
        const std::string where = "NCI line " + std::to_string(r.line);
        if (role == RecordRole::Linear) {
            if (r.field(post::kMoveFeed) >= 0.0) feed = r.field(post::kMoveFeed);
            if (!(feed > 0.0)) return where + ": a feed move without a feed in force";
        } else if (known && to.z < at.z - 1e-9 && (!same(to.x, at.x) || !same(to.y, at.y))) {
            return where + ": a rapid move down in Z while it moves in X or Y";
        }
        at = to;
        known = true;
    }
    return {};
}

}  // namespace morvane::test
