// A host for the project's own tests and tools: a HostRecorder that runs actions through the
// plug-in's nine exports with a MORVANE_DIALOG script.
//
// The plug-in keeps one global state, so one host should be attached at a time; the destructor
// detaches whatever the host attached.
#pragma once

#include <cstdint>
#include <string_view>

#include "host_recorder.h"

namespace morvane::testhost {

class RecordingHost : public HostRecorder {
  public:
    using HostRecorder::HostRecorder;
    ~RecordingHost();

    // Attaches the line source and the result stream, and the localisation source when
    // `localise` is set (otherwise none).
    void attach(bool localise = false);
    // Runs one action with MORVANE_DIALOG set to `script` (restored afterwards); the export's
    // return value.
    std::int32_t perform(std::string_view script);
};

}  // namespace morvane::testhost
