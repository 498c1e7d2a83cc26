#include "program_file.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <utility>

namespace morvane::bench {

bool ProgramFile::load(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    text_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    bytes_ = text_.size();
    starts_.clear();
    std::size_t start = 0;
    while (start < text_.size()) {
        std::size_t end = text_.find('\n', start);
        if (end == std::string::npos) end = text_.size();
        std::size_t stop = end;
        if (stop > start && text_[stop - 1] == '\r') --stop;
        if (stop < text_.size()) text_[stop] = '\0';
        starts_.push_back(start);
        start = end + 1;
    }
    text_.push_back('\0');
    return true;
}

std::int32_t ProgramFile::countLines(void* context, std::int32_t* count) {
    *count = static_cast<std::int32_t>(static_cast<ProgramFile*>(context)->starts_.size());
    return 1;
}

std::int32_t ProgramFile::getLine(void* context, std::int32_t index, const char** text) {
    const auto* file = static_cast<ProgramFile*>(context);
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < file->starts_.size();
    *text = inside ? file->text_.c_str() + file->starts_[static_cast<std::size_t>(index)] : nullptr;
    return 1;
}

int formatPosition(std::string_view name) {
    constexpr std::pair<std::string_view, int> kFormats[] = {
        {"fanuc", 0}, {"heidenhain", 1}, {"siemens", 2}, {"sinumerik", 3}, {"numeripath", 4},
    };
    for (const auto& [known, position] : kFormats)
        if (known == name) return position;
    return -1;
}

std::uint64_t countMoves(const std::string& nciPath) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(nciPath.c_str(), "rb"),
                                                         &std::fclose);
    if (file == nullptr) return 0;
    // Every record is a code line and a parameter line; only code lines are looked at.
    std::uint64_t moves = 0;
    bool codeLine = true;
    std::string line;
    for (int c = std::fgetc(file.get()); c != EOF; c = std::fgetc(file.get())) {
        if (c != '\n') {
            if (codeLine && line.size() < 8) line.push_back(static_cast<char>(c));
            continue;
        }
        if (codeLine && line.size() == 1 && line[0] >= '0' && line[0] <= '3') ++moves;
        line.clear();
        codeLine = !codeLine;
    }
    return moves;
}

}  // namespace morvane::bench
