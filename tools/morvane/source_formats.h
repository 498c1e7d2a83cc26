// The program formats, as the command line names them and recognises them (shared with the
// library: frontend/source_formats.h).
#pragma once

#include "frontend/source_formats.h"

namespace morvane::cli {

using morvane::Detection;
using morvane::detectFormat;
using morvane::FormatInfo;
using morvane::formatByOption;
using morvane::formatInfo;
using morvane::kFormats;
using morvane::SourceFormat;

}  // namespace morvane::cli
