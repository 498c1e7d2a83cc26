// Hostile values in every word, every code and the Q-parameter table: the writer must neither
// misbehave (the sanitizer build checks that) nor let a non-number into the NCI text.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "cycle_probe.h"
#include "nci/cycle_errors.h"
#include "frame_harness.h"
#include "writer/nci_frame.h"
#include "writer/nci_frame_fanuc.h"

namespace morvane {
namespace {

using test::FrameHarness;

const char* const kHostileNumbers[] = {"nan", "-nan", "inf", "-inf",    "1e300",       "-1e300",
                                       "3e9", "-3e9", "-5",  "-0.0004", "2147483.6475"};

// Every code the two frames know, plus pseudo codes and unknown ones.
const char* const kCodes[] = {
    "G0",    "G1",    "G2",   "G3",     "G4",   "G17",  "G18",   "G19",  "G24",   "G25",
    "G28",   "G30",   "G31",  "G41",    "G54",  "G59",  "G62",   "G72",  "G73",   "G74",
    "G76",   "G80",   "G81",  "G82",    "G83",  "G85",  "G92",   "G96",  "G99",   "G200",
    "G203",  "G205",  "G209", "G1001",  "G251", "G262", "G1005", "G247", "G1018", "G1019",
    "G1050", "G5401", "G-7",  "G99999", "M#3",  "M#4",  "M#6",   "M#30", "M#98",  "M#99",
};

bool hasNonNumber(const std::string& text) {
    return text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

template <class Frame>
void feedHostileBlocks() {
    FrameHarness<Frame> h;
    h.frame.SetSupportedCycles({[] {
        SupportedCycle all;
        all.fill(2);
        return all;
    }()});
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (std::int32_t q = 200; q <= 410; ++q)
        h.params[q] = (q % 3 == 0) ? nan : -1e300;
    h.params[339] = std::numeric_limits<double>::infinity();
    h.axes = {nan, nan, nan, nan, -1e300, 1e300};

    for (const char* code : kCodes) {
        for (const char* number : kHostileNumbers) {
            std::string words = std::string(code);
            for (char letter = 'A'; letter <= 'Z'; ++letter) {
                if (letter == 'G' || letter == 'M') continue;
                words += ' ';
                words += letter;
                words += number;
            }
            // A negative dwell time in the Q parameters is rejected by the longhand cycle,
            // which ends the block with CycleWrongValue; the text written up to there is
            // returned (and checked) with the next block.
            std::string text;
            try {
                text = h.write(words, "HOSTILE");
            } catch (const CycleWrongValue&) {
                continue;
            }
            EXPECT_FALSE(hasNonNumber(text)) << words << "\n" << text;
        }
        // Extreme integers where the writer reads ints.
        for (const char* n : {"2147483647", "-2147483648"}) {
            const std::string words =
                std::string(code) + " T#" + n + " P#" + n + " L#" + n + " L" + n + " X1 Y2 Z3";
            std::string text;
            try {
                text = h.write(words);
            } catch (const CycleWrongValue&) {
                continue;
            }
            EXPECT_FALSE(hasNonNumber(text)) << words;
        }
    }
}

TEST(Robustness, ConversationalFrameWithHostileValues) {
    feedHostileBlocks<NCIFrame>();
}

TEST(Robustness, IsoFrameWithHostileValues) {
    feedHostileBlocks<NCIFrameFanuc>();
}

TEST(Robustness, ProbeFramesRouteHostileCyclesSafely) {
    feedHostileBlocks<test::CycleProbe<NCIFrame>>();
    feedHostileBlocks<test::CycleProbe<NCIFrameFanuc>>();
}

TEST(Robustness, SubprogramCallWithHugeLSaturates) {
    FrameHarness<NCIFrame> h;
    EXPECT_EQ(h.write("M#98 L1e12").substr(0, 23), "10181\n2147483647 0 0 0 ");
    EXPECT_EQ(h.write("M#98 L-1e12").substr(0, 24), "10181\n-2147483648 0 0 0 ");
    EXPECT_EQ(h.write("M#98 Lnan").substr(0, 16), "10181\n0 0 0 0 0 ");
}

TEST(Robustness, TheLastVariableIndexAndStringsTakeNoHarm) {
    FrameHarness<NCIFrameFanuc> h;
    block& b = h.currentBlock();
    b.reset();
    for (std::uint32_t i = 0; i < kVariableCount; ++i)
        b.vars[i].setString("TEXT");
    b.defined.set();
    b.gcodes = {1, 2, 3, 81, 1018};
    h.frame.LoadBlock(b, {});
    NciStream out;
    h.frame.WriteBlock(out);
    // Strings read as 0 everywhere; the arc finds its centre at the start point.
    EXPECT_EQ(out.view(),
              "1018\n0 0 0 0 0 0 0 0 0 1 0 0 0 1 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0\n"
              "3\n0 0 0 0 0 0 0 0 0 1\n");
}

}  // namespace
}  // namespace morvane
