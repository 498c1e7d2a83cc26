// Longhand drilling: single plunge, pecking and helical bore milling, line by line.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>

#include "cycles/nci_drilling.h"

namespace morvane {
namespace {

std::string lines(std::initializer_list<const char*> text) {
    std::string all;
    for (const char* line : text)
        (all += line) += '\n';
    return all;
}

// The common set-up of the cases below: surface 0, set-up clearance 2, second clearance 50,
// feed 150, retract to surface + second clearance (flag 5 false), as the cycle writers set it.
template <class Cycle>
std::unique_ptr<Cycle> hole(double depth, CycleStart start = {10.0, 10.0, 20.0, 100.0, 0.0}) {
    auto c = std::make_unique<Cycle>(start);
    c->SetValue(1, 0.0);
    c->SetValue(2, depth);
    c->SetValue(3, 50.0);
    c->SetValue(4, 2.0);
    c->SetValue(7, 150.0);
    c->SetFlag(5, false);
    return c;
}

std::string run(NCIGeneralCycle& c) {
    NciStream out;
    c.Run(out);
    return std::string(out.view());
}

TEST(SimpleDrilling, PlungesDwellsAndRetracts) {
    auto c = hole<NCISimpleDrilling>(10.0);
    NciStream out;
    const CyclePosition end = c->Run(out);
    EXPECT_EQ(out.view(), lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0",
                                 "0", "0 10 20 50 150 0"}));
    EXPECT_EQ(end.x, 10.0);
    EXPECT_EQ(end.y, 20.0);
    EXPECT_EQ(end.z, 50.0);
    EXPECT_EQ(end.toolDiameter, 10.0);
}

TEST(SimpleDrilling, FeedRetractDwellAndStartHeightVariants) {
    struct Case {
        const char* what;
        bool rapidRetract, returnToStart;
        double dwell;
        std::string expected;
    };
    const Case cases[] = {
        {"feed back to the clearance before the rapid", false, false, 0.0,
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "1",
                "0 10 20 2 150 0", "0", "0 10 20 50 150 0"})},
        {"retract to the start height", true, true, 0.0,
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0",
                "0 10 20 100 150 0"})},
        {"dwell time in the record", true, false, 1.5,
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "1.5 1 0", "0",
                "0 10 20 50 150 0"})},
    };
    for (const Case& k : cases) {
        auto c = hole<NCISimpleDrilling>(10.0);
        c->SetFlag(8, k.rapidRetract);
        c->SetFlag(5, k.returnToStart);
        c->SetValue(9, k.dwell);
        EXPECT_EQ(run(*c), k.expected) << k.what;
    }
}

struct PeckCase {
    const char* what;
    double depth, infeed, chipBreak;
    bool fullRetract, rapidRetract;
    std::string expected;
};

TEST(DeepDrilling, PecksUpToButNotAtTheDepth) {
    const PeckCase cases[] = {
        {"chip breaking at 3, 6, 9 then the depth; the break move stays at the depth", 10, 3, 0,
         false, true, lines({"0", "0 10 20 2 150 0",                             //
                             "1", "0 10 20 -3 150 0",  "0", "0 10 20 -3 150 0",  //
                             "1", "0 10 20 -6 150 0",  "0", "0 10 20 -6 150 0",  //
                             "1", "0 10 20 -9 150 0",  "0", "0 10 20 -9 150 0",  //
                             "1", "0 10 20 -10 150 0", "4", "0 1 0",
                             "0", "0 10 20 50 150 0"})},
        {"chip breaking back by 0.5 at feed", 7, 3, 0.5, false, false,
         lines({"0", "0 10 20 2 150 0",                              //
                "1", "0 10 20 -3 150 0", "1", "0 10 20 -2.5 150 0",  //
                "1", "0 10 20 -6 150 0", "1", "0 10 20 -5.5 150 0",  //
                "1", "0 10 20 -7 150 0", "4", "0 1 0", "1", "0 10 20 2 150 0", "0",
                "0 10 20 50 150 0"})},
        {"full retract to the clearance, rapid back to 2 above the last depth", 10, 3, 0, true,
         true, lines({"0", "0 10 20 2 150 0",                                                     //
                      "1", "0 10 20 -3 150 0",  "0", "0 10 20 2 150 0", "0", "0 10 20 -1 150 0",  //
                      "1", "0 10 20 -6 150 0",  "0", "0 10 20 2 150 0", "0", "0 10 20 -4 150 0",  //
                      "1", "0 10 20 -9 150 0",  "0", "0 10 20 2 150 0", "0", "0 10 20 -7 150 0",  //
                      "1", "0 10 20 -10 150 0", "4", "0 1 0",           "0", "0 10 20 50 150 0"})},
        {"full retract at feed", 5, 4, 0, true, false,
         lines({"0", "0 10 20 2 150 0",                                                    //
                "1", "0 10 20 -4 150 0", "1", "0 10 20 2 150 0", "0", "0 10 20 -2 150 0",  //
                "1", "0 10 20 -5 150 0", "4", "0 1 0", "1", "0 10 20 2 150 0", "0",
                "0 10 20 50 150 0"})},
        {"an infeed equal to the depth is no peck", 10, 10, 0, false, true,
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0",
                "0 10 20 50 150 0"})},
        {"no infeed, no pecks", 10, 0, 0, true, true,
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0",
                "0 10 20 50 150 0"})},
        {"a negative infeed writes no pecks either", 10, -2, 0, false, true,
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -10 150 0", "4", "0 1 0", "0",
                "0 10 20 50 150 0"})},
    };
    for (const PeckCase& k : cases) {
        auto c = hole<NCIDeepDrilling>(k.depth);
        c->SetValue(10, k.infeed);
        c->SetValue(11, k.chipBreak);
        c->SetFlag(12, k.fullRetract);
        c->SetFlag(8, k.rapidRetract);
        EXPECT_EQ(run(*c), k.expected) << k.what;
    }
}

