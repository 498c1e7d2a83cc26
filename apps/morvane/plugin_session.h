// One plug-in action as a host editor performs it: options and the remembered configuration
// handed over, the host's records attached, the dialog shown (scripted through MORVANE_DIALOG,
// or in the terminal), the records detached again.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "editor_host.h"
#include "plugin_library.h"

namespace morvane::cli {

struct ActionSetup {
    bool hasSelection = false;               // else the option SELECTION = "False"
    std::optional<std::string> config;       // handed back as the option PLUGIN_CONFIG
    std::optional<std::string> script;       // MORVANE_DIALOG; none: the terminal front end
    std::optional<std::uint64_t> maxOutput;  // the option MAX_OUTPUT: bytes of NCI at most
    bool exact = false;                      // the option SEMANTICS: exact, else corrected
};

// Diagnostics are always asked for; the semantics is always named.
void performAction(const PluginExports& plugin, EditorHost& host, const ActionSetup& setup,
                   std::FILE* spool);

// A private directory for the plug-in's working files (it leaves its NCI and result files in
// the temporary directory): made in the user's temporary directory (where those that killed
// runs left are removed first), handed to the plug-in as TMPDIR, emptied before each action,
// and removed with everything in it at the end or on an interrupt.
class ScratchDirectory {
  public:
    ScratchDirectory() = default;
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;

    bool create(std::string& error);
    const std::string& path() const { return path_; }
    // Removes what the plug-in left in it.
    void empty() const;
    // True when the file system it is on has no room left for a byte or a file.
    bool fileSystemFull() const;

  private:
    std::string path_;
};

}  // namespace morvane::cli
