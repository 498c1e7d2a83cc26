// Names of the host's working files, which carry the id of the process that made them: the
// directory of the plug-in's files `morvane-PID-XXXXXX` in the temporary directory, and the
// files `.NAME.morvane-PID-XXXXXX` written beside an output. A run that was killed (SIGKILL, a
// crash, a power cut) cannot remove its own; a later run removes those whose process is gone.
#pragma once

#include <string>

namespace morvane::cli {

// Templates for mkdtemp / mkostemp: DIRECTORY/morvane-PID-XXXXXX and
// DIRECTORY/.NAME.morvane-PID-XXXXXX.
std::string workingDirectoryTemplate(const std::string& directory);
std::string sideFileTemplate(const std::string& directory, const std::string& name);

// Removes from `directory` the working directories and side files of this user whose process
// has ended (no process has their id). Never one of another user or of a running process;
// names of another form are left alone. Each directory is looked through once per run.
void removeStaleWorkingFiles(const std::string& directory);
// The same in the temporary directory; when it is cluttered (thousands of names) at most once an
// hour for a user: the stamp file `.morvane-swept-UID` there keeps the time of the last look, so
// that a start does not read all of another program's leftovers every time.
void removeStaleWorkingFilesNowAndThen(const std::string& directory);

}  // namespace morvane::cli
