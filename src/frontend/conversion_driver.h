// One conversion from the user's choices to the result the host receives: tells the host which
// lines to serve, makes the NCI and result files, loads the post-processor, runs the conversion
// of the chosen format (frontend/conversion_run.h), returns the NCI text or the
// post-processor's output, stores and sends the configuration, and removes its working files.
#pragma once

#include <memory>
#include <string>

#include "frontend/conversion_run.h"
#include "frontend/post_library.h"
#include "morvane/input_formats.hpp"
#include "nci/diagnostics.h"
#include "nci/supported_cycle.h"
#include "frontend/plugin_state.h"

namespace morvane {

class SystemServices;
class HostOutput;

// The dialog's state when OK was clicked.
struct ConversionChoices {
    bool selectionOnly = true;       // "Selection only"
    bool longhandCycles = false;     // "Use longhand cycles"
    bool convertToNci = false;       // "Convert to NCI format"
    bool resultInNewWindow = false;  // "Result in new window"
    int formatPosition = -1;         // selected format-list entry, -1 for none
    std::string converterPath;       // UTF-8, as the converter field shows it
};

// Runs one conversion. The entry points found in the reader library are stored in `entries`
// (they belong to the dialog). The two working files in the temporary directory and the
// post-processor's warnings file beside the result are removed when the run ends, whatever
// its outcome.
class ConversionDriver {
  public:
    ConversionDriver(PluginState& state, SystemServices& services, PostEntryPoints& entries,
                     ParserFactory parsers = &makeParser)
        : state_(state), services_(services), entries_(entries), parsers_(parsers) {}

    void run(const ConversionChoices& choices);

  private:
    // A new working file in the temporary directory; empty, with the failure reported, when
    // none can be made.
    std::string makeWorkingFile(Diagnostics& diagnostics);
    // False when the run stops there: nothing more reaches the host.
    bool collectCycles(const ConversionChoices& choices, HostOutput& host,
                       const PostLibraryPaths& paths, SupportedCycleList& cycles);
    // False when the NCI file could not be written whole (the failure is reported).
    bool convertProgram(int formatPosition, const std::string& nciPath,
                        const SupportedCycleList& cycles, Diagnostics& diagnostics);
    // The diagnostics (when the host asked for them), the placement of the result and the
    // configuration string: the end of every run that got past the library.
    void finish(const ConversionChoices& choices, HostOutput& host,
                const Diagnostics& diagnostics);

    PluginState& state_;
    SystemServices& services_;
    PostEntryPoints& entries_;
    ParserFactory parsers_;
};

}  // namespace morvane
