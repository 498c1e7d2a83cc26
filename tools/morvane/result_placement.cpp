#include "result_placement.h"

#include <cerrno>
#include <cstring>

namespace morvane::cli {

namespace {

bool writeSpliced(const InputDocument& document, const Placement& placement, std::FILE* spool,
                  std::FILE* out) {
    const std::int32_t after = placement.replaced.first + placement.replaced.count;
    bool fine = document.writeLines(out, 0, placement.replaced.first);
    fine = copyLines(spool, out, placement.crlf) && fine;
    return document.writeLines(out, after, document.lineCount() - after) && fine;
}

}  // namespace

Placement decidePlacement(const Observations& seen, LineRange served,
                          const InputDocument& document) {
    Placement placement;
    if (seen.resultInNewWindow) {
        placement.resultAlone = true;
        return placement;
    }
    placement.replaced = served;
    placement.crlf = document.usesCrLf();
    return placement;
}

bool writeResult(const InputDocument& document, const Placement& placement, OutputFile& spool,
                 const Destination& destination, std::string& error) {
    const bool wholeDocument =
        placement.resultAlone ||
        (placement.replaced.first == 0 && placement.replaced.count == document.lineCount());
    if (destination.standardOutput) {
        const bool fine = wholeDocument ? copyLines(spool.stream(), stdout, placement.crlf)
                                        : writeSpliced(document, placement, spool.stream(), stdout);
        if (!fine || std::fflush(stdout) != 0) {
            error = std::string("cannot write the standard output: ") + std::strerror(errno);
            return false;
        }
        return true;
    }
    const mode_t mode = modeForDestination(destination.path);
    if (wholeDocument && !placement.crlf) return spool.commit(destination.path, mode, error);
    OutputFile out;
    if (!out.open(destination.path, error)) return false;
    const bool fine = wholeDocument
                          ? copyLines(spool.stream(), out.stream(), placement.crlf)
                          : writeSpliced(document, placement, spool.stream(), out.stream());
    if (!fine) {
        error = "cannot write " + destination.path + ": " + std::strerror(errno);
        return false;
    }
    return out.commit(destination.path, mode, error);
}

}  // namespace morvane::cli
