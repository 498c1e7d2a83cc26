// Real numbers as text, the C locale's point and never its grouping, by one routine whose rules
// are parameters: the NCI writer's numbers, the post-processor's NC words and the command line's
// figures all come from it.
#pragma once

#include <cstddef>
#include <string>

namespace morvane {

enum class RealNotation {
    Fixed,        // a fixed number of decimal places, no exponent (values of 1e15 and more: the
                  // shortest form that reads back to the same value)
    Significant,  // a number of significant digits, with an exponent when it is shorter (%g)
};

enum class RealRounding {
    Binary,            // the value as stored, correctly rounded, as printf rounds it
    HalfAwayFromZero,  // scaled to the decimal places, halves away from zero, as NC programmers
                       // round: 0.125 to two places is 0.13
};

struct RealFormat {
    RealNotation notation = RealNotation::Fixed;
    int digits = 4;  // Fixed: decimal places (0 to 15); Significant: significant digits
    RealRounding rounding = RealRounding::Binary;  // Fixed only
    bool trailingZeros = false;                    // 10.500 rather than 10.5
    bool keepPoint = false;                        // 10. rather than 10
    bool plusSign = false;                         // +10, and +0
    bool negativeZero = false;  // -0 for a value that is or rounds to zero from below
};

// Enough for any value in either notation with up to 15 digits.
inline constexpr std::size_t kRealTextSize = 64;

// Writes `value` at `first` (at least kRealTextSize characters before `last`) and returns the
// end. Not-a-number and infinities come out as "nan" and "inf": a caller that must not write
// them maps them first.
char* formatReal(char* first, char* last, double value, const RealFormat& format);
void appendReal(std::string& out, double value, const RealFormat& format);

}  // namespace morvane