// Counts the lines of `text` equal to `line`.
int countLines(std::string_view text, std::string_view line) {
    int n = 0;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        if (text.substr(pos, end - pos) == line) ++n;
        pos = end + 1;
    }
    return n;
}

TEST(DeepDrilling, PeckingStopsAfterAThousandPecks) {
    auto c = hole<NCIDeepDrilling>(1e9);
    c->SetValue(10, 1.0);
    const std::string text = run(*c);
    // 1000 pecks and the final feed; each peck adds a chip-break rapid.
    EXPECT_EQ(countLines(text, "1"), 1001);
    EXPECT_EQ(countLines(text, "0"), 1000 + 2);
    EXPECT_NE(text.find("0 10 20 -1000 150 0\n"), std::string::npos);
    EXPECT_EQ(text.find("0 10 20 -1001 150 0\n"), std::string::npos);
}

TEST(BoreDrilling, ToolAsWideAsTheBoreTurnsOnTheAxis) {
    auto c = hole<NCIBoreDrilling>(5.0);
    c->SetValue(10, 10.0);  // bore diameter = tool diameter: no lead-in or lead-out arc
    c->SetValue(11, 2.0);
    EXPECT_EQ(run(*c), lines({"0", "0 10 20 2 150 0",             //
                              "3", "0 0 10 20 10 20 0 150 0 1",   // first turn ends at the surface
                              "3", "0 0 10 20 10 20 -2 150 0 1",  //
                              "3", "0 0 10 20 10 20 -4 150 0 1",  //
                              "3", "0 0 10 20 10 20 -5 150 0 1",  // down to the depth
                              "3", "0 0 10 20 10 20 -5 150 0 1",  // flat circle at the bottom
                              "0", "0 10 20 50 150 0"}));
}

TEST(BoreDrilling, SmallerToolRunsOutToTheWallOnHalfCircles) {
    auto c = hole<NCIBoreDrilling>(5.0, {6.0, 10.0, 20.0, 100.0, 0.0});
    c->SetValue(10, 10.0);  // w = 4: the tool centre runs on radius 2 round the axis
    c->SetValue(11, 2.5);
    c->SetFlag(8, false);
    NciStream out;
    const CyclePosition end = c->Run(out);
    EXPECT_EQ(out.view(), lines({"0", "0 10 20 2 150 0",               //
                                 "3", "0 0 12 20 11 20 2 150 0 0 ",    // half circle out
                                 "3", "0 0 12 20 10 20 0 150 0 1",     //
                                 "3", "0 0 12 20 10 20 -2.5 150 0 1",  //
                                 "3", "0 0 12 20 10 20 -5 150 0 1",    //
                                 "3", "0 0 12 20 10 20 -5 150 0 1",    //
                                 "3", "0 0 10 20 11 20 -5 150 0 0 ",   // half circle back
                                 "1", "0 10 20 2 150 0",               // feed retract
                                 "0", "0 10 20 50 150 0"}));
    EXPECT_EQ(end.x, 10.0);
    EXPECT_EQ(end.y, 20.0);
    EXPECT_EQ(end.z, 50.0);
    EXPECT_EQ(end.toolDiameter, 6.0);
}

TEST(BoreDrilling, VariantsOfInfeedAndToolSize) {
    struct Case {
        const char* what;
        double tool, bore, depth, infeed;
        std::string expected;
    };
    const Case cases[] = {
        {"tool wider than the bore: a straight plunge without dwell", 12, 10, 5, 2,
         lines({"0", "0 10 20 2 150 0", "1", "0 10 20 -5 150 0", "0", "0 10 20 50 150 0"})},
        {"no infeed per turn: one turn to the surface, then the bottom circles", 10, 10, 5, 0,
         lines({"0", "0 10 20 2 150 0", "3", "0 0 10 20 10 20 0 150 0 1", "3",
                "0 0 10 20 10 20 -5 150 0 1", "3", "0 0 10 20 10 20 -5 150 0 1", "0",
                "0 10 20 50 150 0"})},
        {"a negative infeed per turn behaves as none", 10, 10, 5, -1,
         lines({"0", "0 10 20 2 150 0", "3", "0 0 10 20 10 20 0 150 0 1", "3",
                "0 0 10 20 10 20 -5 150 0 1", "3", "0 0 10 20 10 20 -5 150 0 1", "0",
                "0 10 20 50 150 0"})},
        {"no depth: no turn down, the two circles at the surface", 10, 10, 0, 2,
         lines({"0", "0 10 20 2 150 0", "3", "0 0 10 20 10 20 0 150 0 1", "3",
                "0 0 10 20 10 20 0 150 0 1", "0", "0 10 20 50 150 0"})},
    };
    for (const Case& k : cases) {
        auto c = hole<NCIBoreDrilling>(k.depth, {k.tool, 10.0, 20.0, 100.0, 0.0});
        c->SetValue(10, k.bore);
        c->SetValue(11, k.infeed);
        EXPECT_EQ(run(*c), k.expected) << k.what;
    }
}

TEST(BoreDrilling, HelixStopsAfterAThousandTurns) {
    auto c = hole<NCIBoreDrilling>(1e9);
    c->SetValue(10, 10.0);
    c->SetValue(11, 0.001);
    EXPECT_EQ(countLines(run(*c), "3"), 1000 + 2);
}

}  // namespace
}  // namespace morvane
