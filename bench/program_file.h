// An NC program file held in memory and served as the host's line source, for the measuring
// tools that run the core library without the plug-in: each line is NUL-terminated in place.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"

namespace morvane::bench {

class ProgramFile {
  public:
    // False when the file cannot be read.
    bool load(const std::string& path);

    std::size_t lineCount() const { return starts_.size(); }
    std::uint64_t bytes() const { return bytes_; }
    // The line source over the loaded lines; valid while this object lives.
    const LineSource* source() const { return &source_; }

  private:
    static std::int32_t countLines(void* context, std::int32_t* count);
    static std::int32_t getLine(void* context, std::int32_t index, const char** text);

    std::string text_;
    std::vector<std::size_t> starts_;  // offset of each line
    std::uint64_t bytes_ = 0;
    LineSource source_{this, &countLines, &getLine};
};

// Input formats by name, as the format list orders them; -1 for an unknown name.
int formatPosition(std::string_view name);

// Record lines of an NCI file that are moves (codes 0 to 3).
std::uint64_t countMoves(const std::string& nciPath);

}  // namespace morvane::bench
