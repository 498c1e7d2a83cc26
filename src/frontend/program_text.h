// A program held in memory, served to a parser through the host's line source: the lines are
// found once (their starts kept), and each line asked for is copied into one reused buffer to be
// NUL-terminated, so serving a line allocates nothing once the buffer has grown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"

namespace morvane {

class ProgramText {
  public:
    // Lines end at a line feed (a carriage return before it is dropped); a last line without
    // one counts, a final line feed adds no empty line.
    explicit ProgramText(std::string_view text);
    ProgramText(const ProgramText&) = delete;
    ProgramText& operator=(const ProgramText&) = delete;

    const LineSource* source() const { return &source_; }
    std::int32_t lineCount() const { return static_cast<std::int32_t>(starts_.size()); }

  private:
    static std::int32_t count(void* context, std::int32_t* n);
    static std::int32_t line(void* context, std::int32_t index, const char** text);

    std::string_view text_;
    std::vector<std::size_t> starts_;
    std::string buffer_;
    LineSource source_;
};

}  // namespace morvane
