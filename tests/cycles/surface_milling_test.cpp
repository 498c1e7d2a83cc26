// Longhand surface milling: the zig-zag of multipass milling, the lines of a ruled surface, and
// face milling's layers and three strategies.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "cycles/nci_milling_cycles.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::countCode;
using test::nciLines;
using test::readMoves;
using test::runCycle;

// Multipass milling as cycle 230 sets it: a rectangle 100 along X and 40 along Y from (10, 20),
// milling height 3, set-up clearance 2, feed 100, tool of diameter 10 at (0, 0, 50).
std::unique_ptr<NCIMultipassMilling> multipass(double cuts,
                                               CycleStart start = {10.0, 0.0, 0.0, 50.0, 0.0}) {
    return test::makeCycle<NCIMultipassMilling>(
        start, {0.0, 0.0, 100.0},
        {{15, 100.0}, {16, 40.0}, {17, 10.0}, {18, 20.0}, {23, cuts}, {1, 3.0}},
        {{8, true}, {12, true}});
}

TEST(MultipassMilling, ZigZagOverTheRectangle) {
    // Cuts run 5 + 2 beyond both ends, from x 3 to 117. Five cuts 10 apart are the golden
    // multipass_ruled.
    const std::string approach =
        nciLines({"0", "0 3 20 50 100 0", "0", "0 3 20 5 100 0", "1", "0 3 20 3 100 0"});
    struct Case {
        const char* what;
        double cuts;
        std::string moves;
    };
    const Case cases[] = {
        {"one cut runs at the start Y", 1.0,
         nciLines({"1", "0 3 20 3 100 0", "1", "0 117 20 3 100 0", "1", "0 117 20 5 100 0"})},
        {"1.4 cuts round to one", 1.4,
         nciLines({"1", "0 3 20 3 100 0", "1", "0 117 20 3 100 0", "1", "0 117 20 5 100 0"})},
        {"two cuts at both edges", 2.0,
         nciLines({"1", "0 3 20 3 100 0", "1", "0 117 20 3 100 0", "1", "0 117 60 3 100 0", "1",
                   "0 3 60 3 100 0", "1", "0 3 60 5 100 0"})},
        {"no cut: up again where it went down", 0.0, nciLines({"1", "0 3 20 5 100 0"})},
        {"a negative count is no cut", -3.0, nciLines({"1", "0 3 20 5 100 0"})},
    };
    for (const Case& k : cases) {
        auto c = multipass(k.cuts);
        EXPECT_EQ(runCycle(*c), approach + k.moves) << k.what;
    }
}

// A ruled surface from the edge P1 (0, 0, 0) - P4 (0, 50, -10) to the edge P2 (100, 0, 0) -
// P3 (100, 50, -10), tool of diameter 10 at (7, 8, 50).
std::unique_ptr<NCIRuledSurface> ruled(double lines, double tool = 10.0) {
    auto c = std::make_unique<NCIRuledSurface>(CycleStart{tool, 7.0, 8.0, 50.0, 0.0});
    const double corners[] = {0, 0, 0, 100, 0, 0, 100, 50, -10, 0, 50, -10};
    for (int i = 0; i < 12; ++i)
        c->SetValue(15 + i, corners[i]);
    c->SetValue(27, lines);
    c->SetValue(7, 100.0);
    return c;
}

TEST(RuledSurface, CountsAndToolSize) {
    struct Case {
        const char* what;
        double lines, tool;
        int feeds;
        const char* contains;
    };
    const Case cases[] = {
        {"one line at P1-P2", 1.0, 10.0, 5, "1\n0 100 0 0 100 0\n"},
        {"no line: only the rapid", 0.0, 10.0, 0, "0\n0 0 0 50 100 0\n"},
        {"a tool without size lifts by 0.05", 1.0, 0.0, 5, "1\n0 0 0 0.05 100 0\n"},
        {"five lines, 12.5 apart", 5.0, 10.0, 25, "1\n0 0 37.5 -7.5 100 0\n"},
    };
    for (const Case& k : cases) {
        const std::string nci = runCycle(*ruled(k.lines, k.tool));
        EXPECT_EQ(countCode(readMoves(nci), 1), k.feeds) << k.what;
        EXPECT_EQ(countCode(readMoves(nci), 0), 1) << k.what;
        EXPECT_NE(nci.find(k.contains), std::string::npos) << k.what << "\n" << nci;
    }
}

// Face milling as cycle 232 sets it: 100 along X and 50 along Y from (0, 0), side clearance 5,
// overlap factor 1, surface 0, set-up clearance 2, second clearance 20, infeed 3, feed 100;
// tool of diameter 10. The layer's start point Q is (0 - 5 - 5, 0) = (-10, 0), the far end
// -10 + 100 + 2 x 5 + 10 = 110.
std::unique_ptr<NCIFaceMilling> face(double strategy,
                                     CycleStart start = {10.0, -10.0, 0.0, -2.0, 0.0}) {
    return test::makeCycle<NCIFaceMilling>(
        start, {0.0, 20.0, 100.0, 3.0},
        {{15, 100.0}, {16, 50.0}, {17, 0.0}, {18, 0.0}, {23, 5.0}, {25, 1.0}, {26, strategy}},
        {{8, true}});
}

