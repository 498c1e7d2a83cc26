// What a path names when it is not a regular file, for messages that say so instead of
// guessing that the file is missing.
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace morvane::cli {

// "a directory", "a named pipe (FIFO)", "a character device", ... for a `st_mode` that is not
// a regular file's.
std::string fileKind(mode_t mode);

inline constexpr std::string_view kDoesNotExist = "does not exist";

// Empty when `path` names a regular file; else why not: kDoesNotExist, "is a named pipe
// (FIFO)", "cannot be looked at: Permission denied".
std::string notARegularFile(const std::string& path);

// Why something at `path` cannot be a converter file: "is a named pipe (FIFO), not a converter
// file", "cannot be looked at: ..."; empty for a regular file or for nothing at all.
std::string notAConverterFile(const std::string& path);

}  // namespace morvane::cli
