// The diagnostics of a conversion: where a report lands, how repeats merge, and what a host that
// did not ask for diagnostics still learns (failures only).
#include <gtest/gtest.h>

#include <string>

#include "nci/diagnostics.h"

namespace morvane {
namespace {

std::string texts(const Diagnostics& diagnostics) {
    std::string all;
    for (const Diagnostics::Entry& entry : diagnostics.entries())
        all += Diagnostics::hostText(entry) + "\n";
    return all;
}

TEST(Diagnostics, NameTheLineAndTheCallerAndMergeRepeats) {
    Diagnostics d(true);
    d.report(diagnostic::kLimitReached, "before the run");
    d.atLine(4);  // the call at line 5
    d.enterCall();
    for (int repeat = 0; repeat < 3; ++repeat) {
        d.atLine(9);
        d.report(diagnostic::kLineFeedInLine, "cut");
    }
    d.leaveCall();
    d.report(diagnostic::kLineFeedInLine, "cut");  // back at the calling line
    d.reportAt(diagnostic::kLimitReached, 70, "outside any call");
    d.fail(diagnostic::kWriteFailed, "disk full");
    EXPECT_EQ(texts(d),
              "0:limit-reached: before the run\n"
              "10:line-feed-in-line: cut (in a subprogram called at line 5) (3 times)\n"
              "5:line-feed-in-line: cut\n"
              "70:limit-reached: outside any call\n"
              "0:write-failed: disk full\n");
    EXPECT_TRUE(d.failed());
    EXPECT_EQ(d.failure(), "disk full");
}

TEST(Diagnostics, UnwantedOnesAreNotKeptButAFailureIs) {
    Diagnostics d;
    d.report(diagnostic::kLimitReached, "ignored");
    EXPECT_EQ(texts(d), "");
    EXPECT_FALSE(d.failed());
    d.fail(diagnostic::kNoWorkingFile, "no room");
    EXPECT_TRUE(d.failed());
    EXPECT_EQ(d.failure(), "no room");
}

TEST(Diagnostics, AreKeptUpToABoundAndTheRestCounted) {
    Diagnostics d(true);
    for (std::uint32_t line = 0; line < Diagnostics::kMaxEntries + 5; ++line)
        d.reportAt(diagnostic::kLimitReached, line + 1, "x");
    const auto entries = d.entries();
    ASSERT_EQ(entries.size(), Diagnostics::kMaxEntries + 1);
    EXPECT_EQ(Diagnostics::hostText(entries.back()),
              "0:too-many-diagnostics: 5 further diagnostics were not kept; the first 1,000 are "
              "listed");
    ASSERT_NE(findDiagnosticCode("write-failed"), nullptr);
    EXPECT_EQ(findDiagnosticCode("write-failed")->severity, Severity::Error);
    EXPECT_EQ(findDiagnosticCode("unknown"), nullptr);
}

}  // namespace
}  // namespace morvane
