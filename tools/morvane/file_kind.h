// What a path names when it is not a regular file, for messages that say so instead of
// guessing that the file is missing.
#pragma once

#include <sys/types.h>

#include <string>

namespace morvane::cli {

// "a directory", "a named pipe (FIFO)", "a character device", ... for a `st_mode` that is not
// a regular file's.
std::string fileKind(mode_t mode);

// Empty when `path` names a regular file; else why not: "does not exist", "is a named pipe
// (FIFO)", "cannot be looked at: Permission denied".
std::string notARegularFile(const std::string& path);

}  // namespace morvane::cli
