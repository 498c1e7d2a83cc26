// The program text as the parsers read it: a thin wrapper over the host's line source.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "morvane/plugin_api.h"

namespace morvane {

// Reads lines from the host. A missing source, a missing function or a null text all read as an
// empty line; a negative count reads as 0. Each line is copied at once (the host's pointer is
// only valid until its next call) into a buffer that is reused, so reading allocates nothing
// once the buffer has grown to the longest line.
class ProgramSource {
  public:
    explicit ProgramSource(const LineSource* source) : source_(source) {}

    // Asks the host for its line count.
    std::int32_t askLineCount() const {
        std::int32_t count = 0;
        if (source_ != nullptr && source_->getLineCount != nullptr)
            source_->getLineCount(source_->context, &count);
        return count < 0 ? 0 : count;
    }

    // Fetches line `index`; the view stays valid until the next call.
    std::string_view line(std::int32_t index) {
        const char* text = nullptr;
        if (source_ != nullptr && source_->getLine != nullptr)
            source_->getLine(source_->context, index, &text);
        if (text == nullptr) return {};
        const std::size_t size = std::strlen(text);
        if (size > buffer_.size()) buffer_.resize(size);
        std::memcpy(buffer_.data(), text, size);
        return {buffer_.data(), size};
    }

    // True when a character of line `index` satisfies `wanted`; the line is looked at where the
    // host keeps it, without a copy (a quick look before reading a line in full).
    template <class Predicate>
    bool holdsAny(std::int32_t index, Predicate wanted) const {
        const char* text = nullptr;
        if (source_ != nullptr && source_->getLine != nullptr)
            source_->getLine(source_->context, index, &text);
        if (text == nullptr) return false;
        for (; *text != '\0'; ++text)
            if (wanted(*text)) return true;
        return false;
    }

  private:
    const LineSource* source_;
    std::vector<char> buffer_;  // the last line's copy; grows to the longest line
};

}  // namespace morvane
