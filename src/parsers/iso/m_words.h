// What the ISO dialects do with an M word: which ones reach the writer and the run, and the
// machinist's name of the common ones for the messages about those that are not converted.
#pragma once

#include <cstdint>
#include <string_view>

namespace morvane::iso {

// The M words the writer and the run act on in every dialect (end, reference, subprograms); the
// dialects that do not keep every M word store only these.
constexpr bool isStoredMWord(std::int32_t m) {
    return m == 30 || m == 91 || m == 98 || m == 99;
}

// Program end (M2), spindle direction and stop (M3, M4, M5), tool change (M6): dropped by the
// exact semantics where the dialect does not keep every M word, converted by the corrected one.
constexpr bool isToolOrSpindleMWord(std::int32_t m) {
    return m >= 2 && m <= 6;
}

// True when an M word that reaches the block has an effect in the writer or the run; M2 and M5
// have one only with the corrected semantics.
constexpr bool mWordActs(std::int32_t m, bool corrected) {
    return isStoredMWord(m) || m == 3 || m == 4 || m == 6 || m == 92 ||
           (corrected && (m == 2 || m == 5));
}

// "coolant on" for M8; empty for a word without a common meaning.
constexpr std::string_view mWordName(std::int32_t m) {
    switch (m) {
        case 0: return "program stop";
        case 1: return "optional stop";
        case 2: return "program end";
        case 3: return "spindle on clockwise";
        case 4: return "spindle on counter-clockwise";
        case 5: return "spindle stop";
        case 6: return "tool change";
        case 7: return "mist coolant on";
        case 8: return "coolant on";
        case 9: return "coolant off";
        case 19: return "spindle orientation";
        default: return {};
    }
}

}  // namespace morvane::iso
