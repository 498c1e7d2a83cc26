#include "result_placement.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace morvane::cli {

namespace {

bool writeSpliced(const InputDocument& document, const Placement& placement, std::FILE* spool,
                  BufferedFile& out) {
    const std::int32_t after = placement.replaced.first + placement.replaced.count;
    out.write(document.byteOrderMark());
    return document.writeLines(out, 0, placement.replaced.first) &&
           copyLines(spool, out, placement.terminator) &&
           document.writeLines(out, after, document.lineCount() - after);
}

// The system's reason for a failure of writing `out` (or of reading the spool).
std::string reason(const BufferedFile& out, int readError) {
    const int error = out.error() != 0 ? out.error() : readError;
    return std::strerror(error != 0 ? error : EIO);
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
    placement.terminator = document.terminator();
    return placement;
}

std::optional<Destination> destinationAt(const std::string& path, std::string& error) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return Destination{Destination::Kind::File, path};
    if (S_ISDIR(info.st_mode)) {
        error = path + " is a directory";
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) return Destination{Destination::Kind::Stream, path};
    std::error_code failed;
    const std::filesystem::path real = std::filesystem::canonical(path, failed);
    return Destination{Destination::Kind::File, failed ? path : real.string()};
}

bool writeResult(const InputDocument& document, const Placement& placement, OutputFile& spool,
                 const Destination& destination, std::string& error) {
    const bool wholeDocument =
        placement.resultAlone ||
        (placement.replaced.first == 0 && placement.replaced.count == document.lineCount());
    // Writes the output into `out` and lets it go (an opened file closed, another flushed).
    const auto writeInto = [&](BufferedFile& out, const std::string& name) {
        errno = 0;
        const bool copied = wholeDocument
                                ? copyLines(spool.stream(), out, placement.terminator)
                                : writeSpliced(document, placement, spool.stream(), out);
        const int readError = copied ? 0 : errno;
        if (out.close() && copied) return true;
        error = "cannot write " + name + ": " + reason(out, readError);
        return false;
    };
    BufferedFile out;
    if (destination.kind == Destination::Kind::StandardOutput) {
        out.attach(stdout);
        return writeInto(out, "the standard output");
    }
    if (destination.kind == Destination::Kind::Stream) {
        if (out.open(destination.path)) return writeInto(out, destination.path);
        error = "cannot write " + destination.path + ": " + reason(out, 0);
        return false;
    }
    const mode_t mode = modeForDestination(destination.path);
    if (wholeDocument && placement.terminator == "\n")
        return spool.commit(destination.path, mode, error);
    OutputFile file;
    if (!file.open(destination.path, error)) return false;
    out.attach(file.stream());
    return writeInto(out, destination.path) && file.commit(destination.path, mode, error);
}

}  // namespace morvane::cli
