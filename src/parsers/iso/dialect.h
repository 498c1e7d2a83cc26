// What sets the four ISO G-code dialects apart, as data: the address table, the rules of the word
// and number readers, and the rules of the block parser. One reader, one block parser and one
// program run serve all four; each takes its dialect's description.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "nci/varstorage.h"

namespace morvane::iso {

// A keyword of more than one letter and its address index. The letters A..Z (indices 0..25) are
// addresses in every dialect and are not listed.
struct Keyword {
    std::string_view text;  // upper case
    std::int32_t index;
};

// What a character does when a reader meets it.
enum class Mark : std::uint8_t {
    EndsWord,      // stops the word or number without being consumed
    IgnoresRest,   // the rest of the line is skipped and yields no comment (block skip)
    CommentsRest,  // everything after the character is comment text
};

struct ReaderRules {
    Mark semicolon;           // ";" met by the word reader
    Mark slash;               // "/" met by the word reader
    Mark bang;                // "!" met by the word reader
    Mark slashInNumber;       // "/" met inside a number
    bool parenthesisAfterTC;  // "(" right after the letters TC ends the word: TC(3) is a tool call
    bool numberAfterAssign;   // one "=" or "(" before a number is skipped: R1=5, LIMS=3000, TC(2)
};

struct BlockRules {
    bool keepsEveryMWord;        // otherwise only M30, M91, M98, M99 are stored
    bool toolWordChangesTool;    // T (and TC) also stores M6
    bool xIsDiameter;            // X is programmed as a diameter: the block holds the radius
    bool arcDirectionExchanged;  // G2 is stored as 3 and G3 as 2
    bool planeSelectionDropped;  // G17, G18, G19 are not stored
    bool speedSetsSurfaceSpeed;  // S appends 96 unless the block already holds 92
    bool exchangesYZ;            // Y/Z and J/K change places once the block is read
    bool dwellSecondsInF;        // G4 takes its time from F (seconds), not from X or P (ms)
};

struct Dialect {
    std::string_view name;
    std::span<const Keyword> keywords;
    ReaderRules reader;
    BlockRules block;
};

// The "%" and "$" words of the Sinumerik and Numeripath controls are not recognised: the word
// reader collects letters only, so they could never be looked up. A "%" line or a "$" variable
// ends the block at that character like any other character that cannot start a word.
inline constexpr Keyword kSinumerikKeywords[] = {
    {"LF", addr::LF}, {"TC", addr::TC}, {"LIMS", addr::LIMS}, {"CR", addr::CR}};
inline constexpr Keyword kNumeripathKeywords[] = {{"LF", addr::LF}};

inline constexpr Dialect kFanuc{.name = "Fanuc",
                                .keywords = {},
                                .reader = {.semicolon = Mark::IgnoresRest,
                                           .slash = Mark::IgnoresRest,
                                           .bang = Mark::EndsWord,
                                           .slashInNumber = Mark::IgnoresRest,
                                           .parenthesisAfterTC = false,
                                           .numberAfterAssign = false},
                                .block = {.keepsEveryMWord = false,
                                          .toolWordChangesTool = false,
                                          .xIsDiameter = false,
                                          .arcDirectionExchanged = false,
                                          .planeSelectionDropped = false,
                                          .speedSetsSurfaceSpeed = false,
                                          .exchangesYZ = false,
                                          .dwellSecondsInF = false}};

// Siemens programs read exactly as Fanuc programs; only the run's namespace differs.
inline constexpr Dialect kSiemens{
    .name = "Siemens", .keywords = {}, .reader = kFanuc.reader, .block = kFanuc.block};

// Sinumerik lathe programs: X as a diameter, the lathe's Z (spindle axis) written to the NCI as Y
// with its arc word K as J, G2/G3 seen from the other side of the turning plane.
inline constexpr Dialect kSinumerik{.name = "Sinumerik",
                                    .keywords = kSinumerikKeywords,
                                    .reader = {.semicolon = Mark::CommentsRest,
                                               .slash = Mark::CommentsRest,
                                               .bang = Mark::EndsWord,
                                               .slashInNumber = Mark::CommentsRest,
                                               .parenthesisAfterTC = true,
                                               .numberAfterAssign = true},
                                    .block = {.keepsEveryMWord = true,
                                              .toolWordChangesTool = true,
                                              .xIsDiameter = true,
                                              .arcDirectionExchanged = true,
                                              .planeSelectionDropped = true,
                                              .speedSetsSurfaceSpeed = false,
                                              .exchangesYZ = true,
                                              .dwellSecondsInF = true}};

inline constexpr Dialect kNumeripath{.name = "G&L Numeripath",
                                     .keywords = kNumeripathKeywords,
                                     .reader = {.semicolon = Mark::EndsWord,
                                                .slash = Mark::CommentsRest,
                                                .bang = Mark::CommentsRest,
                                                .slashInNumber = Mark::CommentsRest,
                                                .parenthesisAfterTC = false,
                                                .numberAfterAssign = false},
                                     .block = {.keepsEveryMWord = true,
                                               .toolWordChangesTool = false,
                                               .xIsDiameter = false,
                                               .arcDirectionExchanged = false,
                                               .planeSelectionDropped = false,
                                               .speedSetsSurfaceSpeed = true,
                                               .exchangesYZ = true,
                                               .dwellSecondsInF = false}};

}  // namespace morvane::iso
