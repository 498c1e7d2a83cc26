#include "plugin_session.h"

#include <stdlib.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "output_file.h"
#include "platform/file_system.h"
#include "working_files.h"

namespace morvane::cli {

void performAction(const PluginExports& plugin, EditorHost& host, const ActionSetup& setup,
                   std::FILE* spool) {
    // Options of an earlier action must not leak into this one (the first value of a name wins).
    plugin.clearOptions();
    if (!setup.hasSelection) plugin.setOption(MORVANE_OPTION_SELECTION, MORVANE_CONFIG_FALSE);
    if (setup.config) plugin.setOption(MORVANE_OPTION_PLUGIN_CONFIG, setup.config->c_str());
    plugin.setOption(MORVANE_OPTION_DIAGNOSTICS, MORVANE_CONFIG_TRUE);
    plugin.setOption(MORVANE_OPTION_SEMANTICS, setup.exact ? "exact" : "corrected");
    if (setup.maxOutput)
        plugin.setOption(MORVANE_OPTION_MAX_OUTPUT, std::to_string(*setup.maxOutput).c_str());
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
    removeStaleWorkingFilesNowAndThen(platform::temporaryDirectory());
    std::string pattern = workingDirectoryTemplate(platform::temporaryDirectory());
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

bool ScratchDirectory::fileSystemFull() const {
    struct statvfs space {};
    if (::statvfs(path_.c_str(), &space) != 0) return false;
    // The blocks kept for the superuser count only for the superuser.
    const auto blocks = ::geteuid() == 0 ? space.f_bfree : space.f_bavail;
    const auto files = ::geteuid() == 0 ? space.f_ffree : space.f_favail;
    return blocks == 0 || (space.f_files > 0 && files == 0);
}

void ScratchDirectory::empty() const {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(path_, error))
        std::filesystem::remove(entry.path(), error);
}

}  // namespace morvane::cli
