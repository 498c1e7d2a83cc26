#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace morvane::fuzz {

InputDocument::InputDocument(const std::uint8_t* data, std::size_t size)
    : source_{this, &InputDocument::count, &InputDocument::line} {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (end < text.size() && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines_.emplace_back(line);
        start = end + 1;
    }
}

std::int32_t InputDocument::count(void* context, std::int32_t* n) {
    *n = static_cast<std::int32_t>(static_cast<InputDocument*>(context)->lines_.size());
    return 1;
}

std::int32_t InputDocument::line(void* context, std::int32_t index, const char** text) {
    const auto& lines = static_cast<InputDocument*>(context)->lines_;
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < lines.size();
    *text = inside ? lines[static_cast<std::size_t>(index)].c_str() : nullptr;
    return 1;
}

namespace {

std::string makeScratchFile() {
    const char* dir = std::getenv("TMPDIR");
    std::string path =
        std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/morvane-fuzz-XXXXXX";
    const int fd = ::mkstemp(path.data());
    if (fd < 0) {
        std::perror("morvane fuzz: cannot make a scratch file");
        std::abort();
    }
    ::close(fd);
    return path;
}

struct ScratchFile {
    std::string path = makeScratchFile();
    ~ScratchFile() { std::remove(path.c_str()); }
};

}  // namespace

const std::string& scratchFile() {
    static const ScratchFile file;
    return file.path;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

RunLimits fuzzLimits() {
    RunLimits limits;
    limits.nciBytes = 1 << 16;
    limits.repeatedTextBytes = 1 << 16;
    limits.isoRepeatedBlocks = 1 << 10;
    limits.enrolledLines = 1 << 10;
    return limits;
}

void fail(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "morvane fuzz: %.*s\n%.*s\n", static_cast<int>(what.size()), what.data(),
                 static_cast<int>(detail.size() < 2000 ? detail.size() : 2000), detail.data());
    std::abort();
}

}  // namespace morvane::fuzz
