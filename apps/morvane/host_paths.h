// Where the command-line host finds its pieces: the host directory (the program's own directory,
// holding Dll/, Converters/ and locale/), the plug-in library, and the file in which it keeps
// the plug-in's configuration between runs.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace morvane::cli {

struct HostPaths {
    std::string hostDirectory;  // no trailing '/'

    std::string readerLibrary() const { return hostDirectory + "/Dll/MorvaneNCIReader.so"; }
    std::string postLibrary() const { return hostDirectory + "/Dll/MorvanePost.so"; }
    std::string convertersDirectory() const { return hostDirectory + "/Converters"; }
    std::string localeDirectory() const { return hostDirectory + "/locale"; }
};

// The directory of the running program, resolved through symbolic links (so `morvane` on the
// PATH may be a link into the host directory).
HostPaths locateHost();

// Where libmorvane.so may be, in the order tried: $MORVANE_PLUGIN when set, beside the program,
// in the build tree's lib/ (bin/ and lib/ are siblings), in an installation's library
// directory (the host directory is <libdir>/morvane).
std::vector<std::string> pluginCandidates(const HostPaths& host);

// $XDG_CONFIG_HOME/morvane/plugin.conf, or ~/.config/morvane/plugin.conf when XDG_CONFIG_HOME
// is unset, empty or relative; nothing when neither it nor HOME gives a place.
std::optional<std::string> configFilePath();

}  // namespace morvane::cli
