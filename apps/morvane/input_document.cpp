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

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "file_kind.h"
#include "input_encoding.h"
#include "nci/limits.h"
#include "nci/line_feeds.h"

namespace morvane::cli {

namespace {

// Line starts are 32-bit.
constexpr std::size_t kMaxSize = std::numeric_limits<std::uint32_t>::max() - 1;
// NUL bytes after the text: its last line's end, and room to look at 16 bytes at once.
constexpr std::size_t kPadding = 16;

// The length of the NUL-terminated text at `line`, which kPadding readable bytes follow.
// Lines are short: one compare of 16 bytes or two is cheaper than a call of strlen.
std::size_t lineLength(const char* line) {
#if defined(__SSE2__)
    const __m128i nul = _mm_setzero_si128();
    for (std::size_t n = 0;; n += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line + n));
        const auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, nul)));
        if (found != 0) return n + static_cast<std::size_t>(__builtin_ctz(found));
    }
#else
    return std::strlen(line);
#endif
}

struct FileHandle {
    int fd;
    ~FileHandle() {
        if (fd >= 0) ::close(fd);
    }
};

std::string notRegular(mode_t mode) {
    if (S_ISDIR(mode)) return "it is a directory";
    return "it is not a regular file but " + fileKind(mode) +
           (S_ISFIFO(mode) ? ": save the program into a file first" : "");
}

// Line terminators in [text, text + size): every line feed, and every carriage return that no
// line feed follows. text[size] must be readable.
std::size_t countTerminators(const char* text, std::size_t size) {
    std::size_t count = 0;
    std::size_t at = 0;
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    const __m128i carriage = _mm_set1_epi8('\r');
    const __m128i zero = _mm_setzero_si128();
    const auto ends = [&](std::size_t offset) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + offset));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + offset + 1));
        return _mm_or_si128(
            _mm_cmpeq_epi8(bytes, feed),
            _mm_andnot_si128(_mm_cmpeq_epi8(next, feed), _mm_cmpeq_epi8(bytes, carriage)));
    };
    // Byte-wide counts (a match is -1, subtracted), four blocks of 16 bytes a step, for at most
    // 63 steps (252 in a byte), then summed.
    while (at + 64 <= size) {
        __m128i counts = zero;
        for (int steps = 0; steps < 63 && at + 64 <= size; ++steps, at += 64) {
            counts = _mm_sub_epi8(counts, ends(at));
            counts = _mm_sub_epi8(counts, ends(at + 16));
            counts = _mm_sub_epi8(counts, ends(at + 32));
            counts = _mm_sub_epi8(counts, ends(at + 48));
        }
        const __m128i sums = _mm_sad_epu8(counts, zero);
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; at < size; ++at)
        count += text[at] == '\n' || (text[at] == '\r' && text[at + 1] != '\n') ? 1 : 0;
    return count;
}

// One read(2) of at most `room` bytes into `at`, again when a signal interrupts it; `got` 0 at
// the end of the file.
bool readSome(int fd, char* at, std::size_t room, std::size_t& got, std::string& error) {
    for (;;) {
        const ssize_t n = ::read(fd, at, room);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return true;
        }
        if (errno != EINTR) {
            error = std::strerror(errno);
            return false;
        }
    }
}

}  // namespace

bool InputDocument::read(const std::string& path, std::string& error) {
    // A named pipe or a device would block or never end: only a regular file is opened, and
    // without waiting, in case it was swapped for something else in between.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = notRegular(info.st_mode);
        return false;
    }
    FileHandle file{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    if (file.fd < 0 || ::fstat(file.fd, &info) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = notRegular(info.st_mode);
        return false;
    }
    // One read of the size the file has now; a file that grows meanwhile is read up to here.
    const auto expected = static_cast<std::size_t>(info.st_size);
    if (expected > kMaxSize) {
        error = "it is larger than 4 GiB";
        return false;
    }
    buffer_ = allocateText(expected + kPadding);
    if (buffer_ == nullptr) {
        error = "there is not enough memory to hold it";
        return false;
    }
    std::size_t got = 0;
    while (got < expected) {
        std::size_t n = 0;
        if (!readSome(file.fd, buffer_.get() + got, expected - got, n, error)) return false;
        if (n == 0) break;
        got += n;
    }
    return load(got, path, error);
}

