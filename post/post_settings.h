// What the post-processor writes, as a converter file tells it. Built from a converter file
// that has passed its checks (converter_schema.h), so every value here is in range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "converter_file.h"

namespace morvane::post {

enum class OutputFamily : std::uint8_t { Iso, Heidenhain };
enum class ArcFormat : std::uint8_t { Centre, Radius };

struct PostSettings {
    OutputFamily family = OutputFamily::Iso;  // [converter] output
    int decimals = 3;                         // coordinates, centres, radii, levels (mm)
    int feedDecimals = 3;                     // F words
    int angleDecimals = 4;                    // Heidenhain IPA of helices
    bool trailingZeros = false;               // X10.000 instead of X10.
    bool lineNumbers = false;                 // ISO N words (Heidenhain blocks always count)
    std::int32_t lineNumberStart = 10;
    std::int32_t lineNumberStep = 10;
    std::int32_t lineNumberMax = 99999;        // then numbering starts again
    ArcFormat arcs = ArcFormat::Centre;        // I J K, or R where a radius can say it
    std::int32_t peckCycle = 83;               // G83 or G73 for a pecking line
    bool inch = false;                         // the unit when the NCI gives none
    double defaultFeed = 100.0;                // F of a feed move before the NCI gives one
    std::string programName = "NCI";           // when the NCI names no program
    std::vector<std::string> programStart;     // lines before the first block
    std::vector<std::string> programEnd;       // lines after the last block
    std::vector<std::string> referenceReturn;  // lines of a reference point return
};

// Places of a length in the unit in force: `decimals` in millimetres, one more in inches (an
// inch program is written to the ten-thousandth, as the controls take it).
inline int lengthDecimals(const PostSettings& settings, bool inch) {
    return settings.decimals + (inch ? 1 : 0);
}

PostSettings settingsFrom(const ConverterFile& file);

}  // namespace morvane::post
