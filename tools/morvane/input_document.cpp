#include "input_document.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

#include "nci/line_feeds.h"

namespace morvane::cli {

namespace {

// The plug-in counts lines in a signed 32-bit number and also asks for the line after the last.
constexpr std::size_t kMaxLines = std::numeric_limits<std::int32_t>::max() - 1;
// Line offsets are 32-bit, and the text has one byte more than the file.
constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max() - 1;

struct FileHandle {
    int fd;
    ~FileHandle() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

bool InputDocument::read(const std::string& path, std::string& error) {
    FileHandle file{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
    if (file.fd < 0) {
        error = std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::fstat(file.fd, &info) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (S_ISDIR(info.st_mode)) {
        error = "it is a directory";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "it is not a regular file";
        return false;
    }
    // One read of the size the file has now; a file that grows meanwhile is read up to here.
    const auto expected = static_cast<std::size_t>(info.st_size);
    if (expected > kMaxSize) {
        error = "it is larger than 4 GiB";
        return false;
    }
    text_ = allocateText(expected + 1);
    if (text_ == nullptr) {
        error = "there is not enough memory to hold it";
        return false;
    }
    std::size_t got = 0;
    while (got < expected) {
        const ssize_t n = ::read(file.fd, text_.get() + got, expected - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = std::strerror(errno);
            return false;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    size_ = got;
    text_.get()[size_] = '\0';
    index();
    if (starts_.size() - 1 > kMaxLines) {
        error = "it has more lines than a program may have";
        return false;
    }
    return true;
}

void InputDocument::FreeText::operator()(char* text) const {
    std::free(text);
}

std::unique_ptr<char, InputDocument::FreeText> InputDocument::allocateText(std::size_t bytes) {
    // A large program is held in huge pages where the system offers them: touching the text
    // page by page would otherwise cost one page fault per 4 KiB, which for a program of many
    // megabytes takes longer than reading it. Not zeroed: the read fills it.
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (bytes < kHugePage)
        return std::unique_ptr<char, FreeText>(static_cast<char*>(std::malloc(bytes)));
    const std::size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
    char* text = static_cast<char*>(std::aligned_alloc(kHugePage, rounded));
    if (text != nullptr) ::madvise(text, rounded, MADV_HUGEPAGE);
    return std::unique_ptr<char, FreeText>(text);
}

void InputDocument::assign(std::string_view text) {
    size_ = std::min(text.size(), kMaxSize);
    text_ = allocateText(size_ + 1);
    if (text_ == nullptr) throw std::bad_alloc();
    std::memcpy(text_.get(), text.data(), size_);
    text_.get()[size_] = '\0';
    index();
}

void InputDocument::index() {
    char* const text = text_.get();
    // Counted first, so the index is allocated once at its final size: growing it by doubling
    // would for a moment hold it one and a half times over.
    const std::size_t lines = countLineFeeds(text, size_) + 1;
    starts_.clear();
    starts_.shrink_to_fit();
    starts_.reserve(lines + 1);
    starts_.push_back(0);
    crlf_.clear();
    crlf_.reserve(lines);
    std::size_t start = 0;
    forEachLineFeed(text, size_, [&](std::size_t end) {
        const bool crlf = end > start && text[end - 1] == '\r';
        text[end] = '\0';
        if (crlf) text[end - 1] = '\0';
        crlf_.push_back(crlf);
        starts_.push_back(static_cast<std::uint32_t>(end + 1));
        start = end + 1;
    });
    lastTerminated_ = size_ > 0 && start == size_;
    if (start < size_) {  // a last line without a line feed
        crlf_.push_back(false);
        starts_.push_back(static_cast<std::uint32_t>(size_ + 1));
    }
}

const char* InputDocument::lineText(std::int32_t index) const {
    if (index < 0 || index >= lineCount()) return nullptr;
    return text_.get() + starts_[static_cast<std::size_t>(index)];
}

std::string_view InputDocument::line(std::int32_t index) const {
    if (index < 0 || index >= lineCount()) return {};
    const auto i = static_cast<std::size_t>(index);
    // Up to the next line's start, less the terminator (the last line may have none).
    std::size_t end = starts_[i + 1] - 1;
    if (crlf_[i]) --end;
    return {text_.get() + starts_[i], end - starts_[i]};
}

std::vector<std::string_view> InputDocument::head(std::size_t maxLines) const {
    std::vector<std::string_view> lines;
    for (std::int32_t i = 0; i < lineCount() && lines.size() < maxLines; ++i)
        lines.push_back(line(i));
    return lines;
}

bool InputDocument::writeLines(std::FILE* out, std::int32_t first, std::int32_t count) const {
    for (std::int32_t i = first; i < first + count && i < lineCount(); ++i) {
        const std::string_view text = line(i);
        std::fwrite(text.data(), 1, text.size(), out);
        const bool terminated = i + 1 < lineCount() || lastTerminated_;
        if (terminated) std::fputs(crlf_[static_cast<std::size_t>(i)] ? "\r\n" : "\n", out);
    }
    return std::ferror(out) == 0;
}

}  // namespace morvane::cli
