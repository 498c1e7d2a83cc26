// The program text as the parsers read it: a thin wrapper over the host's line source.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "morvane/plugin_api.h"
#include "nci/diagnostics.h"
#include "nci/limits.h"

namespace morvane {

// The characters a quick look along a line stops at: up to 14 wanted ones and the line feed
// that ends a line. Made once, at compile time for the parsers' constant sets, not per line.
class LineStops {
  public:
    // Implicit: a set is written as its characters ("OoLl").
    constexpr LineStops(std::string_view wanted) {  // NOLINT(google-explicit-constructor)
        std::size_t count = 0;
        for (const char c : wanted)
            if (count < kMaxWanted && c != '\n' && c != '\0') stops_[count++] = c;
        stops_[count] = '\n';
    }
    // The wanted characters and the line feed, NUL-terminated.
    constexpr const char* stops() const { return stops_; }

  private:
    static constexpr std::size_t kMaxWanted = 14;
    char stops_[kMaxWanted + 2] = {};
};

// Reads lines from the host. A missing source, a missing function or a null text all read as an
// empty line; a negative count reads as 0 and a count above limits::kProgramLines as that bound.
// A line is read up to its first line feed (a host's line has none; one that has it ends there)
// and at most limits::kLineBytes long (the "NCI" input format's copy passes a larger bound). Each line is copied at once (the host's pointer is only
// valid until its next call) into a buffer that is reused, so reading allocates nothing once the
// buffer has grown to the longest line.
//
// The source counts the bytes it reads, so that a run can bound the text that calls and
// repeats read again: a long line repeated is as costly as many short ones.
//
// From startRun on, a line that cannot be read whole (cut by the length bound or by a line feed)
// is reported the first time the run reads it, and a count beyond the line bound once.
class ProgramSource {
  public:
    explicit ProgramSource(const LineSource* source, std::size_t lineBytes = limits::kLineBytes)
        : source_(source), lineBytes_(lineBytes) {}

    // Asks the host for its line count.
    std::int32_t askLineCount() {
        std::int32_t count = 0;
        if (source_ != nullptr && source_->getLineCount != nullptr)
            source_->getLineCount(source_->context, &count);
        hostCount_ = count;
        if (count < 0) return 0;
        return count > limits::kProgramLines ? limits::kProgramLines : count;
    }

    // Fetches line `index`; the view stays valid until the next call.
    std::string_view line(std::int32_t index) {
        const char* text = nullptr;
        if (source_ != nullptr && source_->getLine != nullptr)
            source_->getLine(source_->context, index, &text);
        if (text == nullptr) {
            buffer_.clear();
        } else {
            std::size_t length = ::strnlen(text, lineBytes_);
            if (const void* feed = std::memchr(text, '\n', length)) {
                length = static_cast<std::size_t>(static_cast<const char*>(feed) - text);
                if (index >= reportedUpTo_) reportCut(index, false);
            } else if (length == lineBytes_ && text[length] != '\0' &&
                       index >= reportedUpTo_) {
                reportCut(index, true);
            }
            buffer_.assign(text, length);
        }
        bytesRead_ += buffer_.size() + 1;
        return buffer_;
    }

    // Text read so far, one byte counted for the end of each line.
    std::uint64_t bytesRead() const { return bytesRead_; }
    // From now on the run may read once more what it has read so far (the pass after the label
    // scan) plus `repeatedBytes` for calls and repeats; lines that cannot be read whole are
    // reported to `diagnostics` (may be null).
    void startRun(std::uint64_t repeatedBytes, Diagnostics* diagnostics);
    bool readBudgetSpent() const { return bytesRead_ > readBudget_; }
    // The budget of the text read again, as startRun set it beyond the pass over the program.
    std::uint64_t repeatedBytes() const { return repeatedBytes_; }

    // True when line `index`, read as line() reads it, holds one of the characters of `wanted`.
    // The line is looked at where the host keeps it, without a copy (a quick look before reading
    // a line in full with line(), which then counts its bytes; a line passed over counts here).
    // The C library's span search looks at many characters a step.
    bool holdsAnyOf(std::int32_t index, const LineStops& wanted) {
        const char* text = nullptr;
        if (source_ != nullptr && source_->getLine != nullptr)
            source_->getLine(source_->context, index, &text);
        std::size_t length = 0;
        if (text != nullptr) {
            length = std::strcspn(text, wanted.stops());
            if (length >= lineBytes_) {
                length = lineBytes_;  // a character beyond the cut is not in the line
            } else if (text[length] != '\0' && text[length] != '\n') {
                return true;
            }
        }
        bytesRead_ += length + 1;
        return false;
    }

  private:
    // Reports line `index` as cut by the length bound or by a line feed.
    void reportCut(std::int32_t index, bool tooLong);

    const LineSource* source_;
    std::size_t lineBytes_;  // longest line read; the rest is cut
    std::string buffer_;
    std::uint64_t bytesRead_ = 0;
    std::uint64_t readBudget_ = UINT64_MAX;
    std::uint64_t repeatedBytes_ = 0;
    std::int32_t hostCount_ = 0;
    Diagnostics* diagnostics_ = nullptr;  // set by startRun
    // Lines below this were read by the run already (reported if cut); INT32_MAX before the run.
    std::int32_t reportedUpTo_ = INT32_MAX;
};

}  // namespace morvane
