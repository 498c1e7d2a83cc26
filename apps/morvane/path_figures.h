// The figures `morvane check` gives of a tool path: moves by kind, path lengths, an estimated
// machining time, bounding boxes, the lowest Z and the tools with their time.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "morvane/convert.hpp"

namespace morvane::cli {

struct Box {
    PathPoint low{std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(),
                  std::numeric_limits<double>::infinity()};
    PathPoint high{-low.x, -low.y, -low.z};

    bool empty() const { return low.x > high.x; }
    void add(const PathPoint& p);
    void add(const Box& other);
};

struct ToolTime {
    std::int32_t tool = 0;  // 0: before the first tool change
    double seconds = 0.0;
};

struct PathFigures {
    std::uint64_t rapids = 0, feeds = 0, arcs = 0;
    std::uint64_t toolChanges = 0, cycles = 0, dwells = 0;
    std::uint64_t movesWithoutFeed = 0;  // feed moves before any feed: not in the time
    double rapidLength = 0.0, feedLength = 0.0;  // mm; arcs count as feed
    double rapidSeconds = 0.0, feedSeconds = 0.0, dwellSeconds = 0.0;
    Box feedBox, allBox;
    std::vector<ToolTime> tools;  // in the order first used

    double totalSeconds() const { return rapidSeconds + feedSeconds + dwellSeconds; }
};

// Adds up the events of one path. Where the tool stands before the first move is not known (the
// NCI starts at 0 0 0 by convention): the first move's length and time are not counted, and
// only its end is in the boxes.
class FigureCounter {
  public:
    explicit FigureCounter(double rapidMmPerMinute) : rapidRate_(rapidMmPerMinute) {}

    void take(const PathEvent& event);
    const PathFigures& figures() const { return figures_; }

  private:
    void addTime(double seconds);
    // A rapid, feed or arc move: its length, box and time.
    void takeMove(const PathEvent& event);

    double rapidRate_;
    PathFigures figures_;
    bool moved_ = false;
    std::size_t tool_ = SIZE_MAX;  // index in figures_.tools
};

}  // namespace morvane::cli
