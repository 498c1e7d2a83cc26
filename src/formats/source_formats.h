// How a program's format is told from its file name and content, for the command line and the
// library. The formats themselves are the plug-in's one table (morvane/input_formats.hpp).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/input_formats.hpp"

namespace morvane {

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

}  // namespace morvane
