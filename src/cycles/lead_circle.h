// A full circle entered and left on quarter-circle arcs that meet it tangentially: the finishing
// pass of the round pockets and studs and the countersinks of the thread cycles. Entering on an
// arc instead of straight in leaves no dwell mark on the wall.
#pragma once

#include <cstdint>

#include "cycles/nci_drilling.h"

namespace morvane {

// Which way the tool comes in, turns round and goes out.
enum class LeadStyle : std::uint8_t {
    Inside,         // from inside the circle, from below; arcs and circle counter-clockwise
    Stud,           // from outside, from above; arcs counter-clockwise, circle clockwise
    OutsideThread,  // from outside, from below; arcs clockwise, circle counter-clockwise
    InsideClockwise,  // Inside mirrored: from inside, from above; arcs and circle clockwise
};

// From the current point: a feed to the start of the lead-in arc, the lead-in arc of radius `e`
// to (ax, centre.y), the full circle round `centre`, and the lead-out arc of radius `e`, which
// ends mirrored to the lead-in start about the centre's horizontal. The tool ends there.
void circleWithLeads(NCISimpleDrilling& cycle, NciStream& out, Point2 centre, double ax, double e,
                     LeadStyle style);

}  // namespace morvane
