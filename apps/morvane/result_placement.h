// Where the result goes, as a host editor places it: when the plug-in did not ask for a new
// window, the result replaces the text it converted (the selection, or the whole document),
// so the output is the document with those lines replaced; otherwise it is the result alone.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editor_host.h"
#include "input_document.h"
#include "output_file.h"

namespace morvane::cli {

struct Destination {
    enum class Kind {
        StandardOutput,
        File,    // a regular file (new or replaced): written atomically
        Stream,  // an existing device or pipe (-o /dev/null): written straight into
    };
    Kind kind = Kind::StandardOutput;
    std::string path;  // File and Stream
};

// What `path` is as a destination: a Stream when it names an existing file that is not a
// regular one, else a File at the path links resolve to (a link is not replaced by a file).
// Nothing, with the reason, when it is a directory.
std::optional<Destination> destinationAt(const std::string& path, std::string& error);

struct Placement {
    bool resultAlone = false;            // "RESULT_IN_NEW_WINDOW" was sent
    LineRange replaced;                  // the document's lines the result replaces
    std::string_view terminator = "\n";  // of the result lines: the document's own
};

Placement decidePlacement(const Observations& seen, LineRange served,
                          const InputDocument& document);

// Writes the output: the document's lines before the replaced ones (after its byte-order mark),
// the result lines held in `spool`, the document's lines after them. A file destination is
// written atomically; when the result alone is the output, the spool (which lies beside the
// destination) simply becomes it. False with the file and the system's reason in `error`.
bool writeResult(const InputDocument& document, const Placement& placement, OutputFile& spool,
                 const Destination& destination, std::string& error);

}  // namespace morvane::cli
