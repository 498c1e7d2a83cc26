#include "cycles/lead_circle.h"

namespace morvane {
namespace {

struct LeadShape {
    double sideX;    // the lead arcs lie at ax - e (-1, inside) or ax + e (+1, outside)
    double entryY;   // the lead-in starts e below (-1) or above (+1) the centre line
    double arcSide;  // +1 counter-clockwise lead arcs, -1 clockwise
    Turn circleDir;
};

// By LeadStyle. The circle's direction continues the lead arcs' tangent at (ax, centre.y).
constexpr LeadShape kLeadShapes[] = {
    {-1.0, -1.0, 1.0, Turn::CounterClockwise},  // Inside
    {1.0, 1.0, 1.0, Turn::Clockwise},           // Stud
    {1.0, -1.0, -1.0, Turn::CounterClockwise},  // OutsideThread
    {-1.0, 1.0, -1.0, Turn::Clockwise},         // InsideClockwise
};

}  // namespace

void circleWithLeads(NCISimpleDrilling& cycle, NciStream& out, Point2 centre, double ax, double e,
                     LeadStyle style) {
    const LeadShape& k = kLeadShapes[static_cast<std::size_t>(style)];
    const double leadX = ax + k.sideX * e;
    cycle.FeedXY(out, leadX, centre.y + k.entryY * e);
    cycle.ArcRadius(out, ax, centre.y, e, k.arcSide);
    cycle.FullCircle(out, centre.x, centre.y, k.circleDir);
    cycle.ArcRadius(out, leadX, centre.y - k.entryY * e, e, k.arcSide);
}

}  // namespace morvane
