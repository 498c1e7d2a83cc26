// Exit status of `morvane` and the failure that decides it.
#pragma once

#include <string>

namespace morvane::cli {

enum class ExitStatus : int {
    Done = 0,
    ConversionFailed = 1,  // the run stopped, produced nothing, or the converter was rejected
    Usage = 2,             // bad options, unknown format or converter, nothing chosen to produce
    FileError = 3,         // an input that cannot be read, an output that cannot be written
    Cancelled = 4,         // the user cancelled the dialog
    Installation = 5,      // the plug-in or the post-processor libraries are missing
};

struct Failure {
    ExitStatus status;
    std::string message;
};

}  // namespace morvane::cli
