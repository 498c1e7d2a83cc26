#include "line_reader.h"

#include <cstring>

namespace morvane::post {

namespace {

constexpr std::size_t kChunkSize = 1 << 16;
static_assert(kChunkSize > 2 * LineReader::kMaxLineLength, "a whole line must fit a chunk");

std::string_view dropCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

LineReader::LineReader(std::FILE* file) : file_(file), buffer_(kChunkSize) {
    endOfInput_ = file_ == nullptr;
}

LineReader::LineReader(std::string_view text) : text_(text), endOfInput_(true) {}

// Moves the unread bytes to the front of the buffer and reads more behind them.
bool LineReader::fill() {
    if (endOfInput_) return false;
    const std::size_t kept = text_.size();
    if (kept > 0 && text_.data() != buffer_.data())
        std::memmove(buffer_.data(), text_.data(), kept);
    const std::size_t got = std::fread(buffer_.data() + kept, 1, buffer_.size() - kept, file_);
    if (got == 0) {
        endOfInput_ = true;
        failed_ = std::ferror(file_) != 0;
    }
    text_ = std::string_view(buffer_.data(), kept + got);
    return got > 0;
}

bool LineReader::next(std::string_view& line, bool& cut) {
    cut = false;
    while (true) {
        const std::size_t feed = text_.find('\n');
        if (feed != std::string_view::npos) {
            line = text_.substr(0, feed);
            text_.remove_prefix(feed + 1);
            break;
        }
        if (text_.size() > kMaxLineLength) {
            // No line feed within the longest line kept: copy its start out of the chunk, then
            // read on to its end.
            if (file_ == nullptr) {
                line = text_;
                text_ = {};
                break;
            }
            held_.assign(text_.substr(0, kMaxLineLength));
            text_ = {};
            while (fill()) {
                const std::size_t end = text_.find('\n');
                if (end != std::string_view::npos) {
                    text_.remove_prefix(end + 1);
                    break;
                }
                text_ = {};
            }
            line = held_;
            cut = true;
            ++lineNumber_;
            return true;
        }
        if (!fill()) {
            if (text_.empty()) return false;
            line = text_;
            text_ = {};
            break;
        }
    }
    ++lineNumber_;
    if (line.size() > kMaxLineLength) {
        line = line.substr(0, kMaxLineLength);
        cut = true;
    }
    line = dropCarriageReturn(line);
    return true;
}

}  // namespace morvane::post
