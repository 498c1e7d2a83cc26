// One native cycle pattern of the post-processor, as the driver hands it to parsers and writer.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "nci/nci_format.h"

namespace morvane {

// 29 fields: the record's first integer, its 27 values truncated toward zero, its second integer.
// Per field 0 (not supported), 1 (supported), 2 (either), or 7 where a field needs it.
inline constexpr std::size_t kCycleFieldCount = kCycleLineFields;
using SupportedCycle = std::array<std::int32_t, kCycleFieldCount>;
using SupportedCycleList = std::vector<SupportedCycle>;

}  // namespace morvane
