// Longhand round features: the machining operations and layers of the circular pocket, its
// step-over, a tool wider than the pocket, and circular pocket finishing below the tool radius.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cycles/nci_milling_cycles.h"
#include "support/tool_path_check.h"

namespace morvane {
namespace {

using test::nciLines;
using test::runCycle;

// Surface 0, set-up clearance 2, second clearance 20, feed 100, retract to surface + second
// clearance and rapid retract, as the cycle writers set them. The tool of diameter 10 stands at
// (50, 50, 30), over the pocket centre.
template <class Cycle>
std::unique_ptr<Cycle> roundFeature(double depth, double infeed,
                                    CycleStart start = {10.0, 50.0, 50.0, 30.0, 0.0}) {
    return test::makeCycle<Cycle>(start, {depth, 20.0, 100.0, infeed}, {}, {{8, true}});
}

// The passes of a pocket of radius 10 with the tool of diameter 10 and a step-over of 10, at
// height z: roughing is one circle at 5; finishing has no allowance circles and approaches the
// wall (tool centre at 5) from 10 - 2 = 8.
std::string rough(const char* z) {
    const std::string h = z;
    return nciLines({"1", "0 55 50 " + h + " 100 0", "3", "0 0 55 50 50 50 " + h + " 100 0 1", "1",
                     "0 50 50 " + h + " 100 0"});
}
std::string finish(const char* z) {
    const std::string h = z;
    return nciLines({"1", "0 58 50 " + h + " 100 0",                   //
                     "1", "0 54.5 49.5 " + h + " 100 0",               //
                     "3", "0 0 55 50 54.5 50 " + h + " 100 0 0 ",      //
                     "3", "0 0 55 50 50 50 " + h + " 100 0 1",         //
                     "3", "0 0 54.5 50.5 54.5 50 " + h + " 100 0 0 ",  //
                     "1", "0 58 50 " + h + " 100 0", "1", "0 50 50 " + h + " 100 0"});
}
std::string feedTo(const char* z) {
    return nciLines({"1", std::string("0 50 50 ") + z + " 100 0"});
}

TEST(CircularPocket, MachiningOperationsAndLayers) {
    // Depth 6, infeed 4, floor allowance 1 (roughed to 5), finishing infeed 0.5.
    const std::string approach = nciLines({"0", "0 50 50 2 100 0"});
    const std::string retract = nciLines({"0", "0 50 50 20 100 0"});
    const std::string all = approach + feedTo("-4") + rough("-4") + feedTo("-5") + rough("-5") +
                            feedTo("-4") + finish("-4") + feedTo("-5") + finish("-5") +  //
                            feedTo("-5.5") + rough("-5.5") + finish("-5.5") +            //
                            feedTo("-6") + rough("-6") + finish("-6") + retract;
    // Operation 3 (nothing but the approach) is in the golden pocket_252.
    struct Case {
        const char* what;
        double operation;
        bool rapidRetract;
        std::string expected;
    };
    const Case cases[] = {
        {"0: roughing layers, wall layers, floor layers (rough and finish)", 0.0, true, all},
        {"1: roughing only, with a feed back to the clearance", 1.0, false,
         approach + feedTo("-4") + rough("-4") + feedTo("-5") + rough("-5") +
             nciLines({"1", "0 50 50 2 100 0"}) + retract},
        {"2 (1.6 rounds to 2): walls, then the floor finished and roughed only at the depth", 1.6,
         true,
         approach + feedTo("-4") + finish("-4") + feedTo("-5") + finish("-5") +  //
             feedTo("-5.5") + finish("-5.5") +                                   //
             feedTo("-6") + rough("-6") + finish("-6") + retract},
        {"-0.4 rounds to 0 like any operation word", -0.4, true, all},
    };
    for (const Case& k : cases) {
        auto c = roundFeature<NCICircularPocket>(6.0, 4.0);
        c->SetValue(13, 10.0);
        c->SetValue(14, 0.0);
        c->SetValue(16, 1.0);
        c->SetValue(17, 0.5);
        c->SetValue(18, k.operation);
        c->SetFlag(8, k.rapidRetract);
        EXPECT_EQ(runCycle(*c), k.expected) << k.what;
    }
}

TEST(CircularPocket, StepOverFromTheOverlapFactor) {
    struct Case {
        double tool, factor, stepOver;
    };
    const Case cases[] = {
        {10.0, 1.0, 5.0},                           // factor 1: half the diameter
        {10.0, 1.5, 7.5},                           //
        {10.0, 0.0, 10.0},                          // no factor: the whole diameter
        {10.0, -2.0, 10.0},       {0.0, 1.0, 0.5},  // a tool without a size counts as diameter 1
        {-4.0, 0.0, 1.0},                           //
        {1e-300, 1e-300, 1e-300},  // a product too small to be a step: the whole diameter
    };
    for (const Case& k : cases) {
        auto c = roundFeature<NCICircularPocket>(1.0, 1.0, {k.tool, 0.0, 0.0, 10.0, 0.0});
        c->SetValue(14, k.factor);
        c->SetValue(18, 1.0);
        NciStream out;
        const CyclePosition end = c->Run(out);
        EXPECT_EQ(c->value(14), k.stepOver) << k.tool << " " << k.factor;
        EXPECT_EQ(end.toolDiameter, k.tool) << "the tool keeps its own diameter";
    }
}

TEST(CircularPocket, ToolWiderThanThePocketCirclesInsideOut) {
    // Radius 3 with the tool radius 5: the roughing circle runs 2 from the centre, starting left
    // of it.
    auto c = roundFeature<NCICircularPocket>(1.0, 1.0);
    c->SetValue(13, 3.0);
    c->SetValue(18, 1.0);
    EXPECT_EQ(runCycle(*c),
              nciLines({"0", "0 50 50 2 100 0", "1", "0 50 50 -1 100 0",  //
                        "1", "0 48 50 -1 100 0", "3", "0 0 48 50 50 50 -1 100 0 1", "1",
                        "0 50 50 -1 100 0",  //
                        "0", "0 50 50 20 100 0"}));
}

TEST(CircularPocketFinishing, RadiusBelowTheToolRadiusIsRaisedToIt) {
    // Radius 3 with the tool radius 5: the wall circle shrinks to the centre itself.
    auto c = roundFeature<NCICircularPocketFinishing>(2.0, 0.0, {10.0, 30.0, 40.0, 50.0, 0.0});
    c->SetValue(13, 3.0);
    c->SetValue(14, 30.0);
    c->SetValue(15, 40.0);
    c->SetValue(16, 10.0);
    c->SetFlag(8, false);  // not consulted: the retract is always a feed, then a rapid
    const std::string nci = runCycle(*c);
    EXPECT_NE(nci.find("3\n0 0 30 40 30 40 -2 100 0 1\n"), std::string::npos) << nci;
    EXPECT_NE(nci.find("1\n0 29.5 39.5 -2 100 0\n"), std::string::npos) << nci;
    EXPECT_TRUE(nci.ends_with(
        nciLines({"1", "0 30 40 2 100 0", "1", "0 30 40 2 100 0", "0", "0 30 40 20 100 0"})))
        << nci;
}

}  // namespace
}  // namespace morvane
