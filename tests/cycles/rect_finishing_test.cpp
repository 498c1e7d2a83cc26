// Longhand finishing of rectangular pockets and studs built directly: where the contour runs for
// each tool, the layers, and what does not change the path.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cycles/nci_milling_cycles.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::MoveRecord;
using test::readMoves;
using test::runCycle;

// Centre (50, 40), 40 along X, 20 along Y, surface 0, depth 6, clearances 2 and 30, feed 300.
template <class Finishing>
std::unique_ptr<Finishing> finishing(double corner, double infeed, double tool = 10.0,
                                     double startZ = 37.0) {
    return test::makeCycle<Finishing>(
        {tool, 5.0, 5.0, startZ, 0.0}, {6.0, 30.0, 300.0, infeed},
        {{24, 50.0}, {23, 40.0}, {15, 40.0}, {16, 20.0}, {18, corner}});
}

// The X of the contour's side at +X: the feed after the lead-in arc.
double sideX(const std::vector<MoveRecord>& moves) {
    for (std::size_t i = 1; i < moves.size(); ++i)
        if (moves[i - 1].code == 2 || moves[i - 1].code == 3) return moves[i].x();
    return 0.0;
}

TEST(RectFinishing, ContourRunsAToolRadiusFromTheWalls) {
    struct Case {
        const char* what;
        bool stud;
        double tool;
        double start;  // X of the start point S beside the wall
        double side;   // X of the contour's side at +X
    };
    const Case cases[] = {
        // Pocket and stud with the tool of 10 are the golden pocket_and_stud.
        {"pocket, tool 6", false, 6.0, 64.0, 67.0},
        // Without a tool diameter the start point lies on the wall; the contour takes 1.
        {"pocket, no tool", false, 0.0, 70.0, 69.5},
        {"stud, negative tool", true, -4.0, 66.0, 70.5},
    };
    for (const Case& k : cases) {
        const std::string nci =
            k.stud ? runCycle(*finishing<NCIStudFinishing>(5.0, 0.0, k.tool))
                   : runCycle(*finishing<NCIRectPocketFinishing>(5.0, 0.0, k.tool));
        const auto moves = readMoves(nci);
        ASSERT_GE(moves.size(), 4u) << k.what;
        EXPECT_EQ(moves[2].x(), k.start) << k.what;
        EXPECT_EQ(moves[2].y(), 40.0) << k.what;
        EXPECT_EQ(sideX(moves), k.side) << k.what;
    }
}

TEST(RectFinishing, OneContourPerLayer) {
    struct Case {
        double infeed;
        int contours;
    };
    const Case cases[] = {{0.0, 1}, {-2.0, 1}, {2.0, 3}, {4.0, 2}, {6.0, 1}, {1e-300, 1001}};
    for (const Case& k : cases) {
        const auto moves = readMoves(runCycle(*finishing<NCIStudFinishing>(0.0, k.infeed)));
        const int leadIns = test::countCode(moves, 2);
        EXPECT_EQ(leadIns, 2 * k.contours) << k.infeed;
    }
}

}  // namespace
}  // namespace morvane
