// The tool path an NCI program describes, read for comparing two programs: the moves with their
// end points and the feed in force, the arcs with plane, direction and centre, the tool changes
// and the drilled holes. Round-trip tests compare the path of a program with the path of the
// same program after it went through a post-processor and back through a parser.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "native_cycle.h"
#include "post_output.h"

namespace morvane::test {

struct PathEvent {
    enum class Kind { Rapid, Feed, Arc, ToolChange, Hole };
    Kind kind = Kind::Rapid;
    std::uint64_t line = 0;  // NCI line of the record
    post::Point end;         // moves and arcs: end point; holes: X Y of the hole
    double feed = -1.0;      // feed moves and arcs: the feed in force (-1 none yet)
    int plane = 0;           // arcs
    bool clockwise = false;
    double centreH = 0.0;
    double centreV = 0.0;
    bool fullCircle = false;
    std::int32_t tool = 0;  // tool changes
    double speed = 0.0;
    post::HoleKind holeKind = post::HoleKind::Drill;  // holes
    double referenceZ = 0.0;
    double bottomZ = 0.0;
    double holeFeed = 0.0;
    double peck = 0.0;        // 0 for a single plunge (also when the peck reaches the bottom)
    double dwell = 0.0;       // seconds
    bool zOnlyRapid = false;  // a rapid move in Z alone
    bool endOnly = false;     // only the end point can be compared (see PathRules)
    // Straight moves: the axes a block gave (post::Placement); the others hold the writers'
    // starting 0 or a reference return's point, and are not compared.
    std::array<bool, 3> placed{true, true, true};
    double endSlack = 0.0;  // how much further the end point may lie (see PathRules)
};

// What a route cannot carry, left out of the path on both sides.
struct PathRules {
    bool toolChanges = true;          // false where the reading parser drops M6
    bool arcCentresOutsideXY = true;  // false where the reading parser takes every arc as XY
    bool peckDwell = true;            // false where a pecking cycle has no dwell word (G83)
    // Heidenhain cycles become G98 cycles that begin at the second set-up clearance: a rapid
    // move in Z alone just before a hole is left out.
    bool raisesBeforeHoles = false;
    // Our Heidenhain reader ends a block at RL or RR: the feed (and FMAX) of a block that
    // switches compensation on is not read back; such moves keep only their end points.
    bool compensationBlockFeeds = true;
    // Our Fanuc reader settles whether I J K are relative on its first planar arc whose
    // radii agree within 0.001; before it the output writes arcs with R (a full helical turn
    // with I J K, which that reader cannot place), and they keep their end points and
    // directions only.
    bool arcsBeforeSettling = true;
    // A Heidenhain helix (CP) turns by an angle of at most four decimal places: its end point
    // may lie off by up to its radius times half of 0.0001 degree (0.002 at a radius of 2 m).
    double helixAngleStep = 0.0;
};

// The tool path of an NCI program is read one event at a time. Records that describe no motion
// (comments, program end, transformations, subprogram records, dwells) are not part of it;
// neither is the move the ISO writer adds to a reference return, nor the move of a block that
// calls a native cycle. On straight moves only the axes that a block gave (post::Placement) are
// compared: the others hold the writers' starting 0 or a reference return's point, which an
// output leaves alone on rapid moves. An arc without radius, or whose end lies off its circle,
// is the straight feed move the post-processor writes for it. The feed of an ISO writer's
// native cycle stays in force after it, as on a Fanuc control. A rapid move to where the NCI
// already stands is no part of the path; a rapid that keeps Z unplaced followed by a rapid in Z
// alone is the one rapid of the other program to the same end (an output leaves a Z reference
// point across first, then down).
//
// Empty when both programs describe the same path within `tolerance` (positions, centres,
// feeds, levels); otherwise a description of the first difference. Where the expected program
// has no feed yet (or feed 0), any feed the output gives agrees. Both programs are
// read side by side, so programs of any length compare in little memory.
std::string comparePaths(std::string_view expectedNci, std::string_view actualNci,
                         const PathRules& rules, double tolerance);

// The first straight move of an NCI program that no control should make: a feed move with no
// feed in force, a rapid move that goes down in Z while it moves in X or Y. Empty when none.
std::string unsafeMove(std::string_view nci);

}  // namespace morvane::test
