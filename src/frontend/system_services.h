// The operating-system services the conversion front end needs. src/platform implements them
// for real; tests implement them with fakes (a host directory of their own, libraries that are
// tables of functions in the test program).
#pragma once

#include <cstddef>
#include <string>

namespace morvane {

class SystemServices {
  public:
    virtual ~SystemServices() = default;

    // Directory of the running host program (UTF-8, no trailing '/'); empty when unknown.
    virtual std::string hostDirectory() = 0;
    // Creates a new, empty, uniquely named file with the prefix "NEW" in the temporary directory
    // and returns its full path; empty when no file could be created.
    virtual std::string makeTemporaryFile() = 0;
    // True when `path` names an existing regular file.
    virtual bool fileExists(const std::string& path) = 0;
    // Removes the file at `path` (a working file made by makeTemporaryFile); nothing when none.
    virtual void removeFile(const std::string& path) = 0;
    // Loads the library at the absolute `path` for good (it is never unloaded); null on failure.
    virtual void* loadLibrary(const std::string& path) = 0;
    // The address of the entry point `name` in a loaded library; null when it has none.
    virtual void* findEntryPoint(void* library, const char* name) = 0;
    // Copies `bytes` of memory that a loaded library handed out into `to`; false when some of it
    // cannot be read (a dangling pointer), without harm to the process.
    virtual bool copyLibraryMemory(void* to, const void* from, std::size_t bytes) = 0;
    // Why the last makeTemporaryFile or loadLibrary failed, as the system says it (the
    // directory and "No space left on device"; the loader's message); empty when unknown.
    virtual std::string lastProblem() { return {}; }
};

}  // namespace morvane
