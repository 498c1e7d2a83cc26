// NCI text output: the one place where numbers become NCI text.
//
// Every record writer (block writer, cycle writers, run loops) appends through an NciStream. Reals
// are written as the default stream formatting writes a double: 6 significant digits, general
// notation, "C" locale, negative zero as "-0". Formatting uses std::to_chars, never the locale of
// the process.
#pragma once

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "nci/buffered_file.h"
#include "nci/limits.h"

namespace morvane {

class Diagnostics;

// Where a stream's text goes instead of a file (a conversion held in memory): it receives the
// text in large pieces, each ending at a line feed. False from take() is a failed write.
class NciSink {
  public:
    virtual ~NciSink() = default;
    virtual bool take(std::string_view text) = 0;
};

// Writes `v` as the default stream insertion would (precision 6, general notation) into
// [first, last) and returns the end of the text. A NaN or an infinity is written as 0: NCI text
// never carries a non-number. The buffer must hold at least kMaxRealChars characters.
inline constexpr std::size_t kMaxRealChars = 32;
char* formatReal(char* first, char* last, double v);
std::string realToString(double v);
// The corrected semantics' form: `v` rounded to 4 decimals (half away from zero) and written
// with every digit that needs, in fixed notation without trailing zeros ("1234.5678", "-0.5",
// "0" for negative zero); beyond 1e15 in magnitude the shortest general form. A NaN or an
// infinity is written as 0.
char* formatPreciseReal(char* first, char* last, double v);
std::string preciseRealToString(double v);

// Marks the end of an NCI line: `out << x << eol;`
struct EndOfLine {};
inline constexpr EndOfLine eol{};

// Buffered NCI text. Without a file it keeps everything in memory (for composing one line, and
// for tests); with a file it spills to it whenever the buffer grows past a threshold. Appending
// is a bounds check and a copy into a plain buffer; numbers are formatted straight into it.
//
// The stream holds the byte budget of a conversion: once the text written passes it, the stream
// is exhausted at the next record boundary (an even number of lines) and drops every later line,
// so the output ends with whole records and a few program words cannot fill the disk. The runs
// watch exhausted() to end the program and lift the budget for their closing records.
//
// Every write to the file is checked: after a failed write (a full disk) the stream drops all
// text, is exhausted for good and reports the failure, naming the file and the system's reason.
class NciStream {
  public:
    NciStream() = default;
    NciStream(const NciStream&) = delete;
    NciStream& operator=(const NciStream&) = delete;
    ~NciStream();

    // Opens `path` for writing, truncating it; with `mustExist`, only a file that exists (it is
    // written from its start). False when it cannot be opened (reported as a failed write).
    bool open(const std::string& path, bool mustExist = false);
    // Hands the text to `sink` instead of a file, from the start; same rules as a file.
    void open(NciSink& sink);
    bool isOpen() const { return file_.isOpen() || sink_ != nullptr; }
    // Writes what is buffered and closes the file; false when the file was not written whole.
    bool close();
    // Where the end of the budget and failed writes are reported; null: nowhere.
    void setDiagnostics(Diagnostics* diagnostics) {
        diagnostics_ = diagnostics;
        mapsLines_ = mapsLines_ && diagnostics != nullptr;
    }
    // The run's diagnostics, for the writers that write through the stream; may be null.
    Diagnostics* diagnostics() const { return diagnostics_; }
    // A write to the file failed: the file is not whole.
    bool failed() const { return failed_; }
    // Writes what is buffered to the file (no effect in memory mode).
    void flush();

    // In memory mode: the text written so far. In file mode: what is not yet flushed.
    std::string_view view() const { return {data_.get(), exhausted_ ? kept_ : size_}; }
    void clear() {
        size_ = 0;
        lines_ = 0;
        kept_ = 0;
    }
    bool empty() const { return size_ == 0; }
    // Bytes written since construction or open (flushed or not).
    std::uint64_t bytesWritten() const { return flushed_ + size_; }

    // Reals in the corrected semantics' form (formatPreciseReal) instead of the exact one; with
    // `watch`, the first real whose two forms differ is reported (nci-precision) to the
    // stream's diagnostics.
    void setRealForm(bool precise, bool watch) {
        preciseReals_ = precise;
        formatRealIn_ = precise ? &formatPreciseReal : &formatReal;
        watchReals_ = watch;
    }

