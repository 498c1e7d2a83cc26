// The parameter lists of the longhand cycle writers: what each cycle hands to its class, computed
// from the Q-parameter table, and that every class accepts the whole list of its writer.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "nci/cycle_errors.h"
#include "cycles/cycle_writer_table.h"

namespace morvane {
namespace {

// Records the calls a writer makes, as "v<index>=<value>" and "f<index>=<0|1>".
class RecordingCycle : public NCIGeneralCycle {
  public:
    RecordingCycle() : NCIGeneralCycle(CycleStart{}) {}
    void SetValue(std::int32_t index, double value) override {
        calls.push_back("v" + std::to_string(index) + "=" + realToString(value));
    }
    void SetFlag(std::int32_t index, bool value) override {
        calls.push_back("f" + std::to_string(index) + "=" + (value ? "1" : "0"));
    }
    void Generate(NciStream&) override {}
    std::vector<std::string> calls;
};

// Every Q number n from 200 to 400 holds n, so each value shows where it came from.
ParamMap numberedParameters() {
    ParamMap q;
    for (int n = 200; n <= 400; ++n)
        q[n] = n;
    return q;
}

std::vector<std::string> callsOf(std::int32_t cycle, ParamMap q, double callZ = 0.0) {
    RecordingCycle rec;
    Diagnostics none;
    for (const CycleRecipe& w : cycle_table::kWriters)
        if (w.cycle == cycle) passCycleArgs(rec, w.args, q, callZ, none);
    return rec.calls;
}

using Calls = std::vector<std::string>;

TEST(CycleArgs, HalfTheSmallerSideTakesWhicheverIsSmaller) {
    ParamMap q = numberedParameters();
    q[218] = 30.0;
    q[219] = 12.0;
    EXPECT_EQ(callsOf(253, q)[2], "v18=6");
    q[219] = 30.0;
    EXPECT_EQ(callsOf(253, q)[2], "v18=15");
    q[218] = 8.0;
    EXPECT_EQ(callsOf(1003, q)[2], "v18=4");
}

TEST(CycleArgs, DepthFallbackWithoutPlungingDepth) {
    struct Case {
        std::int32_t cycle;
        double q201, q202;
        const char* infeed;
    };
    const Case cases[] = {
        {251, -10.0, 3.0, "v10=3"},      {251, -10.0, 0.0, "v10=9"},   {251, -10.0, 1e-9, "v10=9"},
        {251, -10.0, 2e-9, "v10=2e-09"}, {251, -10.0, -4.0, "v10=9"},  {1001, 10.0, 0.0, "v10=9"},
        {1004, 12.0, 0.0, "v10=11"},     {1001, 10.0, 2.5, "v10=2.5"},
    };
    for (const Case& c : cases) {
        ParamMap q;
        q[201] = c.q201;
        q[202] = c.q202;
        EXPECT_EQ(callsOf(c.cycle, q).back(), c.infeed) << c.cycle << " Q202=" << c.q202;
    }
}

TEST(CycleArgs, ComputedValuesTakeTheirQParameters) {
    // Every writer's list runs whole in the golden programs of its cycle; here the values the
    // lists compute, with Q n holding n so that each shows where it came from.
    const ParamMap q = numberedParameters();
    const Calls c204 = callsOf(204, q);  // depth Q249 + Q203 + Q204 - Q252, infeed Q204 - Q252
    EXPECT_EQ(c204[1], "v2=404");
    EXPECT_EQ(c204.back(), "v10=-48");
    EXPECT_EQ(callsOf(203, q).back(), "v10=2");  // one infeed from the surface: Q203 - Q201
    // Old-style cycles: surface = Z of the call - Q200, second clearance = Q200.
    EXPECT_EQ(callsOf(1001, q, 250.0)[5], "v1=50");
    EXPECT_EQ(callsOf(1005, q, 10.0)[1], "v13=111.5");  // the radius, half of Q223
    EXPECT_EQ(callsOf(1005, q, 10.0)[11], "v1=-190");
    EXPECT_EQ(callsOf(263, q)[0], "v13=167.5");
    EXPECT_EQ(callsOf(232, q)[9], "v2=-159");
    // 231 hands the four corners Q225..Q236 to 15..26 in order.
    const Calls ruled = callsOf(231, q);
    ASSERT_GE(ruled.size(), 12u);
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(ruled[k], "v" + std::to_string(15 + k) + "=" + std::to_string(225 + k));
}

TEST(CycleArgs, NegatedMissingDepthIsNegativeZero) {
    ParamMap q;  // Q201 missing: read as 0.0 and entered
    const Calls calls = callsOf(200, q);
    EXPECT_EQ(calls[1], "v2=-0");
}

TEST(CycleArgs, EveryClassAcceptsTheWholeListOfItsWriter) {
    std::set<std::int32_t> numbers;
    for (const CycleRecipe& w : cycle_table::kWriters) {
        SCOPED_TRACE(w.cycle);
        EXPECT_TRUE(numbers.insert(w.cycle).second) << "two writers for one cycle";
        EXPECT_FALSE(w.label.empty());
        ParamMap q = numberedParameters();
        Diagnostics none;
        for (const std::span<const CycleArg> args : {w.args, w.correctedArgs}) {
            auto cycle = w.build(CycleStart{});
            EXPECT_NO_THROW(passCycleArgs(*cycle, args, q, 0.0, none));
        }
    }
    // 200..209, 1001, 1003..1005, 210..215, 230..232, 251..254, 263, 267; 221 writes nothing and
    // 262 is written by 263's writer.
    EXPECT_EQ(numbers.size(), 29u);
    EXPECT_EQ(cycle_table::findWriter(262 + 1)->label, "CYCLE DEF 263");
}

TEST(CycleArgs, ARejectedParameterStopsTheList) {
    // A negative dwell time (Q211) is rejected at the fourth call of cycle 200.
    ParamMap q;
    q[211] = -1.0;
    NCISimpleDrilling cycle(CycleStart{});
    Diagnostics none;
    EXPECT_THROW(passCycleArgs(cycle, cycle_table::findWriter(200)->args, q, 0.0, none),
                 CycleWrongValue);
    EXPECT_EQ(cycle.clearance(), 0.0);  // Q200 was passed: 0
    EXPECT_TRUE(cycle.rapidRetract());  // flag 8 comes after the rejected call
    EXPECT_EQ(q.count(203), 0u);        // later parameters were not even read
}

}  // namespace
}  // namespace morvane
