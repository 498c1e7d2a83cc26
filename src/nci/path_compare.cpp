#include "nci/path_compare.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

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

// What a move is compared as: an arc whose end lies off its circle is the straight feed move
// every output writes for it (an arc no control cuts, reported by the post-processor).
PathMove::Kind comparedKind(const PathMove& m, double tolerance) {
    if (m.kind != PathMove::Arc) return m.kind;
    const bool offCircle = std::fabs(planeRadius(m.from, m) - planeRadius(m.to, m)) > tolerance;
    return offCircle ? PathMove::Feed : PathMove::Arc;
}

struct Kept {
    const PathMove* move;
    PathMove::Kind kind;
    PathPoint end;                  // straight moves merged on end further
    bool afterPositioning = false;  // its start is where a positioning ended
};

bool goesOn(const Kept& last, const PathMove& m, PathMove::Kind kind) {
    if (last.kind == PathMove::Arc || kind != last.kind || m.feed != last.move->feed) return false;
    const PathPoint a = last.move->from, b = last.end, c = m.to;
    const PathPoint ab{b.x - a.x, b.y - a.y, b.z - a.z}, bc{c.x - b.x, c.y - b.y, c.z - b.z};
    const PathPoint cross{ab.y * bc.z - ab.z * bc.y, ab.z * bc.x - ab.x * bc.z,
                          ab.x * bc.y - ab.y * bc.x};
    const double lengths = distance(a, b) * distance(b, c);
    const double dot = ab.x * bc.x + ab.y * bc.y + ab.z * bc.z;
    return dot > 0 && distance({}, cross) <= 1e-9 * lengths + 1e-12;
}

// The moves that go somewhere, straight moves in one direction merged into one.
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
        if (!positioned && !kept.empty() && goesOn(kept.back(), m, kind)) {
            kept.back().end = m.to;
            continue;
        }
        kept.push_back({&m, kind, m.to, positioned});
        positioned = false;
    }
    return kept;
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
    // Where the first program has no feed yet, the output writes one (with a warning).
    const double feedA = a.move->feed, feedB = b.move->feed;
    if (a.kind != PathMove::Rapid && feedA > 0.0 && !(std::fabs(feedA - feedB) <= tolerance))
        return "the feeds differ (" + feedText(feedA) + " against " + feedText(feedB) + ")";
    return {};
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
        const char* fault = !rapid && !(event.feed > 0.0) ? "a feed move without a feed in force"
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

PathComparison comparePaths(const MovePath& first, const MovePath& second, double tolerance) {
    PathComparison result;
    const std::vector<Kept> a = significant(first, tolerance);
    const std::vector<Kept> b = significant(second, tolerance);
    const auto add = [&](PathDifference d) {
        if (result.differences.size() < PathComparison::kMaxListed)
            result.differences.push_back(std::move(d));
        ++result.count;
    };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        PathDifference d;
        d.move = i + 1;
        d.firstLine = a[i].move->line, d.secondLine = b[i].move->line;
        d.first = a[i].end, d.second = b[i].end;
        d.distance = distance(d.first, d.second);
        const double starts = distance(a[i].move->from, b[i].move->from);
        if (a[i].kind != b[i].kind)
            d.what = std::string(kindName(a[i].kind)) + " is " + kindName(b[i].kind);
        else if ((a[i].afterPositioning || b[i].afterPositioning) && starts > tolerance)
            d.what = "the positionings before it end " + millimetres(starts) + " apart";
        else if (d.distance > tolerance)
            d.what = "the ends lie " + millimetres(d.distance) + " apart";
        else
            d.what = differenceOf(a[i], b[i], tolerance);
        if (!d.what.empty()) add(std::move(d));
    }
    if (a.size() != b.size()) {
        PathDifference d;
        d.move = common + 1;
        const bool firstLonger = a.size() > b.size();
        const Kept& extra = firstLonger ? a[common] : b[common];
        (firstLonger ? d.firstLine : d.secondLine) = extra.move->line;
        d.first = d.second = extra.end;
        d.what = "the " + std::string(firstLonger ? "first" : "second") + " path goes on for " +
                 std::to_string((firstLonger ? a.size() : b.size()) - common) + " more moves";
        add(std::move(d));
    }
    return result;
}

std::string millimetres(double value) {
    char text[40];
    if (!(std::fabs(value) < 1e15)) {  // far beyond any machine: the general form
        std::snprintf(text, sizeof text, "%g", value);
        return text;
    }
    std::snprintf(text, sizeof text, "%.3f", std::fabs(value) < 0.0005 ? 0.0 : value);
    std::string s = text;
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

}  // namespace morvane
