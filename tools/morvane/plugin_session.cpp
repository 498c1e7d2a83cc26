#include "plugin_session.h"

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "output_file.h"
#include "platform/file_system.h"

namespace morvane::cli {

void performAction(const PluginExports& plugin, EditorHost& host, const ActionSetup& setup,
                   std::FILE* spool) {
    // Options of an earlier action must not leak into this one (the first value of a name wins).
    plugin.clearOptions();
    if (!setup.hasSelection) plugin.setOption("SELECTION", "False");
    if (setup.config) plugin.setOption("PLUGIN_CONFIG", setup.config->c_str());
    plugin.attachLineSource(host.lineSource());
    plugin.attachResultStream(host.resultStream());
    plugin.attachLocalizeSource(host.localizeSource());
    if (setup.script) {
        ::setenv("MORVANE_DIALOG", setup.script->c_str(), 1);
    } else {
        ::unsetenv("MORVANE_DIALOG");
    }
    host.beginAction(spool);
    plugin.performAction();
    host.endAction();
    plugin.attachLineSource(nullptr);
    plugin.attachResultStream(nullptr);
    plugin.attachLocalizeSource(nullptr);
}

ScratchDirectory::~ScratchDirectory() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
    unregisterTemporary(path_);
}

bool ScratchDirectory::create(std::string& error) {
    std::string pattern = platform::temporaryDirectory() + "/morvane-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        error = "cannot make a working directory in " + platform::temporaryDirectory() + ": " +
                std::strerror(errno);
        return false;
    }
    path_ = pattern;
    registerTemporary(path_);
    ::setenv("TMPDIR", path_.c_str(), 1);
    return true;
}

void ScratchDirectory::empty() const {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path_, error))
        std::filesystem::remove(entry.path(), error);
}

}  // namespace morvane::cli
