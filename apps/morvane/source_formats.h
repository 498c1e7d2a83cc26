// The program formats the plug-in reads, as the command line names them, and how the host tells
// a program's format from its file name and content.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/input_formats.hpp"

namespace morvane::cli {

// The formats are the plug-in's (morvane/input_formats.hpp).
using SourceFormat = InputFormat;
using FormatInfo = InputFormatInfo;
inline constexpr const auto& kFormats = kInputFormats;

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