bool InputDocument::readStream(int fd, const std::string& name, std::string& error) {
    // The size is not known: the buffer doubles as the text comes.
    std::size_t capacity = std::size_t{64} << 10;
    std::size_t got = 0;
    buffer_ = allocateText(capacity + kPadding);
    for (;;) {
        if (buffer_ == nullptr) {
            error = "there is not enough memory to hold it";
            return false;
        }
        std::size_t n = 0;
        if (!readSome(fd, buffer_.get() + got, capacity - got, n, error)) return false;
        if (n == 0) break;
        got += n;
        if (got < capacity) continue;
        if (capacity == kMaxSize) {
            error = "it is larger than 4 GiB";
            return false;
        }
        capacity = std::min(capacity * 2, kMaxSize);
        char* const grown = static_cast<char*>(std::realloc(buffer_.get(), capacity + kPadding));
        if (grown != nullptr) static_cast<void>(buffer_.release());
        buffer_.reset(grown);
    }
    return load(got, name, error);
}

bool InputDocument::assign(std::string_view text, std::string* error) {
    const std::size_t size = std::min(text.size(), kMaxSize);
    buffer_ = allocateText(size + kPadding);
    if (buffer_ == nullptr) throw std::bad_alloc();
    std::memcpy(buffer_.get(), text.data(), size);
    std::string ignored;
    return load(size, "(text)", error != nullptr ? *error : ignored);
}

bool InputDocument::load(std::size_t size, const std::string& path, std::string& error) {
    char* const bytes = buffer_.get();
    std::memset(bytes + size, 0, kPadding);
    text_ = bytes;
    size_ = size;
    lines_ = 0;
    rawLines_ = 0;
    ends_.clear();
    anchors_.clear();
    cursorLine_ = 0;
    cursorStart_ = 0;
    jumps_.fill({});  // line 0 starts at 0: right for it, no other line's
    if (const auto wide = wideEncodingOf({bytes, size})) {
        error = wideEncodingMessage(*wide, path);
        size_ = 0;
        return false;
    }
    sample_ = sampleText({bytes, size});
    byteOrderMark_ = std::string_view(bytes, size).starts_with(kUtf8ByteOrderMark);
    if (byteOrderMark_) {
        text_ += kUtf8ByteOrderMark.size();
        size_ -= kUtf8ByteOrderMark.size();
    }
    // Counted before anything is indexed, so that a file of nothing but line ends is refused
    // before its index is built, and the index is allocated once at its final size.
    const bool lastOpen = size_ > 0 && text_[size_ - 1] != '\n' && text_[size_ - 1] != '\r';
    const std::size_t lines = countTerminators(text_, size_) + (lastOpen ? 1 : 0);
    if (lines > static_cast<std::size_t>(limits::kProgramLines)) {
        error = "it has " + std::to_string(lines) + " lines, more than the " +
                std::to_string(limits::kProgramLines) + " a program may have; split it";
        size_ = 0;
        return false;
    }
    ends_.assign((lines + 31) / 32, 0);
    anchors_.reserve(lines / kAnchorEvery + 1);
    index();
    return true;
}

void InputDocument::index() {
    char* const text = text_;
    std::size_t start = 0;
    bool raw = false;  // the current line holds a NUL byte
    anchors_.push_back(0);
    const auto endLine = [&](std::size_t terminator, std::size_t next, LineEnd end) {
        if (raw) {
            end = kRaw;
            ++rawLines_;
        } else {
            text[terminator] = '\0';
            text[next - 1] = '\0';
        }
        setEnd(lines_++, end);
        start = next;
        raw = false;
        if (static_cast<std::uint32_t>(lines_) % kAnchorEvery == 0)
            anchors_.push_back(static_cast<std::uint32_t>(start));
    };
    forEachByteOf<'\n', '\r', '\0'>(text, size_, [&](std::size_t at) {
        const char c = text[at];
        if (c == '\n') {
            if (at > start && text[at - 1] == '\r') {
                endLine(at - 1, at + 1, kCrLf);
            } else {
                endLine(at, at + 1, kLf);
            }
        } else if (c == '\r') {
            // Before a line feed it is part of a CR LF, ended there.
            if (text[at + 1] != '\n') endLine(at, at + 1, kCr);
        } else {
            raw = true;
        }
    });
    lastTerminated_ = start == size_ && size_ > 0;
    if (start < size_) {  // a last line without a terminator
        if (raw) ++rawLines_;
        setEnd(lines_++, raw ? kRaw : kLf);
    }
}

void InputDocument::setEnd(std::int32_t index, LineEnd end) {
    const auto i = static_cast<std::size_t>(index);
    ends_[i / 32] |= std::uint64_t{end} << (2 * (i % 32));
}

