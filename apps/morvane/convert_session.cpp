#include "convert_session.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "config_store.h"
#include "file_kind.h"
#include "parallel_batch.h"
#include "platform/file_system.h"

namespace morvane::cli {

namespace {

// The user can answer a dialog in the terminal: standard input is a terminal and the process
// has a controlling terminal to draw on.
bool terminalAvailable() {
    if (::isatty(STDIN_FILENO) == 0) return false;
    const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// The post-processor's libraries load: a file that is there but broken (empty, cut short, for
// another machine) is named with the loader's reason, not taken for a program without NCI.
std::optional<Failure> checkPostLibraries(const HostPaths& host) {
    std::string missing;
    for (const std::string& library : {host.readerLibrary(), host.postLibrary()})
        if (!platform::isRegularFile(library)) missing += "\n  " + library;
    if (!missing.empty())
        return Failure{ExitStatus::Installation,
                       "the post-processor libraries are missing:" + missing};
    for (const std::string& library : {host.readerLibrary(), host.postLibrary()})
        if (const std::string why = libraryLoadError(library); !why.empty())
            return Failure{ExitStatus::Installation,
                           "cannot load the post-processor library " + library + ": " + why};
    return std::nullopt;
}

}  // namespace

void say(const std::string& subject, const std::string& message) {
    std::fprintf(stderr, "morvane: %s%s%s\n", subject.c_str(), subject.empty() ? "" : ": ",
                 message.c_str());
}

ConvertSession::ConvertSession(const ConvertOptions& o)
    : options(o),
      progress(STDERR_FILENO, o.progress && ::isatty(STDERR_FILENO) != 0),
      canInteract(terminalAvailable()),
      diagnostics(o.quiet, stderr) {}

std::optional<Failure> prepareSession(ConvertSession& s) {
    s.host = locateHost();
    std::string error;
    if (!s.plugin.load(pluginCandidates(s.host), error))
        return Failure{ExitStatus::Installation, error};
    if (auto failure = checkPostLibraries(s.host)) return failure;
    if (s.options.locale) {
        const std::string path = resolveLocale(*s.options.locale, s.host.localeDirectory());
        if (path.empty())
            return Failure{ExitStatus::Usage, "no translation file " + *s.options.locale +
                                                  " (nor " + s.host.localeDirectory() + "/" +
                                                  *s.options.locale + ".conf)"};
        if (!s.locale.read(path, error)) return Failure{ExitStatus::FileError, error};
        s.localised = true;
    }
    if (s.options.converter) {
        // A path to something that is not a file would be mistaken for an unknown name.
        if (const std::string problem = notAConverterFile(*s.options.converter); !problem.empty())
            return Failure{ExitStatus::Usage,
                           "the converter " + *s.options.converter + " " + problem};
        s.converter = findConverter(*s.options.converter, s.host.convertersDirectory());
        if (!s.converter) {
            const auto available = listConverters(s.host.convertersDirectory());
            return Failure{ExitStatus::Usage,
                           "unknown converter '" + *s.options.converter + "'; the converters in " +
                               s.host.convertersDirectory() + " are:\n" +
                               (available.empty() ? "  (none)\n" : converterListing(available)) +
                               "or give the path of a .conv file"};
        }
    }
    if (!s.options.noConfig) {
        s.configPath = configFilePath();
        if (s.configPath) s.config = loadConfig(*s.configPath);
    }
    if (!s.scratch.create(error)) return Failure{ExitStatus::FileError, error};
    // A worker of a batch says it once for the command, not once more for its first program.
    if (s.options.verbose && std::getenv(kBatchWorkerVariable) == nullptr) {
        say("", "plug-in " + s.plugin.path() + " (version " + s.plugin.version() + ")");
        say("", "configuration " + (s.configPath ? *s.configPath : std::string("not kept")) +
                    (s.config ? "" : " (none stored yet)"));
    }
    return std::nullopt;
}

}  // namespace morvane::cli
