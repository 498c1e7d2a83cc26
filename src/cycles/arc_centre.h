// The centre of an arc given by its end points and radius, as the longhand cycles write arcs.
#pragma once

namespace morvane {

struct Point2 {
    double x = 0.0, y = 0.0;
};

// Centre of the circle of radius |r| through `from` and `to`. Of the two such circles, the one
// on `side` (+1 or -1) is taken, the choice turning over with the sign of r: a counter-clockwise
// arc of positive radius takes the centre left of the chord. A radius too short for the chord
// gives the centre on the chord's midpoint line (never a non-number from the square roots).
Point2 arcCentre(Point2 from, Point2 to, double r, double side);

}  // namespace morvane
