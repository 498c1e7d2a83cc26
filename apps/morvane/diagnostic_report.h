// The diagnostics of a conversion as the user reads them: the plug-in's, received as
// "LINE:CODE: MESSAGE" about the lines it was served, and the host's own about the file it
// read. Printed on standard error in the form compilers use, "part.nc:12: warning: MESSAGE
// [CODE]", with a count of them all at the end of the command.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "nci/diagnostics.h"

namespace morvane::cli {

struct HostDiagnostic {
    std::uint64_t line = 0;  // 1-based line of the input file; 0: no line
    std::string code;        // as the plug-in named it; empty when the text had no code
    Severity severity = Severity::Warning;
    std::string message;
};

// A diagnostic the plug-in sent. Its LINE counts in what was served: `firstServed`, the
// 0-based file line served first, turns it into the file's line. Its severity is its code's
// under the `semantics` the host asked for (a correction is a warning with the exact semantics,
// a note with the corrected one). A code this build does not know is a warning; a text not of
// the form LINE:CODE: MESSAGE is a warning of its own.
HostDiagnostic parseDiagnostic(std::string_view text, std::int32_t firstServed,
                               Semantics semantics);

// "FILE:LINE: SEVERITY: MESSAGE [CODE]", or "FILE: SEVERITY: MESSAGE [CODE]" without a line.
std::string formatDiagnostic(const std::string& file, const HostDiagnostic& diagnostic);

// Prints diagnostics and counts them by severity; quiet hides notes and warnings, never errors.
class DiagnosticPrinter {
  public:
    DiagnosticPrinter(bool quiet, std::FILE* out) : quiet_(quiet), out_(out) {}

    void print(const std::string& file, const HostDiagnostic& diagnostic);
    // "morvane: 2 warnings and 1 error" over what was printed; empty when nothing was.
    std::string summary() const;
    // Diagnostics printed by someone else (the worker of a program in a batch), counted in.
    void count(const std::array<std::uint64_t, 3>& printed);
    const std::array<std::uint64_t, 3>& printed() const { return printed_; }

  private:
    bool quiet_;
    std::FILE* out_;
    std::array<std::uint64_t, 3> printed_{};  // by severity
};

}  // namespace morvane::cli
