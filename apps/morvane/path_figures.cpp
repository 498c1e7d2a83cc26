#include "path_figures.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "arc_geometry.h"

namespace morvane::cli {

namespace {

double distance(const PathPoint& a, const PathPoint& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// The arc's box: its ends and the points where it turns back in an axis of its plane (every
// quarter turn of the angle).
Box arcBox(const ArcGeometry& arc) {
    Box box;
    box.add(arc.at(0));
    box.add(arc.at(1));
    const double quarter = std::numbers::pi / 2, sweep = arc.sweep();
    if (sweep == 0) return box;
    const double first = std::ceil(std::min(arc.startAngle(), arc.startAngle() + sweep) / quarter);
    const double last = std::floor(std::max(arc.startAngle(), arc.startAngle() + sweep) / quarter);
    for (double k = first; k <= last && k - first < 9; ++k)
        box.add(arc.at((k * quarter - arc.startAngle()) / sweep));
    return box;
}

}  // namespace

void Box::add(const PathPoint& p) {
    low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
    high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
}

void Box::add(const Box& other) {
    if (other.empty()) return;
    add(other.low);
    add(other.high);
}

void FigureCounter::addTime(double seconds) {
    if (tool_ == SIZE_MAX) {
        figures_.tools.push_back({0, 0.0});
        tool_ = figures_.tools.size() - 1;
    }
    figures_.tools[tool_].seconds += seconds;
}

void FigureCounter::take(const PathEvent& event) {
    switch (event.kind) {
        case PathEvent::Kind::ToolChange: {
            ++figures_.toolChanges;
            auto& tools = figures_.tools;
            const auto known = std::find_if(tools.begin(), tools.end(), [&](const ToolTime& t) {
                return t.tool == event.tool;
            });
            tool_ = static_cast<std::size_t>(known - tools.begin());
            if (known == tools.end()) tools.push_back({event.tool, 0.0});
            return;
        }
        case PathEvent::Kind::Cycle:
            ++figures_.cycles;
            return;
        case PathEvent::Kind::Dwell:
            ++figures_.dwells;
            figures_.dwellSeconds += event.seconds;
            addTime(event.seconds);
            return;
        case PathEvent::Kind::Spindle:
        case PathEvent::Kind::Return:
            return;
        case PathEvent::Kind::Rapid:
        case PathEvent::Kind::Feed:
        case PathEvent::Kind::Arc:
            takeMove(event);
            return;
    }
}

void FigureCounter::takeMove(const PathEvent& event) {
    const bool rapid = event.kind == PathEvent::Kind::Rapid;
    const bool counted = moved_;
    moved_ = true;
    Box box;
    double length = 0.0;
    if (event.kind == PathEvent::Kind::Arc && counted) {
        const ArcGeometry arc(event);
        length = arc.length();
        box = arcBox(arc);
    } else {
        if (counted) box.add(event.from);
        box.add(event.to);
        if (counted) length = distance(event.from, event.to);
    }
    figures_.allBox.add(box);
    if (rapid) {
        ++figures_.rapids;
        figures_.rapidLength += length;
        const double seconds = rapidRate_ > 0 ? length / rapidRate_ * 60 : 0.0;
        figures_.rapidSeconds += seconds;
        addTime(seconds);
        return;
    }
    ++(event.kind == PathEvent::Kind::Arc ? figures_.arcs : figures_.feeds);
    figures_.feedBox.add(box);
    figures_.feedLength += length;
    if (!(event.feed > 0)) {
        figures_.movesWithoutFeed += length > 0;
        return;
    }
    const double seconds = length / event.feed * 60;
    figures_.feedSeconds += seconds;
    addTime(seconds);
}

}  // namespace morvane::cli
