// The program formats the plug-in reads, as the command line names them, and how the host tells
// a program's format from its file name and content.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane::cli {

enum class SourceFormat { Fanuc, Heidenhain, Siemens, Sinumerik, Numeripath, Nci };

struct FormatInfo {
    SourceFormat format;
    std::string_view option;       // --from NAME
    std::string_view dialogEntry;  // the entry of the dialog's format list
    std::string_view extensions;   // usual file name extensions, for the listing
    std::string_view description;
};

// In the order of the dialog's format list.
inline constexpr std::array<FormatInfo, 6> kFormats = {{
    {SourceFormat::Fanuc, "fanuc", "Fanuc", ".nc .cnc .tap", "Fanuc ISO G-code"},
    {SourceFormat::Heidenhain, "heidenhain", "Heidenhain", ".H",
     "Heidenhain conversational (BEGIN PGM ... END PGM)"},
    {SourceFormat::Siemens, "siemens", "Siemens", ".mpf .spf",
     "Siemens milling G-code, read as Fanuc"},
    {SourceFormat::Sinumerik, "sinumerik", "Sinumerik", ".mpf .spf",
     "Sinumerik lathe G-code: X a diameter (halved), Y and Z exchanged; TC, LIMS, CR="},
    {SourceFormat::Numeripath, "numeripath", "G&L Numeripath", ".nc",
     "G&L Numeripath lathe G-code: Y and Z exchanged; ! comments"},
    {SourceFormat::Nci, "nci", "NCI", ".nci", "NCI text, taken as it is"},
}};

const FormatInfo& formatInfo(SourceFormat format);
// The format a --from NAME means (case-insensitive); nothing for an unknown name.
std::optional<SourceFormat> formatByOption(std::string_view name);

struct Detection {
    std::optional<SourceFormat> format;
    std::string reason;  // why, for -v; why not, when nothing was recognised
};

// Recognises the format from the file name's extension, else from the program's first lines
// (`head`, empty lines included).
Detection detectFormat(std::string_view path, const std::vector<std::string_view>& head);

}  // namespace morvane::cli