    // Bytes the stream accepts before it is exhausted (counted from construction or open).
    void setByteBudget(std::uint64_t bytes) { budget_ = bytes; }
    // The budget was passed, or a write failed: lines written from now on are dropped.
    bool exhausted() const { return exhausted_ || failed_; }
    // Accepts text again, without bound: for the records that close a program.
    void liftBudget() {
        exhausted_ = failed_;
        budget_ = UINT64_MAX;
    }

    NciStream& operator<<(std::string_view text) {
        std::memcpy(room(text.size()), text.data(), text.size());
        size_ += text.size();
        return *this;
    }
    NciStream& operator<<(const char* text) { return *this << std::string_view(text); }
    NciStream& operator<<(const std::string& text) { return *this << std::string_view(text); }
    NciStream& operator<<(char c) {
        *room(1) = c;
        ++size_;
        return *this;
    }
    NciStream& operator<<(std::int32_t v) { return integer(v); }
    NciStream& operator<<(std::uint32_t v) { return integer(v); }
    NciStream& operator<<(std::int64_t v) { return integer(v); }
    NciStream& operator<<(bool v) { return *this << (v ? '1' : '0'); }
    NciStream& operator<<(double v) {
        char* first = room(kMaxRealChars);
        char* const end = formatRealIn_(first, first + kMaxRealChars, v);
        if (watchReals_ && !keepsEveryDigit(v)) [[unlikely]]
            compareRealForms(v, {first, static_cast<std::size_t>(end - first)});
        size_ += static_cast<std::size_t>(end - first);
        return *this;
    }
    NciStream& operator<<(EndOfLine) {
        *this << '\n';
        ++lines_;
        if (mapsLines_) [[unlikely]]
            noteLine();
        if (bytesWritten() > budget_) endOfBudget();
        if (size_ >= kSpillThreshold && isOpen()) spill();
        return *this;
    }

    // Writes a whole record: the code line and the parameter line.
    NciStream& record(std::int32_t code, std::string_view parameters) {
        return *this << code << eol << parameters << eol;
    }

  private:
    // Large pieces: one write call per megabyte of NCI text.
    static constexpr std::size_t kSpillThreshold = 1 << 20;
    // Space for `n` more characters at the end of the text.
    char* room(std::size_t n) {
        if (capacity_ - size_ < n) grow(n);
        return data_.get() + size_;
    }
    void grow(std::size_t n);
    NciStream& integer(std::int64_t v) {
        char* first = room(kMaxIntegerChars);
        size_ +=
            static_cast<std::size_t>(std::to_chars(first, first + kMaxIntegerChars, v).ptr - first);
        return *this;
    }
    void spill();
    // Forgets the last output and starts a new one named `path` in messages.
    void restart(std::string path);
    // Tells the diagnostics which program line the file's last line comes from.
    void noteLine();
    // Past the budget: exhausts the stream at a record boundary, then drops each later line.
    void endOfBudget();
    // Records a failed write or close of the file (the system's `error` tells why) and
    // exhausts the stream.
    void writeFailed(const char* what, int error);
    // Reports the first real whose exact and corrected forms differ; `written` is the one written.
    void compareRealForms(double v, std::string_view written);
    // Cheap answers for most values: the exact form's 6 significant digits keep 5 decimals below
    // 10, and below 1000 a value within a hair of whole thousandths is written whole.
    static bool keepsEveryDigit(double v) {
        const double magnitude = std::fabs(v);
        if (magnitude < 10.0) return true;
        if (!(magnitude < 1000.0)) return false;
        const double thousandths = magnitude * 1000.0;  // below 1e6: its whole part fits
        const double fraction =
            thousandths - static_cast<double>(static_cast<std::int32_t>(thousandths));
        return fraction < 1e-6 || fraction > 1.0 - 1e-6;
    }

    static constexpr std::size_t kMaxIntegerChars = 20;
    std::unique_ptr<char[]> data_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
    BufferedFile file_;
    NciSink* sink_ = nullptr;
    std::uint64_t flushed_ = 0;
    std::uint64_t lines_ = 0;  // lines ended since construction or open
    std::uint64_t budget_ = limits::kNciBytes;
    std::size_t kept_ = 0;  // when exhausted: the length of the text that stays
    bool exhausted_ = false;
    bool failed_ = false;
    bool preciseReals_ = false;  // {setRealForm}
    char* (*formatRealIn_)(char*, char*, double) = &formatReal;  // {setRealForm}
    bool watchReals_ = false;    // {setRealForm}
    std::string path_;
    Diagnostics* diagnostics_ = nullptr;
    bool mapsLines_ = false;  // a file's lines are noted in the diagnostics' NCI line map
};

}  // namespace morvane
