// The flags every cycle class takes, the dwell time it rejects, and how it stores degrees and
// counts. (Which indices a class takes is the code's own list: the writers' lists are checked
// against it in cycle_args_test, their effects in the golden programs.)
#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <memory>
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

struct ClassCase {
    const char* name;
    Factory make;
    bool acceptsFlag12;
};

std::vector<ClassCase> classCases() {
    return {
        {"SimpleDrilling", factory<NCISimpleDrilling>(), false},
        {"DeepDrilling", factory<NCIDeepDrilling>(), true},
        {"BoreDrilling", factory<NCIBoreDrilling>(), false},
        {"RectPocket", factory<NCIRectPocket>(), true},
        {"RectSlot", factory<NCIRectSlot>(), true},
        {"RectPocketFinishing", factory<NCIRectPocketFinishing>(), true},
        {"StudFinishing", factory<NCIStudFinishing>(), true},
        {"FaceMilling", factory<NCIFaceMilling>(), true},
        {"MultipassMilling", factory<NCIMultipassMilling>(), true},
        {"RuledSurface", factory<NCIRuledSurface>(), true},
        {"CircularPocket", factory<NCICircularPocket>(), true},
        {"CircularPocketFinishing", factory<NCICircularPocketFinishing>(), true},
        {"CircularStud", factory<NCICircularStud>(), true},
        {"CircularSlot", factory<NCICircularSlot>(), true},
        {"ThreadMilling", factory<NCIThreadMilling>(), true},
        {"OutsideThread", factory<NCIOutsideThread>(), true},
    };
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
