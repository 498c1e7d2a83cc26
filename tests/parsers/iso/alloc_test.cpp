// Reading and executing a line allocates nothing in the common case: the line buffer, the block,
// the comment text and the writer's storage are reused. A run over ten times as many lines of
// the same kind must allocate exactly as often as the short run. Counts every allocation through
// the replaced global operator new of the writer's allocation test.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "parsers/iso/iso_parsers.h"

namespace morvane::test {
extern std::atomic<long> allocationCount;
}  // namespace morvane::test

namespace morvane::iso {
namespace {

// A host that serves `count` lines cycling through a fixed set, without allocating.
struct CyclingProgram {
    std::vector<const char*> lines;
    std::int32_t count = 0;

    static std::int32_t lineCount(void* context, std::int32_t* n) {
        *n = static_cast<CyclingProgram*>(context)->count;
        return 1;
    }
    static std::int32_t line(void* context, std::int32_t index, const char** text) {
        const auto* self = static_cast<CyclingProgram*>(context);
        *text = index >= 0 && index < self->count
                    ? self->lines[static_cast<std::size_t>(index) % self->lines.size()]
                    : nullptr;
        return 1;
    }
};

template <class Parser>
long allocationsForRun(std::int32_t lineCount) {
    CyclingProgram program{{"N10 G1 X10.5 Y-3.25 F300", "N20 G2 X20 Y0 I5 J0", "n30 g3 x10 y0 r5",
                            "N40 G91 G0 X1 Y1 (SHORT)", "N50 G90 X1 0 Y-(A)2", "/N60 G0 X99",
                            "N70 U1 V2 W3", "N80 G0 Z5 ; NOTE", "N90 M3 S1200 T4", ""},
                           lineCount};
    const LineSource source{&program, &CyclingProgram::lineCount, &CyclingProgram::line};
    const std::string path = ::testing::TempDir() + "iso_alloc.nci";
    const long before = test::allocationCount.load();
    {
        Parser parser(&source, path, {});
        parser.run();
    }
    const long allocations = test::allocationCount.load() - before;
    std::remove(path.c_str());
    return allocations;
}

TEST(PerLineCost, ALongerProgramAllocatesNoMoreThanAShortOne) {
    EXPECT_EQ(allocationsForRun<FanucParser::Parser>(20000),
              allocationsForRun<FanucParser::Parser>(2000));
    EXPECT_EQ(allocationsForRun<SinumerikParser::Parser>(20000),
              allocationsForRun<SinumerikParser::Parser>(2000));
    EXPECT_EQ(allocationsForRun<NumeripathParser::Parser>(20000),
              allocationsForRun<NumeripathParser::Parser>(2000));
}

}  // namespace
}  // namespace morvane::iso