std::size_t InputDocument::endAt(std::int32_t index, std::size_t start) const {
    if (endOf(index) != kRaw) return start + lineLength(text_ + start);
    std::size_t end = start;
    while (end < size_ && text_[end] != '\n' && text_[end] != '\r')
        ++end;
    return end;
}

std::string_view InputDocument::terminatorOf(std::int32_t index, std::size_t end) const {
    switch (endOf(index)) {
        case kLf:
            return "\n";
        case kCrLf:
            return "\r\n";
        case kCr:
            return "\r";
        case kRaw:
            break;
    }
    if (end >= size_) return {};
    if (text_[end] == '\n') return "\n";
    return text_[end + 1] == '\n' ? "\r\n" : "\r";
}

std::size_t InputDocument::nextStart(std::int32_t index, std::size_t start) const {
    const LineEnd end = endOf(index);
    if (end != kRaw) return start + lineLength(text_ + start) + (end == kCrLf ? 2 : 1);
    const std::size_t last = endAt(index, start);
    return last + terminatorOf(index, last).size();
}

std::size_t InputDocument::startOf(std::int32_t index) const {
    // Reading in order: one step from the line before.
    const auto line = static_cast<std::uint32_t>(index);
    if (line == cursorLine_ + 1 && line % kAnchorEvery != 0) {
        const LineEnd end = endOf(static_cast<std::int32_t>(cursorLine_));
        if (end != kRaw) {
            cursorStart_ += lineLength(text_ + cursorStart_) + (end == kCrLf ? 2 : 1);
            cursorLine_ = line;
            return cursorStart_;
        }
    }
    return seek(line);
}

std::size_t InputDocument::seek(std::uint32_t line) const {
    // A subprogram run again and again jumps to the same few lines.
    Position& jump = jumps_[line % jumps_.size()];
    if (jump.line == line) {
        cursorLine_ = line;
        cursorStart_ = jump.start;
        return cursorStart_;
    }
    // Back, or past the next kept start: from the kept start at or before the line.
    const std::uint32_t anchor = line / kAnchorEvery * kAnchorEvery;
    if (line < cursorLine_ || anchor > cursorLine_) {
        cursorLine_ = anchor;
        cursorStart_ = anchors_[anchor / kAnchorEvery];
    }
    for (; cursorLine_ < line; ++cursorLine_)
        cursorStart_ = nextStart(static_cast<std::int32_t>(cursorLine_), cursorStart_);
    jump = {line, cursorStart_};
    return cursorStart_;
}

const char* InputDocument::lineText(std::int32_t index) const {
    if (index < 0 || index >= lines_) return nullptr;
    return text_ + startOf(index);
}

std::string_view InputDocument::line(std::int32_t index) const {
    if (index < 0 || index >= lines_) return {};
    const std::size_t start = startOf(index);
    return {text_ + start, endAt(index, start) - start};
}

std::string_view InputDocument::terminator() const {
    if (lines_ == 0) return "\n";
    const std::string_view end = terminatorOf(0, endAt(0, 0));
    return end.empty() ? "\n" : end;
}

std::string_view InputDocument::byteOrderMark() const {
    return byteOrderMark_ ? kUtf8ByteOrderMark : std::string_view();
}

std::vector<std::string_view> InputDocument::head(std::size_t maxLines) const {
    std::vector<std::string_view> lines;
    for (std::int32_t i = 0; i < lines_ && lines.size() < maxLines; ++i)
        lines.push_back(line(i));
    return lines;
}

std::vector<NulByteLine> InputDocument::nulByteLines(LineRange range, std::size_t max,
                                                     std::size_t& total) const {
    std::vector<NulByteLine> found;
    total = 0;
    const std::int32_t last = std::min(lines_, range.first + range.count);
    for (std::int32_t i = std::max(range.first, 0); rawLines_ > 0 && i < last; ++i) {
        if (endOf(i) != kRaw) continue;
        if (++total <= max) found.push_back({i, std::strlen(lineText(i)) + 1});
    }
    return found;
}

bool InputDocument::writeLines(BufferedFile& out, std::int32_t first, std::int32_t count) const {
    const std::int32_t last = std::min(lines_, first + count);
    if (first >= last) return true;
    std::size_t start = startOf(first);
    for (std::int32_t i = first; i < last; ++i) {
        const std::size_t end = endAt(i, start);
        const std::string_view terminator =
            i + 1 < lines_ || lastTerminated_ ? terminatorOf(i, end) : std::string_view();
        out.write({text_ + start, end - start});
        out.write(terminator);
        start = end + terminator.size();
    }
    return !out.failed();
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

}  // namespace morvane::cli
