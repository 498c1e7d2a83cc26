// The user's choices written as a MORVANE_DIALOG script: the actions a user would take in the
// plug-in's dialog, ending with OK.
#pragma once

#include <optional>
#include <string>

#include "formats/source_formats.h"

namespace morvane::cli {

struct DialogChoices {
    SourceFormat format = SourceFormat::Fanuc;
    // Each optional switch left empty keeps what the dialog restored from the configuration.
    std::optional<bool> convertToNci;          // "Convert to NCI format"
    std::optional<std::string> converterPath;  // browse to this file (absolute path)
    std::optional<bool> longhandCycles;        // "Use longhand cycles"
    bool selectionOnly = false;                // check "Selection only" (a selection exists)
    bool resultInNewWindow = false;            // "Result in new window"
};

// The script, or nothing with the reason in `error` when a path cannot be written in a script
// (it may not contain ';' nor begin or end with a blank).
std::optional<std::string> buildDialogScript(const DialogChoices& choices, std::string& error);

}  // namespace morvane::cli