std::string layerOf(NCIFaceMilling& c) {
    NciStream out;
    c.FaceLayer(out);
    return std::string(out.view());
}

TEST(FaceMilling, UnknownStrategiesWriteNoLayer) {
    // Strategies 0, 1 and 2 over whole surfaces are the golden face_232; any other strategy
    // faces nothing.
    EXPECT_EQ(layerOf(*face(3.0)), "");
    EXPECT_EQ(layerOf(*face(-1.6)), "");  // stored as -1
    // The strategy is an integer word: -1 + 0.5 truncates to 0, the meander with overshoot.
    EXPECT_EQ(layerOf(*face(-1.0)), layerOf(*face(0.0)));
    EXPECT_FALSE(layerOf(*face(0.0)).empty());
}

TEST(FaceMilling, NarrowSurfacesAndOverlapFactorsThatGiveNoStep) {
    // b = 4 below the step of 10 (strategy 2 is in the golden face_232): strategy 0 makes one
    // space, the cuts at y0 and y0 + b.
    auto meander = face(0.0);
    meander->SetValue(16, 4.0);
    EXPECT_EQ(layerOf(*meander), nciLines({"1", "0 -10 0 -2 100 0", "1", "0 110 0 -2 100 0",  //
                                           "1", "0 110 4 -2 100 0", "1", "0 -10 4 -2 100 0",  //
                                           "1", "0 -10 0 -2 100 0"}));
    // An overlap factor that is not positive cuts a tool diameter apart, as factor 1 does.
    for (const double factor : {0.0, -0.5}) {
        for (const double strategy : {0.0, 1.0, 2.0}) {
            auto reference = face(strategy);
            auto c = face(strategy);
            c->SetValue(25, factor);
            EXPECT_EQ(layerOf(*c), layerOf(*reference)) << factor << " " << strategy;
        }
    }
    // Factor 0.5 halves the step: strategy 2 makes ten cuts 5 apart and the last one.
    auto fine = face(2.0);
    fine->SetValue(25, 0.5);
    EXPECT_EQ(countCode(readMoves(layerOf(*fine)), 0), 10);
    // A tool without size counts as diameter 1 inside the layer: step 1, far end
    // -10 + 100 + 10 + 1 = 101.
    auto small = face(2.0, {0.0, -10.0, 0.0, -2.0, 0.0});
    const std::string nci = layerOf(*small);
    EXPECT_EQ(countCode(readMoves(nci), 0), 50);
    EXPECT_TRUE(nci.starts_with("1\n0 101 0 -2 100 0\n")) << nci;
}

TEST(FaceMilling, LayersFromTheSurfaceDownToTheFloor) {
    // Strategy 3 faces nothing, so only the plunges at Q to each layer remain between the
    // approach and the retract.
    struct Case {
        const char* what;
        double depth, allowance, infeed;
        std::vector<std::string> layers;
    };
    const Case cases[] = {
        {"infeed 3: from the surface itself, 3, then the allowance at 4 and the floor at 5",
         5.0,
         1.0,
         3.0,
         {"0", "-3", "-4", "-5"}},
        {"no infeed: the first layer only", 5.0, 1.0, 0.0, {"0", "-4", "-5"}},
        {"a negative infeed: the same", 5.0, 1.0, -2.0, {"0", "-4", "-5"}},
        {"allowance as deep as the depth: no loop", 5.0, 5.0, 3.0, {"0", "-5"}},
        {"an infeed reaching the allowance exactly is no extra layer",
         6.0,
         0.0,
         3.0,
         {"0", "-3", "-6", "-6"}},
    };
    for (const Case& k : cases) {
        auto c = face(3.0, {10.0, 0.0, 0.0, 50.0, 0.0});
        c->SetValue(2, k.depth);
        c->SetValue(24, k.allowance);
        c->SetValue(10, k.infeed);
        std::string expected = nciLines({"0", "0 -10 0 50 100 0", "0", "0 -10 0 2 100 0"});
        for (const std::string& z : k.layers)
            expected += nciLines({"1", "0 -10 0 " + z + " 100 0"});
        expected += nciLines({"0", "0 -10 0 20 100 0"});
        EXPECT_EQ(runCycle(*c), expected) << k.what;
    }
}

TEST(FaceMilling, FeedRetractAndStartHeight) {
    auto c = face(3.0, {10.0, 0.0, 0.0, 50.0, 0.0});
    c->SetValue(2, 1.0);
    c->SetValue(24, 1.0);
    c->SetFlag(8, false);
    c->SetFlag(5, true);
    EXPECT_EQ(runCycle(*c), nciLines({"0", "0 -10 0 50 100 0", "0", "0 -10 0 2 100 0",  //
                                      "1", "0 -10 0 0 100 0", "1", "0 -10 0 -1 100 0",  //
                                      "1", "0 -10 0 2 100 0", "0", "0 -10 0 50 100 0"}));
}

}  // namespace
}  // namespace morvane
