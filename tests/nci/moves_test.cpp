// Move records: rapid, linear, dwell, and arcs with their centre given absolute, relative to the
// start or the end point, or by a radius, in the three working planes of both frames.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame_harness.h"
#include "writer/nci_frame.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane {
namespace {

using test::BlockCase;
using test::expectBlocks;
using test::FrameHarness;

TEST(StraightMoves, RapidLinearFeedAndCompensation) {
    expectBlocks<NCIFrame>({
        {"X5", ""},  // no motion mode yet: nothing to write
        {"G0 X10 Y20 Z5", "0\n0 10 20 5 -2 0\n"},
        {"G1 X15 F200", "1\n0 15 20 5 200 0\n"},
        {"X20", "1\n0 20 20 5 -1 0\n"},  // F is not modal
        {"F300", ""},                    // no axis word, no move
        {"G41 Y0 F100", "1\n41 20 0 5 100 0\n"},
        {"Y5", "1\n0 20 5 5 -1 0\n"},  // compensation is per block
        {"G42 G0 Z1", "0\n42 20 5 1 -2 0\n"},
        {"G40 G1 U3", "1\n40 20 5 1 -1 0\n"},  // U, V, W make a move too
        {"G4 X2", "4\n\n"},                    // a dwell writes an empty line
        {"X3", "4\n\n"},
    });
}

TEST(StraightMoves, TheIsoFrameFlagsBlocksWithAnMWord) {
    expectBlocks<NCIFrameFanuc>({
        {"G0 X1 Y2 Z3", "0\n0 1 2 3 -2 0\n"},
        {"G1 X5 M#8", "1\n0 5 2 3 -1 1\n"},
        {"G1 X6 F50", "1\n0 6 2 3 50 0\n"},
    });
}

TEST(Arcs, TheConversationalFrameTakesCentresAsGiven) {
    expectBlocks<NCIFrame>({
        {"G2 X10 Y0 I5 J0 F100", "2\n0 0 10 0 5 0 0 100 0 0\n"},
        // Full circle flag is never set in this frame.
        {"G3 X10 Y0 I5 J3", "3\n0 0 10 0 5 3 0 -1 0 0\n"},
    });
}

// From (0,0) to (10,0): the centres at distance |R| lie at X 5, Y +-sqrt(R^2 - 25).
TEST(Arcs, CentreFromRadiusPicksTheShortOrLongArc) {
    const BlockCase cases[] = {
        {"G2 X10 Y0 R10", "2\n0 0 10 0 5 -8.66 0 -1 0 0\n"},  // clockwise, short: below
        {"G3 X10 Y0 R10", "3\n0 0 10 0 5 8.66 0 -1 0 0\n"},   // counter-clockwise: above
        {"G2 X10 Y0 R-10", "2\n0 0 10 0 5 8.66 0 -1 0 0\n"},  // negative R: the long arc
        {"G3 X10 Y0 R-10", "3\n0 0 10 0 5 -8.66 0 -1 0 0\n"},
        {"G2 X10 Y0 R5", "2\n0 0 10 0 5 0 0 -1 0 0\n"},  // half circle
        {"G2 X10 Y0 R3", "2\n0 0 10 0 5 0 0 -1 0 0\n"},  // chord longer than the diameter
        // Chord not parallel to X: the general formula.
        {"G3 X0 Y10 R10", "3\n0 0 0 10 -8.66 5 0 -1 0 0\n"},
        {"G2 X0 Y10 R10", "2\n0 0 0 10 8.66 5 0 -1 0 0\n"},
        {"G2 X0 Y10 R3", "2\n0 0 0 10 0 5 0 -1 0 0\n"},  // too short: onto the chord's middle
        // A radius this small is no radius: the centre words count.
        {"G2 X10 Y0 I5 J1 R0.00000000001", "2\n0 0 10 0 5 1 0 -1 0 0\n"},
    };
    for (const BlockCase& c : cases) {
        FrameHarness<NCIFrame> conversational;
        EXPECT_EQ(conversational.write(c.words), c.nci) << c.words;
        FrameHarness<NCIFrameFanuc> iso;
        EXPECT_EQ(iso.write(c.words), c.nci) << "ISO frame: " << c.words;
    }
}

// An arc back to its start point has no chord: the first formula puts the centre R away along
// the second axis. Only the ISO frame marks it as a full circle.
TEST(Arcs, CentreFromRadiusWithoutAChord) {
    FrameHarness<NCIFrame> conversational;
    EXPECT_EQ(conversational.write("G2 X0 Y0 R5"), "2\n0 0 0 0 0 5 0 -1 0 0\n");
    FrameHarness<NCIFrameFanuc> iso;
    EXPECT_EQ(iso.write("G2 X0 Y0 R5"), "2\n0 0 0 0 0 5 0 -1 0 1\n");
}

TEST(Arcs, CentreFromRadiusStartsAtThePreviousPosition) {
    expectBlocks<NCIFrame>({
        {"G0 X20 Y30 Z-4", "0\n0 20 30 -4 -2 0\n"},
        // K takes the start Z in the XY plane.
        {"G3 X30 Y30 R5", "3\n0 0 30 30 25 30 -4 -1 0 0\n"},
    });
}

TEST(Planes, ConversationalG18IsYZAndG19IsXZ) {
    expectBlocks<NCIFrame>({
        {"G0 X0 Y7 Z0", "0\n0 0 7 0 -2 0\n"},
        // YZ plane (code 1): Y Z, centre J K, X as depth; I takes the start X.
        {"G18 G2 Y17 Z0 R5", "2\n1 0 17 0 12 0 0 -1 0 0\n"},
        {"G0 Y7", "0\n0 0 7 0 -2 0\n"},
        // XZ plane (code 2): X Z, centre I K, the negated Y as depth; J takes the start Y.
        {"G19 G3 X10 Z0 R5", "3\n2 0 10 0 5 0 -7 -1 0 0\n"},
        {"G17 G2 X0 Y7 R5", "2\n0 0 0 7 5 7 0 -1 0 0\n"},
    });
}

TEST(Planes, IsoG18IsXZAndG19IsYZ) {
    expectBlocks<NCIFrameFanuc>({
        // XZ at Y 0: the negated Y is written as negative zero.
        {"G18 G2 X10 Z0 R5", "2\n2 0 10 0 5 0 -0 -1 0 0\n"},
        {"G19 G3 Y10 Z0 R5", "3\n1 0 10 0 5 0 10 -1 0 0\n"},
    });
}

// ISO centres by I J: whichever reading fits the arc, relative to the start, absolute or
// relative to the end; one fitting only relative to the start fixes that for the program.
TEST(Arcs, IsoCentreReadings) {
    const std::vector<std::vector<BlockCase>> runs = {
        {{"G0 X10 Y0 Z0", "0\n0 10 0 0 -2 0\n"},
         {"G3 X0 Y10 I-10 J0 F50", "3\n0 0 0 10 0 0 0 50 0 0\n"},
         // Now I J K are read relative to the start without testing them.
         {"G3 X-10 Y0 I0 J-10", "3\n0 0 -10 0 0 0 0 -1 0 0\n"},
         {"G3 X0 Y-10 I10 J0", "3\n0 0 0 -10 0 0 0 -1 0 0\n"}},
        {{"G0 X10 Y0 Z0", "0\n0 10 0 0 -2 0\n"},
         {"G3 X0 Y10 I0 J0", "3\n0 0 0 10 0 0 0 -1 0 0\n"},  // absolute
         {"G3 X-10 Y0 I0 J0", "3\n0 0 -10 0 0 0 0 -1 0 0\n"}},
        {{"G2 X10 Y10 I0 J-10", "2\n0 0 10 10 10 0 0 -1 0 0\n"},  // relative to the end
         {"G2 X20 Y0 I0 J-10", "2\n0 0 20 0 20 -10 0 -1 0 0\n"}},
        // Fitting both relative to the start and absolute: taken from the start.
        {{"G0 X0 Y10", "0\n0 0 10 0 -2 0\n"}, {"G2 X10 Y10 I5 J3", "2\n0 0 10 10 5 13 0 -1 0 0\n"}},
        // Fitting no reading: as given; the mode still unknown, absolute.
        {{"G2 X10 Y0 I3 J4", "2\n0 0 10 0 3 4 0 -1 0 0\n"},
         {"G2 X20 Y0 I15 J0", "2\n0 0 20 0 15 0 0 -1 0 0\n"}},
        // The full-circle flag compares X and Y exactly, after rounding.
        {{"G0 X10 Y0", "0\n0 10 0 0 -2 0\n"},
         {"G2 X10 Y0 I-10 J0", "2\n0 0 10 0 0 0 0 -1 0 1\n"},
         {"G2 X10.0001 Y0 I-10 J0", "2\n0 0 10 0 0 0 0 -1 0 1\n"},
         {"G2 X10.001 Y0 I-10 J0", "2\n0 0 10.001 0 0 0 0 -1 0 0\n"}},
    };
    for (const auto& run : runs)
        expectBlocks<NCIFrameFanuc>(run);
}

}  // namespace
}  // namespace morvane
