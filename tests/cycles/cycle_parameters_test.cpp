// Which parameter indices each cycle class accepts, how it stores them, and what it rejects.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "nci/cycle_errors.h"
#include "cycles/nci_drilling.h"
#include "cycles/nci_milling_cycles.h"

namespace morvane {
namespace {

using Factory = std::function<std::unique_ptr<NCIGeneralCycle>(const CycleStart&)>;

template <class Cycle>
Factory factory() {
    return [](const CycleStart& s) { return std::make_unique<Cycle>(s); };
}

constexpr double kRad = 0.017453292519943295;

struct ClassCase {
    const char* name;
    Factory make;
    // The indices beyond the drilling values 1 2 3 4 6 7 9, each with its storage rule: plain,
    // "-" stored as negated radians, "r" as radians, "i" as the integer part of value + 0.5.
    const char* ownValues;
    bool acceptsFlag12;
};

std::vector<ClassCase> classCases() {
    return {
        {"SimpleDrilling", factory<NCISimpleDrilling>(), "", false},
        {"DeepDrilling", factory<NCIDeepDrilling>(), "10 11", true},
        {"BoreDrilling", factory<NCIBoreDrilling>(), "10 11", false},
        {"RectPocket", factory<NCIRectPocket>(), "10 11 15 16 17 18 19 20 21 22 23- 24 25 27", true},
        {"RectSlot", factory<NCIRectSlot>(), "10 11 15 16 17 18 23- 24 25 26", true},
        {"RectPocketFinishing", factory<NCIRectPocketFinishing>(), "10 11 15 16 18 23 24", true},
        {"StudFinishing", factory<NCIStudFinishing>(), "10 11 15 16 18 23 24", true},
        {"FaceMilling", factory<NCIFaceMilling>(), "10 11 15 16 17 18 23 24 25 26i", true},
        {"MultipassMilling", factory<NCIMultipassMilling>(), "10 11 15 16 17 18 23i", true},
        {"RuledSurface", factory<NCIRuledSurface>(),
         "10 11 15 16 17 18 19 20 21 22 23 24 25 26 27i", true},
        {"CircularPocket", factory<NCICircularPocket>(), "10 11 13 14 15 16 17 18 19 20", true},
        {"CircularPocketFinishing", factory<NCICircularPocketFinishing>(), "10 11 13 14 15 16",
         true},
        {"CircularStud", factory<NCICircularStud>(), "10 11 13 14 15 16", true},
        {"CircularSlot", factory<NCICircularSlot>(), "10 11 13 14 19 20r 21r 22i 25 26", true},
        {"ThreadMilling", factory<NCIThreadMilling>(), "10 11 13 14 15 16 17 18", true},
        {"OutsideThread", factory<NCIOutsideThread>(), "10 11 13 14 15 16 17", true},
    };
}

// The storage rule of each index `k` accepts: ' ' plain, or the letter of ClassCase::ownValues.
std::map<int, char> acceptedIndices(const ClassCase& k) {
    std::map<int, char> rules = {{1, ' '}, {2, ' '}, {3, ' '}, {4, ' '},
                                 {6, ' '}, {7, ' '}, {9, ' '}};
    std::istringstream words(k.ownValues);
    int index = 0;
    while (words >> index) {
        const int next = words.peek();
        rules[index] =
            next == '-' || next == 'r' || next == 'i' ? static_cast<char>(words.get()) : ' ';
    }
    return rules;
}

// Every value of the object, to see that a rejected call stored nothing.
std::vector<double> snapshot(const NCIGeneralCycle& c) {
    std::vector<double> v;
    for (int i = 0; i < static_cast<int>(NCIGeneralCycle::kValueCount); ++i)
        v.push_back(c.value(i));
    return v;
}

TEST(CycleParameters, EachClassAcceptsExactlyItsIndicesWithTheirStorageRule) {
    const CycleStart start{6.0, 1.0, 2.0, 3.0, 250.0};
    for (const ClassCase& k : classCases()) {
        SCOPED_TRACE(k.name);
        const std::map<int, char> accepted = acceptedIndices(k);
        for (int index = -2; index <= 40; ++index) {
            auto cycle = k.make(start);
            const auto before = snapshot(*cycle);
            const auto rule = accepted.find(index);
            if (rule == accepted.end()) {
                EXPECT_THROW(cycle->SetValue(index, 30.4), CycleWrongCode) << "index " << index;
                EXPECT_EQ(snapshot(*cycle), before) << "index " << index;
                continue;
            }
            ASSERT_NO_THROW(cycle->SetValue(index, 30.4)) << "index " << index;
            double expected = 30.4;
            if (rule->second == 'r') expected = 30.4 * kRad;
            if (rule->second == '-') expected = -(30.4 * kRad);
            if (rule->second == 'i') expected = 30.0;
            EXPECT_EQ(cycle->value(index), expected) << "index " << index;
        }
        // Far indices are rejected like any other unknown one.
        EXPECT_THROW(k.make(start)->SetValue(511, 1.0), CycleWrongCode);
        EXPECT_THROW(k.make(start)->SetValue(std::numeric_limits<std::int32_t>::min(), 1.0),
                     CycleWrongCode);
    }
}

TEST(CycleParameters, FlagsFiveAndEightEverywhereTwelveFromDeepDrillingOn) {
    for (const ClassCase& k : classCases()) {
        SCOPED_TRACE(k.name);
        auto cycle = k.make({});
        EXPECT_TRUE(cycle->returnToStartHeight());
        EXPECT_TRUE(cycle->rapidRetract());
        cycle->SetFlag(5, false);
        cycle->SetFlag(8, false);
        EXPECT_FALSE(cycle->returnToStartHeight());
        EXPECT_FALSE(cycle->rapidRetract());
        if (k.acceptsFlag12) {
            auto* deep = dynamic_cast<NCIDeepDrilling*>(cycle.get());
            ASSERT_NE(deep, nullptr);
            EXPECT_FALSE(deep->fullRetract());
            cycle->SetFlag(12, true);
            EXPECT_TRUE(deep->fullRetract());
        } else {
            EXPECT_THROW(cycle->SetFlag(12, true), CycleWrongCode);
        }
        for (int index : {0, 1, 2, 6, 7, 9, 10, 11, 13, 27, -5}) {
            EXPECT_THROW(cycle->SetFlag(index, true), CycleWrongCode) << "flag " << index;
        }
        // Index 5 is a flag, never a value.
        EXPECT_THROW(cycle->SetValue(5, 1.0), CycleWrongCode);
        EXPECT_THROW(cycle->RejectParameter(), CycleWrongCode);
    }
}

TEST(CycleParameters, NegativeDwellTimeIsRejectedAndNotStored) {
    for (const ClassCase& k : classCases()) {
        SCOPED_TRACE(k.name);
        auto cycle = k.make({});
        cycle->SetValue(9, 1.5);
        EXPECT_THROW(cycle->SetValue(9, -0.5), CycleWrongValue);
        EXPECT_EQ(cycle->value(9), 1.5);
        EXPECT_NO_THROW(cycle->SetValue(9, 0.0));
        EXPECT_EQ(cycle->value(9), 0.0);
        EXPECT_NO_THROW(cycle->SetValue(9, -0.0));
        // Other values may well be negative: a depth below the surface, a negative surface.
        EXPECT_NO_THROW(cycle->SetValue(1, -20.0));
        EXPECT_NO_THROW(cycle->SetValue(2, -5.0));
    }
}

struct StoredCase {
    const char* what;
    Factory make;
    int index;
    double given;
    double stored;
};

TEST(CycleParameters, StorageRulesTurnDegreesAndCountsIntoWhatTheCyclesUse) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const StoredCase cases[] = {
        {"pocket rotation", factory<NCIRectPocket>(), 23, 30.0, -0.5235987755982988},
        {"pocket rotation negative", factory<NCIRectPocket>(), 23, -90.0, 1.5707963267948966},
        {"slot rotation", factory<NCIRectSlot>(), 23, 30.0, -0.5235987755982988},
        {"finishing centre Y is plain", factory<NCIRectPocketFinishing>(), 23, 30.0, 30.0},
        {"slot start angle", factory<NCICircularSlot>(), 20, 90.0, 1.5707963267948966},
        {"slot angular length", factory<NCICircularSlot>(), 21, -45.0, -0.7853981633974483},
        {"strategy rounds up", factory<NCIFaceMilling>(), 26, 2.5, 3.0},
        {"strategy rounds toward zero", factory<NCIFaceMilling>(), 26, -2.7, -2.0},
        {"strategy of NaN", factory<NCIFaceMilling>(), 26, nan, 0.0},
        {"strategy saturates", factory<NCIFaceMilling>(), 26, 1e300, 2147483647.0},
        {"cuts", factory<NCIMultipassMilling>(), 23, 3.49, 3.0},
        {"ruled cuts", factory<NCIRuledSurface>(), 27, 4.5, 5.0},
        {"slot reference", factory<NCICircularSlot>(), 22, 1.6, 2.0},
        {"pitch stays", factory<NCIThreadMilling>(), 17, 1.5, 1.5},
    };
    for (const auto& c : cases) {
        auto cycle = c.make({});
        cycle->SetValue(c.index, c.given);
        EXPECT_EQ(cycle->value(c.index), c.stored) << c.what;
    }
}

}  // namespace
}  // namespace morvane
