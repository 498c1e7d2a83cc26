// Access to the post-processor libraries in the host's Dll directory: locating them, loading the
// reader library, looking up its two entry points and reading its native cycle patterns. The
// reader library is untrusted code with untrusted data: its answers are range-checked here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "morvane/post_api.h"
#include "nci/limits.h"
#include "nci/supported_cycle.h"

namespace morvane {

class SystemServices;

inline constexpr std::string_view kReaderLibraryName = "MorvaneNCIReader.so";
inline constexpr std::string_view kPostLibraryName = "MorvanePost.so";
inline constexpr const char* kNciConverterEntry = "NCIConverter";
inline constexpr const char* kGetSupportedCyclesEntry = "GetSupportedCycles";

// More patterns than this are not read: a count that large is garbage, and reading it would run
// past the table.
inline constexpr std::int32_t kMaxCyclePatterns = limits::kCyclePatterns;

// Entry points found in the reader library by the last run; either may be null.
struct PostEntryPoints {
    NCIConverterFn nciConverter = nullptr;
    GetSupportedCyclesFn getSupportedCycles = nullptr;
};

// Full paths of the two libraries in `<host directory>/Dll`; both empty when the host directory
// is unknown.
struct PostLibraryPaths {
    std::string reader;
    std::string post;
};
PostLibraryPaths locatePostLibraries(std::string_view hostDirectory);

// Both library files must exist and the reader library must load; then its entry points are
// looked up (the library stays loaded). False otherwise, with `entries` untouched and the reason
// in `problem`.
bool loadPostLibrary(SystemServices& services, const PostLibraryPaths& paths,
                     PostEntryPoints& entries, std::string& problem);

// One pattern from a record: the first integer, the 27 values truncated toward zero
// (saturating), the second integer.
SupportedCycle cycleFromRecord(const PostCycleRecord& record);

// Asks the reader library for the converter's native cycle patterns. Nothing when the library
// answers a null table (it rejected the converter). A null count pointer, a count that cannot be
// read or a negative count reads as no pattern; a count beyond kMaxCyclePatterns is cut to it.
// Records are read while they can be read: a table shorter than its count ends early.
std::optional<SupportedCycleList> askSupportedCycles(SystemServices& services,
                                                     GetSupportedCyclesFn getSupportedCycles,
                                                     const std::string& converterPath,
                                                     const std::string& postLibraryPath);

}  // namespace morvane
