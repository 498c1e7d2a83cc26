// Access to the post-processor libraries: where they are looked for and how their cycle answers
// are range-checked (when they load: the driver's failure table).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fake_services.h"
#include "frontend/host_output.h"
#include "frontend/post_library.h"

namespace morvane::test {
namespace {

constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();

TEST(PostLibrary, LibrariesAreLookedForInTheHostsDllDirectory) {
    const PostLibraryPaths paths = locatePostLibraries("/opt/editor");
    EXPECT_EQ(paths.reader, "/opt/editor/Dll/MorvaneNCIReader.so");
    EXPECT_EQ(paths.post, "/opt/editor/Dll/MorvanePost.so");
    const PostLibraryPaths unknown = locatePostLibraries("");
    EXPECT_EQ(unknown.reader, "");
    EXPECT_EQ(unknown.post, "");
    // Without a host directory nothing is loaded.
    FakeServices noHost;
    noHost.installPost();
    noHost.host.clear();
    PostEntryPoints entries;
    std::string problem;
    EXPECT_FALSE(
        loadPostLibrary(noHost, locatePostLibraries(noHost.hostDirectory()), entries, problem));
    EXPECT_TRUE(noHost.loads.empty());
    EXPECT_NE(problem.find("directory is unknown"), std::string::npos) << problem;
}

TEST(PostLibrary, RecordValuesAreTruncatedTowardZeroAndSaturate) {
    PostCycleRecord record{};
    record.first = -5;
    record.second = 123456;
    const double values[] = {1.9,           -1.9,         0.5,      -0.5,   2.0,
                             7.999,         std::nan(""), 1e300,    -1e300, 2147483647.5,
                             -2147483648.5, HUGE_VAL,     -HUGE_VAL};
    const std::int32_t expected[] = {1, -1, 0, 0, 2, 7, 0, kMax, kMin, kMax, kMin, kMax, kMin};
    for (std::size_t i = 0; i < std::size(values); ++i)
        record.values[i] = values[i];
    const SupportedCycle cycle = cycleFromRecord(record);
    EXPECT_EQ(cycle[0], -5);
    EXPECT_EQ(cycle[28], 123456);
    for (std::size_t i = 0; i < std::size(values); ++i)
        EXPECT_EQ(cycle[i + 1], expected[i]) << i;
    for (std::size_t i = std::size(values); i < 27; ++i)
        EXPECT_EQ(cycle[i + 1], 0);
}

TEST(PostLibrary, AnswersOfTheReaderAreBounded) {
    FakePost::reset();
    FakePost::table.assign(kMaxCyclePatterns + 1, recordOf(SupportedCycle{}));
    FakePost::table[1].first = 2;
    struct Case {
        bool nullTable, nullCount;
        std::int32_t count;
        std::optional<std::size_t> patterns;
    };
    const Case cases[] = {
        {true, false, 3, std::nullopt},
        {false, false, 3, 3},
        {false, true, 3, 0},
        {false, false, 0, 0},
        {false, false, -1, 0},
        {false, false, kMin, 0},
        {false, false, kMax, kMaxCyclePatterns},
    };
    for (const Case& c : cases) {
        FakePost::nullTable = c.nullTable;
        FakePost::nullCount = c.nullCount;
        FakePost::count = c.count;
        FakeServices services;
        const auto cycles =
            askSupportedCycles(services, &FakePost::getSupportedCycles, "a.conv", "p.so");
        ASSERT_EQ(cycles.has_value(), c.patterns.has_value()) << c.count;
        if (!cycles) continue;
        EXPECT_EQ(cycles->size(), *c.patterns) << c.count;
        if (cycles->size() > 1) {
            EXPECT_EQ((*cycles)[1][0], 2);
        }
    }
    EXPECT_EQ(FakePost::calls.back(),
              (std::vector<std::string>{"GetSupportedCycles", "a.conv", "p.so"}));
}

TEST(PostLibrary, PointersLeftDanglingEndTheAnswerInsteadOfTheProcess) {
    FakePost::reset();
    FakePost::table.assign(10, recordOf(SupportedCycle{}));
    for (std::size_t i = 0; i < 10; ++i)
        FakePost::table[i].first = static_cast<std::int32_t>(i);
    FakePost::count = 10;
    const PostCycleRecord* table = FakePost::table.data();
    struct Case {
        const char* what;
        std::pair<const void*, const void*> unreadable;
        std::size_t patterns;
    };
    const Case cases[] = {
        {"all readable", {nullptr, nullptr}, 10},
        {"the count cannot be read", {&FakePost::count, &FakePost::count + 1}, 0},
        {"the table ends after four records", {table + 4, table + 10}, 4},
        {"one byte of the fifth record is gone",
         {reinterpret_cast<const char*>(table + 5) - 1, table + 5},
         4},
        {"the table cannot be read at all", {table, table + 10}, 0},
    };
    for (const Case& c : cases) {
        FakeServices services;
        services.unreadable = c.unreadable;
        const auto cycles =
            askSupportedCycles(services, &FakePost::getSupportedCycles, "a.conv", "p.so");
        ASSERT_TRUE(cycles.has_value()) << c.what;
        ASSERT_EQ(cycles->size(), c.patterns) << c.what;
        for (std::size_t i = 0; i < c.patterns; ++i)
            EXPECT_EQ((*cycles)[i][0], static_cast<std::int32_t>(i)) << c.what;
    }
}

TEST(HostOutput, MissingHostFunctionsAreSkippedAndTheOthersStillCalled) {
    FakeServices services;
    const std::string file = services.scratch.write("result.txt", "a\nb\n");
    std::vector<std::string> lines;
    // Only writeLine: the properties have nowhere to go, the lines still arrive.
    ResultStream linesOnly{&lines,
                           [](void* context, const char* text, std::int32_t length) {
                               static_cast<std::vector<std::string>*>(context)->emplace_back(
                                   text, static_cast<std::size_t>(length));
                               return 1;
                           },
                           nullptr};
    ResultStream empty{nullptr, nullptr, nullptr};
    for (ResultStream* stream : {static_cast<ResultStream*>(nullptr), &empty, &linesOnly}) {
        HostOutput host(stream);
        host.setProperty("SELECTION_ONLY", "true");
        host.writeLine("line");
        host.sendFile(services, file);
        host.sendConfiguration({{"A", "1"}});
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"line", "a", "b"}));
}

}  // namespace
}  // namespace morvane::test
