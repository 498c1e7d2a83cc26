// Native drill cycles: which fields each cycle record carries (the mask a post-processor pattern
// must accept) and how the record's 29 fields are composed, for both frames.
#pragma once

#include <cstdint>

#include "nci/native_cycle_line.h"
#include "nci/supported_cycle.h"

namespace morvane {

// A cycle the post-processor may write natively. A pattern accepting `mask` makes `cycle` (and
// `alsoSupports`, when not 0) part of the supported-cycle list.
struct CycleMask {
    std::int32_t cycle;
    std::int32_t alsoSupports;
    SupportedCycle mask;
};

struct NativeCycleLine {
    std::int32_t cycle;
    CycleLineFields fields;
};

// Tapping and thread cutting cycles have the same masks in both frames.
inline constexpr SupportedCycle kMask206 =
    compileCycleMask("1 1 1 1 1 1 1 1 1 0 1 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 1");
inline constexpr SupportedCycle kMask207 =
    compileCycleMask("1 1 1 1 1 1 1 1 1 0 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 1");
inline constexpr SupportedCycle kMask209 =
    compileCycleMask("1 1 1 1 1 1 1 1 1 0 0 0 0 0 0 0 0 1 1 0 1 0 0 1 0 0 0 0 1");

// Conversational cycles (cycle numbers). A post-processor that takes the pecking cycle 205 also
// gets the old-style pecking cycle 1001.
inline constexpr CycleMask kFrameCycleMasks[] = {
    {200, 0, compileCycleMask("1 1 1 1 1 1 1 1 1 0 1 1 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1")},
    {201, 0, compileCycleMask("1 1 1 1 1 1 1 1 1 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1")},
    {202, 0, compileCycleMask("1 1 1 1 1 1 1 1 1 1 1 0 0 0 0 0 0 0 0 0 0 1 1 1 0 0 0 0 1")},
    {203, 0, compileCycleMask("1 1 1 1 1 1 1 1 1 1 1 1 1 0 1 1 0 1 1 1 0 0 0 0 0 0 0 0 1")},
    {204, 0, compileCycleMask("1 1 1 1 1 1 1 1 1 1 1 0 0 0 0 0 0 0 0 0 0 1 1 1 1 1 0 0 1")},
    {205, 1001, compileCycleMask("1 1 1 1 1 1 1 1 1 0 1 0 1 1 0 1 0 1 1 0 0 0 0 0 0 0 1 1 1")},
    {206, 0, kMask206},
    {207, 0, kMask207},
    {209, 0, kMask209},
};

// Record fields of the conversational cycles: kind, position, clearance heights, depth, feeds,
// dwell and cycle-specific values; the last field is -1 except for the hole count of 209.
inline constexpr NativeCycleLine kFrameCycleLines[] = {
    {200, compileCycleLine("1 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 Q206 0 Q211 Q210 0 Q202 "
                           "0*14 -1")},
    {201, compileCycleLine("1 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 Q206 Q208 Q211 0*17 -1")},
    {202, compileCycleLine("2 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 Q206 Q208 Q211 0*10 0.2 "
                           "Q214 Q336 0*4 -1")},
    {203, compileCycleLine("1 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 Q206 Q208 Q211 Q210 Q202 0 "
                           "Q205 Q212 0 Q256 Q202 Q213 0*8 -1")},
    {204, compileCycleLine("4 x y z Q204+Q203 Q200+Q203 Q203 Q249 Q254 Q253 Q255 0*10 Q251 Q214 "
                           "Q336 Q252 Q250 0 0 -1")},
    {205, compileCycleLine("1 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 Q206 0 Q211 0 Q202 Q205 0 "
                           "Q212 0 Q256 Q257 0*7 Q258 Q259 -1")},
    {206, compileCycleLine("4 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 Q206 0 Q211 0*9 S/Q206 0*7 "
                           "-1")},
    {207, compileCycleLine("4 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 |S*Q239| 0*11 Q239 0*7 -1")},
    {209, compileCycleLine("4 x y z Q204+Q203 Q200+Q203 Q203 Q203-Q201 |S*Q239| 0*8 Q256 Q257 0 "
                           "Q239 0 0 Q336 0*4 #Q403")},
    {1001, compileCycleLine("1 x y z Q204+Q203 z Q203 Q203-Q201 Q206 0 Q211 Q210 0 Q202 0*14 -1")},
};

// ISO drill cycles (G numbers). Field 6 of G82 holds 7, which only a pattern value of 2 or 7
// accepts.
inline constexpr CycleMask kFanucCycleMasks[] = {
    {73, 0, compileCycleMask("1 1 1 1 1 1 0 1 1 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1")},
    {74, 0, compileCycleMask("1 1 1 1 1 1 0 1 1 0 1 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0 0 1")},
    {76, 0, compileCycleMask("1 1 1 1 1 1 0 1 1 0 1 0 0 0 0 0 0 0 0 0 0 1 0 0 0 0 0 0 1")},
    {81, 0, compileCycleMask("1 1 1 1 1 1 0 1 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1")},
    {82, 0, compileCycleMask("1 1 1 1 1 1 7 1 1 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1")},
    {83, 0, compileCycleMask("1 1 1 1 1 1 0 1 1 0 0 0 0 1 0 0 0 0 0 0 0 0 0 0 0 0 0 0 1")},
    {206, 0, kMask206},
    {207, 0, kMask207},
    {209, 0, kMask209},
};

// Record fields of the ISO drill cycles: kind, position, initial level z0, return level zret
// (the exact semantics: z0), reference level R, depth below R, feed, dwell P, peck Q, tapping
// pitch S/F. The letter Z is the hole bottom. With the corrected semantics the ISO frame gives
// the letters the values the cycle keeps, R and Z as absolute levels (NCIFrameFanuc).
inline constexpr NativeCycleLine kFanucCycleLines[] = {
    {73, compileCycleLine("1 x y z0 zret z0-R 0 R-Z F 0 0 0 0 Q 0*14 -1")},
    {74, compileCycleLine("3 x y z0 zret z0-R 0 R-Z F 0 P 0*9 S/F 0*7 -1")},
    {76, compileCycleLine("2 x y z0 zret z0-R 0 R-Z F 0 P 0*10 Q 0*6 -1")},
    {81, compileCycleLine("1 x y z0 zret z0-R 0 R-Z F 0*19 -1")},
    {82, compileCycleLine("1 x y z0 zret z0-R 0 R-Z F 0 P 0*17 -1")},
    {83, compileCycleLine("1 x y z0 zret z0-R 0 R-Z F 0 0 0 0 Q 0*14 -1")},
};

}  // namespace morvane
