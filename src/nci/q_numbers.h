// The Q parameters of the conversational cycles that the code reads or sets by number, outside
// the cycles' argument tables: in a fallback, a derived value, a report, or a word of the
// program that sets one.
#pragma once

#include <cstdint>

namespace morvane::qn {

inline constexpr std::int32_t kSetUpClearance = 200;
inline constexpr std::int32_t kDepth = 201;  // negative downwards
inline constexpr std::int32_t kPlungingDepth = 202;
inline constexpr std::int32_t kSurface = 203;
inline constexpr std::int32_t kMinimumPlungingDepth = 205;
inline constexpr std::int32_t kDwellAtTop = 210;
inline constexpr std::int32_t kDwellTime = 211;
inline constexpr std::int32_t kDecrement = 212;
inline constexpr std::int32_t kChipBreaks = 213;
inline constexpr std::int32_t kMachiningOperation = 215;
inline constexpr std::int32_t kFirstSideLength = 218;
inline constexpr std::int32_t kSecondSideLength = 219;
inline constexpr std::int32_t kCornerRadius = 220;
inline constexpr std::int32_t kCircleDiameter = 223;
inline constexpr std::int32_t kFinishingInfeed = 338;
inline constexpr std::int32_t kDatumNumber = 339;
inline constexpr std::int32_t kMillingDirection = 351;
inline constexpr std::int32_t kPlunging = 366;
inline constexpr std::int32_t kSideAllowance = 368;
inline constexpr std::int32_t kFloorAllowance = 369;

}  // namespace morvane::qn
