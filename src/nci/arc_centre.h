// The centre of an arc given by its end points and radius: the one routine of the writer (a
// radius word) and of the longhand cycles.
#pragma once

namespace morvane {

struct Point2 {
    double x = 0.0, y = 0.0;
};

// Centre of the circle of radius |r| through `from` and `to`. Of the two such circles, the one
// on `side` (+1 or -1) is taken, the choice turning over with the sign of r: a counter-clockwise
// arc of positive radius takes the centre left of the chord. A radius too short for the chord
// gives the centre on the chord's midpoint line; a non-number among the values gives one.
Point2 arcCentre(Point2 from, Point2 to, double r, double side);

// The same centre computed as the geometry has it (the corrected semantics): from the chord's
// midpoint along its normal; `side` and the sign of r choose as above. A chord of length 0 puts
// the centre |r| above `from`.
Point2 arcCentreOnNormal(Point2 from, Point2 to, double r, double side);

}  // namespace morvane
