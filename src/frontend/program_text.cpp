#include "frontend/program_text.h"

#include <limits>

namespace morvane {

ProgramText::ProgramText(std::string_view text)
    : text_(text), source_{this, &ProgramText::count, &ProgramText::line} {
    constexpr std::size_t kMaxLines = std::numeric_limits<std::int32_t>::max();
    for (std::size_t start = 0; start < text.size() && starts_.size() < kMaxLines;) {
        starts_.push_back(start);
        const std::size_t end = text.find('\n', start);
        start = end == std::string_view::npos ? text.size() : end + 1;
    }
}

std::int32_t ProgramText::count(void* context, std::int32_t* n) {
    *n = static_cast<ProgramText*>(context)->lineCount();
    return 1;
}

std::int32_t ProgramText::line(void* context, std::int32_t index, const char** text) {
    auto* self = static_cast<ProgramText*>(context);
    if (index < 0 || index >= self->lineCount()) {
        *text = nullptr;
        return 1;
    }
    const std::size_t start = self->starts_[static_cast<std::size_t>(index)];
    std::size_t end = self->text_.find('\n', start);
    if (end == std::string_view::npos) end = self->text_.size();
    if (end > start && self->text_[end - 1] == '\r') --end;
    self->buffer_.assign(self->text_.substr(start, end - start));
    *text = self->buffer_.c_str();
    return 1;
}

}  // namespace morvane
