// The program formats the plug-in reads: one table, in the order of the dialog's format list,
// from which the dialog's list, the conversion driver, the parsers' factory and the command
// line's names and recognition all read. A host selects a format by its dialog entry.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace morvane {

// Formats by their position in the dialog's format list.
enum class InputFormat : int { Fanuc, Heidenhain, Siemens, Sinumerik, Numeripath, Nci };

struct InputFormatInfo {
    InputFormat format;
    std::string_view option;       // the command line's --from NAME
    std::string_view dialogEntry;  // the entry of the dialog's format list (ASCII)
    std::string_view extensions;   // usual file name extensions, for the listing
    std::string_view description;
};

inline constexpr std::array<InputFormatInfo, 6> kInputFormats = {{
    {InputFormat::Fanuc, "fanuc", "Fanuc", ".nc .cnc .tap", "Fanuc ISO G-code"},
    {InputFormat::Heidenhain, "heidenhain", "Heidenhain", ".H",
     "Heidenhain conversational (BEGIN PGM ... END PGM)"},
    {InputFormat::Siemens, "siemens", "Siemens", ".mpf .spf",
     "Siemens milling G-code, read as Fanuc"},
    {InputFormat::Sinumerik, "sinumerik", "Sinumerik", ".mpf .spf",
     "Sinumerik lathe G-code: X a diameter (halved), Y and Z exchanged; TC, LIMS, CR="},
    {InputFormat::Numeripath, "numeripath", "G&L Numeripath", ".nc",
     "G&L Numeripath lathe G-code: Y and Z exchanged; ! comments"},
    {InputFormat::Nci, "nci", "NCI", ".nci", "NCI text, taken as it is"},
}};

// The table is in list order: a format's value is its position.
constexpr bool inListOrder() {
    for (std::size_t i = 0; i < kInputFormats.size(); ++i)
        if (static_cast<std::size_t>(kInputFormats[i].format) != i) return false;
    return true;
}
static_assert(inListOrder(), "kInputFormats must be in the order of InputFormat");

constexpr int formatPosition(InputFormat format) {
    return static_cast<int>(format);
}

}  // namespace morvane
