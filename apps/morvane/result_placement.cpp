#include "result_placement.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace morvane::cli {

namespace {

bool writeSpliced(const InputDocument& document, const Placement& placement, std::FILE* spool,
                  std::FILE* out) {
    const std::int32_t after = placement.replaced.first + placement.replaced.count;
    return writeBytes(out, document.byteOrderMark()) &&
           document.writeLines(out, 0, placement.replaced.first) &&
           copyLines(spool, out, placement.terminator) &&
           document.writeLines(out, after, document.lineCount() - after);
}

std::string reason() {
    return std::strerror(errno != 0 ? errno : EIO);
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
    const auto writeInto = [&](std::FILE* out) {
        errno = 0;
        return wholeDocument ? copyLines(spool.stream(), out, placement.terminator)
                             : writeSpliced(document, placement, spool.stream(), out);
    };
    if (destination.kind == Destination::Kind::StandardOutput) {
        if (!writeInto(stdout) || std::fflush(stdout) != 0) {
            error = "cannot write the standard output: " + reason();
            return false;
        }
        return true;
    }
    if (destination.kind == Destination::Kind::Stream) {
        std::FILE* out = std::fopen(destination.path.c_str(), "wb");
        if (out == nullptr) {
            error = "cannot write " + destination.path + ": " + reason();
            return false;
        }
        const bool written = writeInto(out) && std::fflush(out) == 0;
        const std::string why = reason();
        if (std::fclose(out) != 0 || !written) {
            error = "cannot write " + destination.path + ": " + (written ? reason() : why);
            return false;
        }
        return true;
    }
    const mode_t mode = modeForDestination(destination.path);
    if (wholeDocument && placement.terminator == "\n")
        return spool.commit(destination.path, mode, error);
    OutputFile out;
    if (!out.open(destination.path, error)) return false;
    if (!writeInto(out.stream())) {
        error = "cannot write " + destination.path + ": " + reason();
        return false;
    }
    return out.commit(destination.path, mode, error);
}

}  // namespace morvane::cli
