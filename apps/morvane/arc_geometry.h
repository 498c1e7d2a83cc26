// Where an arc of the tool path runs: its points from start to end, its length, for the
// figures of `morvane check` and the drawings of `morvane show`.
#pragma once

#include "morvane/convert.hpp"

namespace morvane::cli {

class ArcGeometry {
  public:
    explicit ArcGeometry(const PathEvent& arc);

    // The point at `t` of the way, 0 the start, 1 the end (radius and the third axis change
    // evenly along the way, for a helix and for an arc whose end lies off its circle).
    PathPoint at(double t) const;
    double length() const;
    double sweep() const { return sweep_; }  // radians, negative clockwise
    double startAngle() const { return startAngle_; }
    double radius() const { return (startRadius_ + endRadius_) / 2; }

  private:
    int plane_;
    double centreH_, centreV_;
    double startAngle_, sweep_;
    double startRadius_, endRadius_;
    double startDepth_, endDepth_;
};

// How many chords of `step` radians an arc of `sweep` radians takes: 1 to `most`.
int chordCount(double sweep, double step, int most);

// The arc's three coordinates in its plane's order (H, V, depth) and back.
void toPlane(int plane, const PathPoint& p, double& h, double& v, double& d);
PathPoint fromPlane(int plane, double h, double v, double d);

}  // namespace morvane::cli
