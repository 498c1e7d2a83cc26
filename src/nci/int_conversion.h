// Conversions of input numbers to integers. NC text is untrusted: a value that is NaN or outside
// the 32-bit range must never reach a plain cast (undefined behaviour), so every conversion of a
// double to an integer in the project goes through these.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace morvane {

// Truncates toward zero; NaN gives 0, values beyond the 32-bit range saturate.
constexpr std::int32_t truncToInt32(double v) {
    if (!(v == v)) return 0;  // NaN
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

// The NC reading of an integer word: the value plus 0.5, truncated toward zero (2.6 gives 3,
// 2.4 gives 2, -2.7 gives -2), saturating as truncToInt32.
constexpr std::int32_t wordToInt32(double v) {
    return truncToInt32(v + 0.5);
}

// True when the NC reading of `v` as an integer word lies beyond the 32-bit range, so that
// wordToInt32 gives the nearest limit instead (NaN too).
constexpr bool wordBeyondInt32(double v) {
    return !(v + 0.5 < 2147483648.0 && v + 0.5 > -2147483649.0);
}

// Truncation to an unsigned 32-bit value; negatives and NaN give 0.
constexpr std::uint32_t truncToUint32(double v) {
    if (!(v > 0.0)) return 0;
    if (v >= 4294967295.0) return std::numeric_limits<std::uint32_t>::max();
    return static_cast<std::uint32_t>(v);
}

}  // namespace morvane
