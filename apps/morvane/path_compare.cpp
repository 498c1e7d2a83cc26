#include "path_compare.h"

#include <cmath>

#include "arc_geometry.h"
#include "check_report.h"

namespace morvane::cli {

namespace {

double distance(const PathPoint& a, const PathPoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// The moves that go somewhere, straight moves in one direction merged into one.
std::vector<const DrawnMove*> significant(const DrawnPath& path, double tolerance,
                                          std::vector<PathPoint>& ends) {
    std::vector<const DrawnMove*> kept;
    for (const DrawnMove& m : path.moves()) {
        const bool goes = m.kind == DrawnMove::Arc || distance(m.from, m.to) > tolerance;
        if (!goes) continue;
        if (!kept.empty() && m.kind != DrawnMove::Arc && kept.back()->kind == m.kind) {
            // The same straight line on: the end moves on, the move stays one.
            const DrawnMove& last = *kept.back();
            const PathPoint a = last.from, b = ends.back(), c = m.to;
            const PathPoint ab{b.x - a.x, b.y - a.y, b.z - a.z}, bc{c.x - b.x, c.y - b.y, c.z - b.z};
            const PathPoint cross{ab.y * bc.z - ab.z * bc.y, ab.z * bc.x - ab.x * bc.z,
                                  ab.x * bc.y - ab.y * bc.x};
            const double lengths = distance(a, b) * distance(b, c);
            const double dot = ab.x * bc.x + ab.y * bc.y + ab.z * bc.z;
            if (dot > 0 && distance({}, cross) <= 1e-9 * lengths + 1e-12) {
                ends.back() = c;
                continue;
            }
        }
        kept.push_back(&m);
        ends.push_back(m.to);
    }
    return kept;
}

const char* kindName(DrawnMove::Kind kind) {
    return kind == DrawnMove::Rapid ? "a rapid" : kind == DrawnMove::Feed ? "a feed move" : "an arc";
}

}  // namespace

Comparison comparePaths(const DrawnPath& first, const DrawnPath& second, double tolerance) {
    Comparison result;
    std::vector<PathPoint> endsA, endsB;
    const auto a = significant(first, tolerance, endsA);
    const auto b = significant(second, tolerance, endsB);
    const auto add = [&](PathDifference d) {
        if (result.differences.size() < Comparison::kMaxListed)
            result.differences.push_back(std::move(d));
        ++result.count;
    };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        PathDifference d;
        d.move = i + 1;
        d.firstLine = a[i]->line, d.secondLine = b[i]->line;
        d.first = endsA[i], d.second = endsB[i];
        d.distance = distance(endsA[i], endsB[i]);
        if (a[i]->kind != b[i]->kind) {
            d.what = std::string(kindName(a[i]->kind)) + " is " + kindName(b[i]->kind);
        } else if (d.distance > tolerance) {
            d.what = "the ends lie " + millimetres(d.distance) + " apart";
        } else if (a[i]->kind == DrawnMove::Arc) {
            const double centres = distance(a[i]->centre, b[i]->centre);
            const bool sameTurn = a[i]->clockwise == b[i]->clockwise;
            if (centres > tolerance)
                d.what = "the arc centres lie " + millimetres(centres) + " apart";
            else if (!sameTurn)
                d.what = "the arcs turn in opposite directions";
            else
                continue;
        } else {
            continue;
        }
        add(std::move(d));
    }
    if (a.size() != b.size()) {
        PathDifference d;
        d.move = common + 1;
        const bool firstLonger = a.size() > b.size();
        const DrawnMove* extra = firstLonger ? a[common] : b[common];
        (firstLonger ? d.firstLine : d.secondLine) = extra->line;
        d.first = d.second = firstLonger ? endsA[common] : endsB[common];
        d.what = "the " + std::string(firstLonger ? "first" : "second") + " path goes on for " +
                 std::to_string((firstLonger ? a.size() : b.size()) - common) +
                 " more moves";
        add(std::move(d));
    }
    return result;
}

}  // namespace morvane::cli
