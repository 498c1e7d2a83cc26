#include "nci/path_compare.h"

#include <algorithm>
#include <cmath>

#include "text/real_format.h"

namespace morvane {

namespace {

double distance(const PathPoint& a, const PathPoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// The two coordinates of an arc's plane.
void inPlane(const PathPoint& p, int plane, double& h, double& v) {
    h = plane == 1 ? p.y : p.x;
    v = plane == 0 ? p.y : p.z;
}

double planeRadius(const PathPoint& p, const PathMove& arc) {
    double h, v, ch, cv;
    inPlane(p, arc.plane, h, v);
    inPlane(arc.centre, arc.plane, ch, cv);
    return std::hypot(h - ch, v - cv);
}

// What a move is compared as: an arc whose end lies off its circle, or of no radius, is the
// straight feed move every output writes for it (an arc no control cuts, reported by the
// post-processor).
PathMove::Kind comparedKind(const PathMove& m, double tolerance) {
    if (m.kind != PathMove::Arc) return m.kind;
    const bool offCircle = std::fabs(planeRadius(m.from, m) - planeRadius(m.to, m)) > tolerance;
    const bool noRadius = planeRadius(m.from, m) <= tolerance;  // within it of a straight move
    return offCircle || noRadius ? PathMove::Feed : PathMove::Arc;
}

struct Kept {
    const PathMove* move;
    PathMove::Kind kind;
    bool afterPositioning;  // its start is where a positioning ended
};

// The moves that go somewhere.
std::vector<Kept> significant(const MovePath& path, double tolerance) {
    std::vector<Kept> kept;
    bool positioned = false;
    for (const PathMove& m : path.moves()) {
        if (m.positioning) {
            positioned = true;
            continue;
        }
        const PathMove::Kind kind = comparedKind(m, tolerance);
        const bool turns =
            kind == PathMove::Arc && m.fullCircle && planeRadius(m.from, m) > tolerance;
        if (!turns && distance(m.from, m.to) <= tolerance) continue;
        kept.push_back({&m, kind, positioned});
        positioned = false;
    }
    return kept;
}

// Where the first program has no feed yet, the output writes one (with a warning).
bool feedsAgree(const PathMove& a, const PathMove& b, double tolerance) {
    return a.kind == PathMove::Rapid || !(a.feed > 0.0) || std::fabs(a.feed - b.feed) <= tolerance;
}

// `p` lies on the straight move `m` within `tolerance`, short of its end.
bool onTheWay(const PathPoint& p, const PathMove& m, double tolerance) {
    const PathPoint d{m.to.x - m.from.x, m.to.y - m.from.y, m.to.z - m.from.z};
    const double length2 = d.x * d.x + d.y * d.y + d.z * d.z;
    const double t =
        ((p.x - m.from.x) * d.x + (p.y - m.from.y) * d.y + (p.z - m.from.z) * d.z) / length2;
    if (!(t > 0.0 && t < 1.0)) return false;
    return distance(p, {m.from.x + t * d.x, m.from.y + t * d.y, m.from.z + t * d.z}) <= tolerance;
}

const char* kindName(PathMove::Kind kind) {
    return kind == PathMove::Rapid ? "a rapid" : kind == PathMove::Feed ? "a feed move" : "an arc";
}

std::string feedText(double feed) {
    return feed < 0.0 ? "no feed" : "F" + millimetres(feed);
}

// Why two moves that end together differ; empty when they do not.
std::string differenceOf(const Kept& a, const Kept& b, double tolerance) {
    if (a.kind == PathMove::Arc) {
        const double centres = distance(a.move->centre, b.move->centre);
        if (centres > tolerance) return "the arc centres lie " + millimetres(centres) + " apart";
        if (a.move->clockwise != b.move->clockwise) return "the arcs turn in opposite directions";
    }
    if (!feedsAgree(*a.move, *b.move, tolerance))
        return "the feeds differ (" + feedText(a.move->feed) + " against " +
               feedText(b.move->feed) + ")";
    return {};
}

// Path k is the rapid of a peck cycle back down into the hole: the peck fed straight down, the
// tool rapided straight up out of it and now rapids straight down again, to stop short of the
// depth that peck reached, and a feed goes on down from there. Where this rapid stops is the
// control's re-approach distance: the set-up clearance Q200 on a Heidenhain control, a machine
// parameter for Fanuc's G83. Both stop in the hole already drilled, so the path cut is the same.
bool reapproachesHole(const std::vector<Kept>& path, std::size_t k, double tolerance) {
    if (k < 2 || k + 1 >= path.size()) return false;
    const auto straightDown = [&](std::size_t n, PathMove::Kind kind, int sign) {
        const PathMove& m = *path[n].move;
        return path[n].kind == kind &&
               std::hypot(m.to.x - m.from.x, m.to.y - m.from.y) <= tolerance &&
               sign * (m.from.z - m.to.z) > tolerance;
    };
    return straightDown(k - 2, PathMove::Feed, 1) && straightDown(k - 1, PathMove::Rapid, -1) &&
           straightDown(k, PathMove::Rapid, 1) && straightDown(k + 1, PathMove::Feed, 1) &&
           path[k].move->to.z >= path[k - 2].move->to.z - tolerance;
}

}  // namespace

PathEvent PathMove::arcEvent() const {
    PathEvent event;
    event.kind = PathEvent::Kind::Arc;
    event.from = from;
    event.to = to;
    event.centre = centre;
    event.plane = plane;
    event.clockwise = clockwise;
    event.fullCircle = fullCircle;
    return event;
}

void MovePath::take(const PathEvent& event) {
    const bool rapid = event.kind == PathEvent::Kind::Rapid;
    if (event.kind == PathEvent::Kind::Return) unknownPlace_ = true;
    if (!rapid && event.kind != PathEvent::Kind::Feed && event.kind != PathEvent::Kind::Arc) return;
    const bool positioning = rapid && unknownPlace_;
    unknownPlace_ = positioning;
    if (unsafe_.empty()) {
        const bool sideways = event.from.x != event.to.x || event.from.y != event.to.y;
        // A feed move that goes nowhere (an expanded cycle's step of no length) cuts nothing.
        const bool goes = sideways || event.from.z != event.to.z || event.fullCircle;
        const char* fault = !rapid && goes && !(event.feed > 0.0)
                                ? "a feed move without a feed in force"
                            : rapid && started_ && event.to.z < event.from.z - 1e-9 && sideways
                                ? "a rapid move down in Z while it moves in X or Y"
                                : nullptr;
        if (fault != nullptr) unsafe_ = "line " + std::to_string(event.line) + ": " + fault;
    }
    if (!started_) {
        started_ = true;
        return;
    }
    PathMove m;
    m.from = event.from;
    m.to = event.to;
    m.centre = event.centre;
    m.feed = rapid ? -1.0 : event.feed;
    m.line = event.line;
    m.kind = rapid                                 ? PathMove::Rapid
             : event.kind == PathEvent::Kind::Feed ? PathMove::Feed
                                                   : PathMove::Arc;
    m.plane = static_cast<std::uint8_t>(event.plane);
    m.clockwise = event.clockwise;
    m.fullCircle = event.fullCircle;
    m.positioning = positioning;
    moves_.push_back(m);
}

namespace {

// How move number `move`, `x` of the first path and `y` of the second, differ; no `what` when
// they agree.
PathDifference compareMoves(const Kept& x, const Kept& y, std::size_t move, double tolerance) {
    const PathMove& p = *x.move;
    const PathMove& q = *y.move;
    PathDifference d;
    d.move = move;
    d.firstLine = p.line, d.secondLine = q.line;
    d.first = p.to, d.second = q.to;
    d.distance = distance(d.first, d.second);
    const double starts = distance(p.from, q.from);
    if (x.kind != y.kind)
        d.what = std::string(kindName(x.kind)) + " is " + kindName(y.kind);
    else if ((x.afterPositioning || y.afterPositioning) && starts > tolerance)
        d.what = "the positionings before it end " + millimetres(starts) + " apart";
    else if (d.distance > tolerance)
        d.what = "the ends lie " + millimetres(d.distance) + " apart";
    else
        d.what = differenceOf(x, y, tolerance);
    return d;
}

}  // namespace

PathComparison comparePaths(const MovePath& first, const MovePath& second, double tolerance) {
    PathComparison result;
    const std::vector<Kept> a = significant(first, tolerance);
    const std::vector<Kept> b = significant(second, tolerance);
    const auto add = [&](PathDifference d) {
        if (result.differences.size() < PathComparison::kMaxListed)
            result.differences.push_back(std::move(d));
        ++result.count;
    };
    std::size_t i = 0, j = 0;
    for (; i < a.size() && j < b.size(); ++i, ++j) {
        const PathMove& p = *a[i].move;
        const PathMove& q = *b[j].move;
        if (distance(p.from, q.from) <= tolerance && reapproachesHole(a, i, tolerance) &&
            reapproachesHole(b, j, tolerance))
            continue;
        // One path may write a straight move in several steps along the other's.
        const bool straight = a[i].kind == b[j].kind && a[i].kind != PathMove::Arc;
        if (straight && distance(p.to, q.to) > tolerance && feedsAgree(p, q, tolerance)) {
            // The step ends on the way: the other path's move is taken again with the next one.
            if (onTheWay(q.to, p, tolerance) && j + 1 < b.size()) {
                --i;  // unsigned: wraps and comes back with ++i
                continue;
            }
            if (onTheWay(p.to, q, tolerance) && i + 1 < a.size()) {
                --j;
                continue;
            }
        }
        // A move just over the tolerance long, where the other path has none (one path's
        // rounding put it under): it ends where the other path's move starts.
        if (distance(p.to, q.to) > tolerance) {
            if (distance(p.to, q.from) <= tolerance && i + 1 < a.size()) {
                --j;
                continue;
            }
            if (distance(q.to, p.from) <= tolerance && j + 1 < b.size()) {
                --i;
                continue;
            }
        }
        PathDifference d = compareMoves(a[i], b[j], i + 1, tolerance);
        if (!d.what.empty()) add(std::move(d));
    }
    if (i < a.size() || j < b.size()) {
        PathDifference d;
        d.move = i + 1;
        const bool firstLonger = i < a.size();
        const PathMove& extra = firstLonger ? *a[i].move : *b[j].move;
        (firstLonger ? d.firstLine : d.secondLine) = extra.line;
        d.first = d.second = extra.to;
        d.what = "the " + std::string(firstLonger ? "first" : "second") + " path goes on for " +
                 std::to_string(firstLonger ? a.size() - i : b.size() - j) + " more moves";
        add(std::move(d));
    }
    return result;
}

std::string millimetres(double value) {
    std::string text;
    // Far beyond any machine: the general form (%g). Thousandths otherwise, never "-0".
    constexpr RealFormat kThousandths{.digits = 3};
    constexpr RealFormat kGeneral{.notation = RealNotation::Significant, .digits = 6,
                                  .negativeZero = true};
    appendReal(text, value, std::fabs(value) < 1e15 ? kThousandths : kGeneral);
    return text;
}

}  // namespace morvane
