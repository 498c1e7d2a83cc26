// Two tool paths compared move by move: a program and its conversion read back (`morvane show`
// with two programs, the round-trip test). One comparison serves both.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "morvane/convert.hpp"

namespace morvane {

struct PathMove {
    enum Kind : std::uint8_t { Rapid, Feed, Arc };
    PathPoint from, to;
    PathPoint centre;    // arcs
    double feed = -1.0;  // feed moves and arcs: the feed in force, -1 none
    std::uint32_t line = 0;
    Kind kind = Rapid;
    std::uint8_t plane = 0;
    bool clockwise = false;
    bool fullCircle = false;
    // A rapid from where the NCI does not know the tool to be (the program's start, a reference
    // return) up to the first feed move or arc: each output positions its own way from there.
    bool positioning = false;

    PathEvent arcEvent() const;
};

// The moves of a path in the order taken, in blocks that are never moved or copied: a path of
// millions of moves grows without copying what it holds.
class MoveList {
  public:
    static constexpr std::size_t kBlock = 1024;

    class Iterator {
      public:
        Iterator(const MoveList* list, std::size_t at) : list_(list), at_(at) {}
        const PathMove& operator*() const {
            return list_->blocks_[at_ / kBlock].get()[at_ % kBlock];
        }
        Iterator& operator++() { return ++at_, *this; }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

      private:
        const MoveList* list_;
        std::size_t at_;
    };

    void push_back(const PathMove& m);
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size_}; }

  private:
    struct Release {
        void operator()(PathMove* block) const {
            std::allocator<PathMove>().deallocate(block, kBlock);
        }
    };
    // Each block's moves up to size() are constructed (PathMove is trivially destructible).
    std::vector<std::unique_ptr<PathMove, Release>> blocks_;
    std::size_t size_ = 0;
};

// The moves of a path, the first one (from where the tool stood, which is not known) left out.
// While it takes the events, it also notes the first move no control should make.
class MovePath {
  public:
    void take(const PathEvent& event);
    const MoveList& moves() const { return moves_; }
    // The first feed move or arc that moves with no feed in force, or rapid move that goes down
    // in Z while it moves in X or Y ("" when none): "line 12: a feed move without a feed in
    // force".
    const std::string& firstUnsafeMove() const { return unsafe_; }

  private:
    MoveList moves_;
    std::string unsafe_;
    bool started_ = false;
    bool unknownPlace_ = true;
};

struct PathDifference {
    std::size_t move =
        0;  // 1-based move of the paths (the first, from an unknown place, not counted)
    std::uint32_t firstLine = 0, secondLine = 0;  // program lines; 0 when not known
    PathPoint first, second;                      // where each path's move ends
    double distance = 0.0;
    std::string what;
};

struct PathComparison {
    std::vector<PathDifference> differences;  // the first kMaxListed
    std::uint64_t count = 0;                  // all of them
    static constexpr std::size_t kMaxListed = 50;
};

// The two paths are walked move by move. Moves that go nowhere (shorter than the tolerance)
// are left out on both sides; a straight move one path writes in steps along the other's, and a
// move just over the tolerance long that the other path does not make, are no difference.
// Positioning rapids (PathMove::positioning) are compared by where they end: where the next
// move starts. Moves differ in kind, in where they end, in an arc's centre or direction, or in
// the feed where the first path has one. The rapid of a peck cycle back into the hole before
// the next peck may stop at another height above the last depth (a control's setting). An arc
// whose end lies off its circle, or of no radius, is the straight feed move every output writes
// for it (with a warning).
PathComparison comparePaths(const MovePath& first, const MovePath& second, double tolerance);

// A length or a coordinate as the commands print it: 3 decimals, no trailing zeros.
std::string millimetres(double value);

}  // namespace morvane
