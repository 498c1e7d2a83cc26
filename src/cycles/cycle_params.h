// The names of the values and flags a cycle writer hands to a cycle class (SetValue, SetFlag),
// one namespace per class, and the modes some of those values select. The writer's tables
// (cycle_writer_table.h) and the classes read the same names.
#pragma once

#include <cstdint>

namespace morvane {

// Every cycle class.
namespace general {
enum Param : std::int8_t {
    kSurface = 1,
    kDepth = 2,  // from the surface down to the bottom, positive downwards
    kSecondClearance = 3,
    kClearance = 4,
    kReturnToStart = 5,  // flag: the final retract goes to the start height
    kStartHeight = 6,
    kFeed = 7,
    kRapidRetract = 8,  // flag: false adds a feed back to the clearance
};
}  // namespace general

// The drilling classes, and every class built on the deep drilling.
namespace drilling {
enum Param : std::int8_t {
    kDwellTime = 9,  // at the bottom; must not be negative
    kInfeed = 10,    // per peck or layer
    kChipBreakDistance = 11,
    kFullRetract = 12,  // flag: full retract between pecks
};
}  // namespace drilling

// Bore milling (208): the infeed indices of the deep drilling, read otherwise.
namespace bore_milling {
enum Param : std::int8_t {
    kBoreDiameter = 10,
    kInfeedPerTurn = 11,
};
}  // namespace bore_milling

// Universal drilling (200, 203) with the corrected semantics.
namespace universal_drilling {
enum Param : std::int8_t {
    kPeckDecrement = 13,   // Q212
    kMinimumPeck = 14,     // Q205
    kChipBreaks = 15,      // Q213: chip breaks before each retract
    kDwellAtTop = 16,      // Q210
    kRetractionFeed = 17,  // Q208; 0: the feed
};
}  // namespace universal_drilling

// Rectangular pocket (251, 253, CYCL DEF 3 and 4).
namespace rect_pocket {
enum Param : std::int8_t {
    kSecondAxisSize = 15,
    kFirstAxisSize = 16,
    kStepOver = 17,
    kCornerRadius = 18,
    kSideAllowance = 19,
    kFloorAllowance = 20,
    kOperation = 21,  // MachiningOperation
    kDirection = 22,  // negative: conventional milling, else climb
    kRotation = 23,   // degrees in, stored as negated radians
    kReference = 24,  // PocketReference
    kFinishingInfeed = 25,
    kPlunging = 27,  // Plunging
};
}  // namespace rect_pocket

// Straight slot (210); it also accepts the pocket's corner radius and reference, unused.
namespace rect_slot {
enum Param : std::int8_t {
    kWidth = 15,
    kLength = 16,
    kStepOver = 17,
    kRotation = 23,  // about the centre
    kCentreX = 25,
    kCentreY = 26,
};
}  // namespace rect_slot

// Rectangular pocket and stud finishing (212, 213).
namespace rect_finishing {
enum Param : std::int8_t {
    kLengthX = 15,
    kLengthY = 16,
    kCornerRadius = 18,
    kCentreY = 23,
    kCentreX = 24,
};
}  // namespace rect_finishing

// Face milling (232).
namespace face_milling {
enum Param : std::int8_t {
    kExtentX = 15,
    kExtentY = 16,
    kStartX = 17,
    kStartY = 18,
    kSideClearance = 23,
    kFloorAllowance = 24,
    kOverlap = 25,   // step-over as a share of the tool diameter
    kStrategy = 26,  // FaceStrategy
};
}  // namespace face_milling

// Multipass milling (230).
namespace multipass {
enum Param : std::int8_t {
    kExtentX = 15,
    kExtentY = 16,
    kStartX = 17,
    kStartY = 18,
    kCuts = 23,
};
}  // namespace multipass

// Ruled surface (231): the corners P1 to P4, X, Y and Z each, from 15 to 26 in turn.
namespace ruled_surface {
enum Param : std::int8_t {
    kFirstCorner = 15,
    kCuts = 27,
};
}  // namespace ruled_surface

// Circular pocket (252, CYCL DEF 5).
namespace circular_pocket {
enum Param : std::int8_t {
    kRadius = 13,
    kStepOver = 14,  // as the overlap factor of the tool radius
    kSideAllowance = 15,
    kFloorAllowance = 16,
    kFinishingInfeed = 17,
    kOperation = 18,  // MachiningOperation
    kDirection = 19,  // negative: conventional milling, else climb
    kPlunging = 20,   // not 0: helical
};
}  // namespace circular_pocket

// Circular pocket and stud finishing (214, 215).
namespace circular_finishing {
enum Param : std::int8_t {
    kRadius = 13,  // finished radius
    kCentreX = 14,
    kCentreY = 15,
    kBlankRadius = 16,
};
}  // namespace circular_finishing

// Circular slot (211, 254).
namespace circular_slot {
enum Param : std::int8_t {
    kPitchRadius = 13,
    kStepOver = 14,
    kSideAllowance = 15,
    kFloorAllowance = 16,
    kOperation = 17,  // MachiningOperation
    kDirection = 18,  // negative: conventional milling, else climb
    kWidth = 19,
    kStartAngle = 20,     // degrees in, stored as radians
    kAngularLength = 21,  // degrees in, stored as radians
    kReference = 22,      // SlotReference
    kPlunging = 23,       // Plunging
    kFinishingInfeed = 24,
    kCentreY = 25,
    kCentreX = 26,
};
}  // namespace circular_slot

// Thread milling: inside (262, 263) and outside (267).
namespace thread_milling {
enum Param : std::int8_t {
    kThreadRadius = 13,
    kCountersinkDepth = 14,  // at the front
    kFrontOffset = 15,
    kSideClearance = 16,  // inside thread: clearance to the side
    kPitch = 17,
    kThreadDepth = 18,  // inside thread
};
}  // namespace thread_milling

// What a pocket or slot machines (its operation value, rounded).
enum class MachiningOperation : std::int32_t {
    RoughAndFinish = 0,
    Rough = 1,
    Finish = 2,
};

// How a pocket or slot goes down to a layer (its plunging value, rounded).
enum class Plunging : std::int32_t {
    Vertical = 0,
    Helical = 1,
    Reciprocating = 2,
};

// Where the rectangular pocket's reference point lies; any other value is the centre.
enum class PocketReference : std::int32_t {
    Centre = 0,
    LowerLeft = 1,
    LowerRight = 2,
    UpperRight = 3,
    UpperLeft = 4,
};

// Where the circular slot's start point is measured from; any other value: the tool stands on it.
enum class SlotReference : std::int32_t {
    PitchCentre = 0,
    EndPoint = 1,
    Middle = 2,
};

// Face milling strategies.
enum class FaceStrategy : std::int32_t {
    MeanderOvershoot = 0,  // zig-zag, each cut running over both edges
    MeanderInside = 1,     // zig-zag, turning inside the surface
    OneDirection = 2,      // every cut in +X, lifted for the way back
};

// The way round of a full circle or helix turn.
enum class Turn : std::int32_t {
    CounterClockwise = 1,
    Clockwise = 2,
};

}  // namespace morvane
