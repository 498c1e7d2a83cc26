// Files and directories as the plug-in needs them: where the host program lives, the temporary
// directory and its exclusive temporary files, the existence test.
#pragma once

#include <string>
#include <string_view>

namespace morvane::platform {

// The resolved path of the running program (/proc/self/exe); empty when it cannot be read.
std::string executablePath();
// `path` up to, not including, its last '/'; empty when it has none.
std::string directoryOf(std::string_view path);
// $TMPDIR when it is set and names a directory, else /tmp.
std::string temporaryDirectory();
// A new, empty file `prefix` + unique part + ".tmp` in `directory`, created exclusively with
// mode 0600 (never an existing file, never through a planted link). Its full path, or empty.
std::string createTemporaryFile(const std::string& directory, std::string_view prefix);
// True when `path` names an existing regular file.
bool isRegularFile(const std::string& path);
// True when `path` names an existing directory.
bool isDirectory(const std::string& path);

}  // namespace morvane::platform
