#include "nci/nci_stream.h"

#include <charconv>
#include <cmath>
#include <cstdint>

#include "nci/int_conversion.h"

namespace morvane {
namespace {

// Most NCI values are block values rounded to 3 decimals. When `v` is the double nearest to
// n / 1000, is below 1e6 in magnitude and has at most 6 significant digits, the general format
// writes exactly n / 1000 in fixed notation without trailing zeros: written here with integer
// arithmetic, which is several times faster than the general conversion. Null otherwise.
char* formatThousandths(char* first, char* last, double v) {
    if (!(std::fabs(v) < 999999.5)) return nullptr;  // NaN too
    const double scaled = v * 1000.0;
    const std::int32_t n = truncToInt32(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
    if (static_cast<double>(n) / 1000.0 != v) return nullptr;
    const std::uint32_t magnitude =
        n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    const std::uint32_t whole = magnitude / 1000;
    std::uint32_t fraction = magnitude % 1000;
    int fractionDigits = 3;
    while (fractionDigits > 0 && fraction % 10 == 0) {
        fraction /= 10;
        --fractionDigits;
    }
    int wholeDigits = 0;
    for (std::uint32_t w = whole; w != 0; w /= 10)
        ++wholeDigits;
    if (wholeDigits + fractionDigits > 6) return nullptr;  // needs rounding to 6 digits

    char* p = first;
    if (std::signbit(v)) *p++ = '-';
    p = std::to_chars(p, last, whole).ptr;
    if (fractionDigits > 0) {
        *p++ = '.';
        for (int i = fractionDigits - 1; i >= 0; --i) {
            p[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        p += fractionDigits;
    }
    return p;
}

}  // namespace

char* formatReal(char* first, char* last, double v) {
    if (!std::isfinite(v)) v = 0.0;
    if (char* end = formatThousandths(first, last, v)) return end;
    // %g with precision 6 is exactly what a default-configured stream writes for a double,
    // including "-0" for negative zero and exponents of at least two digits ("1e-05").
    return std::to_chars(first, last, v, std::chars_format::general, 6).ptr;
}

std::string realToString(double v) {
    char text[kMaxRealChars];
    return std::string(text, formatReal(text, text + sizeof text, v));
}

NciStream::~NciStream() {
    close();
}

bool NciStream::open(const std::string& path, bool mustExist) {
    close();
    buffer_.clear();
    flushed_ = 0;
    lines_ = 0;
    kept_ = 0;
    exhausted_ = false;
    file_ = std::fopen(path.c_str(), mustExist ? "r+b" : "wb");
    if (file_ != nullptr) buffer_.reserve(kSpillThreshold + 4096);
    return file_ != nullptr;
}

void NciStream::close() {
    if (file_ == nullptr) return;
    spill();
    std::fclose(file_);
    file_ = nullptr;
}

void NciStream::flush() {
    if (file_ == nullptr) return;
    spill();
    std::fflush(file_);
}

void NciStream::spill() {
    if (exhausted_) buffer_.resize(kept_);  // a line begun after the end of the budget
    // A failed write is not reported per record; the stream simply stops receiving text, as a
    // failed output stream would.
    if (!buffer_.empty()) std::fwrite(buffer_.data(), 1, buffer_.size(), file_);
    flushed_ += buffer_.size();
    buffer_.clear();
    kept_ = 0;
}

void NciStream::endOfBudget() {
    if (exhausted_) {
        buffer_.resize(kept_);
        return;
    }
    if (lines_ % 2 != 0) return;  // the record that crossed the budget is written whole
    exhausted_ = true;
    kept_ = buffer_.size();
}

NciStream& NciStream::operator<<(double v) {
    char text[kMaxRealChars];
    const char* end = formatReal(text, text + sizeof text, v);
    buffer_.append(text, static_cast<std::size_t>(end - text));
    return *this;
}

NciStream& NciStream::integer(std::int64_t v) {
    char text[24];
    const char* end = std::to_chars(text, text + sizeof text, v).ptr;
    buffer_.append(text, static_cast<std::size_t>(end - text));
    return *this;
}

}  // namespace morvane
