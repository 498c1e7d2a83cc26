// The words of Heidenhain conversational programs and their keyword codes.
//
// The table is written in code order, as the words are numbered; initKeywordTable hashes it at
// compile time, so a lookup needs no map, no allocation and no set-up at run time.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>

namespace morvane::HHParser {

// Keyword codes; 0 means that no known word was read.
namespace kw {
inline constexpr std::int32_t None = 0, L = 1, X = 2, Y = 3, Z = 4, A = 5, B = 6, C = 7, IX = 8,
                              IY = 9, IZ = 10, IA = 11, IB = 12, IC = 13, CCX = 14, CCY = 15,
                              CCZ = 16, LX = 17, LY = 18, LZ = 19, LIX = 20, LIY = 21, LIZ = 22,
                              CX = 23, CY = 24, CZ = 25, LP = 26, CP = 27, PA = 28, IPA = 29,
                              PR = 30, D = 31, CC = 32, CR = 33, DR = 34, R = 35, RR = 36, RL = 37,
                              M = 38, F = 39, S = 40, FMAX = 41, MAX = 42, T = 43, TOOL = 44,
                              CALL = 45, TOOLCALL = 46, LBL = 47, PGM = 48, REP = 49, BLK = 50,
                              FORM = 51, CYCL = 52, DEF = 53, CHF = 54, RND = 55, APPR = 56,
                              DEP = 57, LT = 58, LN = 59, CT = 60, LCT = 61, LEN = 62, CCA = 63,
                              Q = 64, SCL = 65, ROT = 66, DWELL = 67, ANGLE = 68, DEPTH = 69,
                              SET = 70, UP = 71, RADIUS = 72, PLNGN = 73, FN = 74, DIV = 75,
                              SQRT = 76, SIN = 77, COS = 78, ANG = 79, CDATA = 80, IF = 81,
                              EQU = 82, NE = 83, GT = 84, GOTO = 85, BEGIN = 86, MM = 87, INCH = 88,
                              V = 89, FAUTO = 90, IPR = 91;
inline constexpr std::int32_t Count = 91;
}  // namespace kw

// Every word in code order: entry i has code i + 1.
inline constexpr std::array<std::string_view, kw::Count> kKeywordWords = {
    "L",    "X",      "Y",     "Z",    "A",    "B",        "C",     "IX",    "IY",    "IZ",
    "IA",   "IB",     "IC",    "CCX",  "CCY",  "CCZ",      "LX",    "LY",    "LZ",    "LIX",
    "LIY",  "LIZ",    "CX",    "CY",   "CZ",   "LP",       "CP",    "PA",    "IPA",   "PR",
    "D",    "CC",     "CR",    "DR",   "R",    "RR",       "RL",    "M",     "F",     "S",
    "FMAX", "MAX",    "T",     "TOOL", "CALL", "TOOLCALL", "LBL",   "PGM",   "REP",   "BLK",
    "FORM", "CYCL",   "DEF",   "CHF",  "RND",  "APPR",     "DEP",   "LT",    "LN",    "CT",
    "LCT",  "LEN",    "CCA",   "Q",    "SCL",  "ROT",      "DWELL", "ANGLE", "DEPTH", "SET",
    "UP",   "RADIUS", "PLNGN", "FN",   "DIV",  "SQRT",     "SIN",   "COS",   "ANG",   "CDATA",
    "IF",   "EQU",    "NE",    "GT",   "GOTO", "BEGIN",    "MM",    "INCH",  "V",     "FAUTO",
    "IPR",
};

// No keyword is longer than this; a word of up to this many letters packs into one integer, so
// a lookup compares integers instead of strings.
inline constexpr std::size_t kMaxKeywordLength = 8;

constexpr std::uint64_t packWord(std::string_view word) {
    std::uint64_t key = 0;
    for (char c : word)
        key = (key << 8) | static_cast<unsigned char>(c);
    return key;
}

struct KeywordEntry {
    std::uint64_t key;  // the word packed by packWord
    std::int32_t code;
};

// The keyword table as an open-addressing hash table built at compile time: a lookup is one
// multiplication, a shift and usually a single comparison. A packed word is never 0, so 0 marks
// an empty slot.
inline constexpr std::size_t kKeywordSlots = 256;

constexpr std::size_t keywordSlot(std::uint64_t key) {
    return static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 56);
}

constexpr std::array<KeywordEntry, kKeywordSlots> initKeywordTable() {
    std::array<KeywordEntry, kKeywordSlots> table{};
    for (std::size_t i = 0; i < kKeywordWords.size(); ++i) {
        const std::uint64_t key = packWord(kKeywordWords[i]);
        std::size_t slot = keywordSlot(key);
        while (table[slot].key != 0)
            slot = (slot + 1) % kKeywordSlots;
        table[slot] = {key, static_cast<std::int32_t>(i + 1)};
    }
    return table;
}

inline constexpr std::array<KeywordEntry, kKeywordSlots> kKeywordTable = initKeywordTable();

// The code of an upper-case word; 0 for an empty word or one that is not in the table. Words are
// matched whole: "FMAX" is not "F", "DEPTH" is not "DEP".
// The same for a word of `length` letters already packed by packWord.
constexpr std::int32_t packedKeywordCode(std::uint64_t key, std::size_t length) {
    if (length == 0 || length > kMaxKeywordLength) return kw::None;
    // The table is under half full: a probe always meets an empty slot.
    for (std::size_t slot = keywordSlot(key);; slot = (slot + 1) % kKeywordSlots) {
        if (kKeywordTable[slot].key == key) return kKeywordTable[slot].code;
        if (kKeywordTable[slot].key == 0) return kw::None;
    }
}

constexpr std::int32_t keywordCode(std::string_view word) {
    return packedKeywordCode(packWord(word), word.size());
}

// The code of each one-letter word by its character, either case; 0 for any other character.
// Most words of a program are one letter (L X Y Z F ...): they need no packing and no probe.
constexpr std::array<std::int32_t, 256> initLetterCodes() {
    std::array<std::int32_t, 256> codes{};
    for (char c = 'A'; c <= 'Z'; ++c) {
        const char word[1] = {c};
        const std::int32_t code = keywordCode(std::string_view(word, 1));
        codes[static_cast<unsigned char>(c)] = code;
        codes[static_cast<unsigned char>(c - 'A' + 'a')] = code;
    }
    return codes;
}
inline constexpr std::array<std::int32_t, 256> kLetterCodes = initLetterCodes();

static_assert(std::all_of(kKeywordWords.begin(), kKeywordWords.end(),
                          [](std::string_view w) { return w.size() <= kMaxKeywordLength; }));
// Every word is found under its own code.
constexpr bool everyWordFound() {
    for (std::size_t i = 0; i < kKeywordWords.size(); ++i)
        if (keywordCode(kKeywordWords[i]) != static_cast<std::int32_t>(i + 1)) return false;
    return true;
}
static_assert(everyWordFound(), "every word is in the table once");

}  // namespace morvane::HHParser
