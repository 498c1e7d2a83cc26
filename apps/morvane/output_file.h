// Writing a file so that readers only ever see the old or the complete new content: the text
// goes into a temporary file beside the destination, which is renamed over it once complete.
// A temporary file that is not committed is removed, also when the program is interrupted.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "nci/buffered_file.h"

namespace morvane::cli {

class OutputFile {
  public:
    OutputFile() = default;
    ~OutputFile() { discard(); }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Creates the temporary file (mode 0600) in the directory of `destination`, after removing
    // those that killed runs left there. False with the reason in `error`.
    bool open(const std::string& destination, std::string& error);
    // Open for writing and, after rewind, for reading.
    std::FILE* stream() const { return stream_; }
    // The temporary file's path.
    const std::string& path() const { return temporary_; }

    // Flushes, syncs when `destination` exists (a replaced file), gives the file `mode` and the
    // owner and group of the file it replaces (or the group alone, when the system refuses the
    // owner), and renames it over `destination`, which must be in the directory given to open.
    bool commit(const std::string& destination, mode_t mode, std::string& error);
    // Removes the temporary file; nothing happens to the destination.
    void discard();

  private:
    std::FILE* stream_ = nullptr;
    std::string temporary_;
};

// The mode a written file gets: that of the file it replaces, else 0666 less the umask.
mode_t modeForDestination(const std::string& destination);

// Writes `text` into a temporary file beside `destination` and renames it over it, with `mode`.
// False with the reason in `error`; the destination is then as it was.
bool writeWholeFile(const std::string& destination, std::string_view text, mode_t mode,
                    std::string& error);

// Copies what `from` holds (from its start) to `to`, every line feed becoming `terminator`.
// False when reading fails (errno set) or a write failed (to.error()).
bool copyLines(std::FILE* from, BufferedFile& to, std::string_view terminator);

// Removal of temporary files and directories when SIGINT, SIGTERM, SIGHUP or SIGQUIT ends the
// program: the handler removes what is registered, then lets the signal end the program as it
// would have.
void installInterruptCleanup();
void registerTemporary(const std::string& path);
void unregisterTemporary(const std::string& path);

}  // namespace morvane::cli
