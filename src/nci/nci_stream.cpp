#include "nci/nci_stream.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "nci/int_conversion.h"

namespace morvane {
namespace {

// Most NCI values are block values rounded to 3 decimals. When `v` is the double nearest to
// n / 1000, is below 1e6 in magnitude and has at most 6 significant digits, the general format
// writes exactly n / 1000 in fixed notation without trailing zeros: written here with integer
// arithmetic, which is several times faster than the general conversion. Null otherwise.
char* formatThousandths(char* first, double v) {
    if (!(std::fabs(v) < 999999.5)) return nullptr;  // NaN too
    const double scaled = v * 1000.0;
    const std::int32_t n = truncToInt32(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
    if (static_cast<double>(n) / 1000.0 != v) return nullptr;
    std::uint32_t digits =
        n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    // Trailing zeros of the three decimals are dropped; what is left are the significant digits
    // (a value below 1 has at most three).
    int decimals = 3;
    if (digits % 1000 == 0) {
        digits /= 1000;
        decimals = 0;
    } else if (digits % 100 == 0) {
        digits /= 100;
        decimals = 1;
    } else if (digits % 10 == 0) {
        digits /= 10;
        decimals = 2;
    }
    if (digits >= 1000000) return nullptr;  // needs rounding to 6 digits

    // Written backwards: the decimals (with their leading zeros), the point, the whole part;
    // then copied as one fixed block of 16 characters (the caller has room for kMaxRealChars).
    char text[32] = {};
    char* const textEnd = text + 16;
    char* p = textEnd;
    for (int i = 0; i < decimals; ++i) {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    }
    if (decimals > 0) *--p = '.';
    do {
        *--p = static_cast<char>('0' + digits % 10);
        digits /= 10;
    } while (digits != 0);
    if (std::signbit(v)) *--p = '-';
    std::memcpy(first, p, 16);
    return first + (textEnd - p);
}

}  // namespace

char* formatReal(char* first, char* last, double v) {
    if (!std::isfinite(v)) v = 0.0;
    if (char* end = formatThousandths(first, v)) return end;
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

bool NciStream::open(const std::string& path) {
    close();
    size_ = 0;
    flushed_ = 0;
    file_ = std::fopen(path.c_str(), "wb");
    if (file_ != nullptr && capacity_ < kSpillThreshold + 4096) grow(kSpillThreshold + 4096);
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

void NciStream::grow(std::size_t n) {
    const std::size_t capacity = std::max({capacity_ * 2, size_ + n, std::size_t{256}});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

void NciStream::spill() {
    // A failed write is not reported per record; the stream simply stops receiving text, as a
    // failed output stream would.
    if (size_ > 0) std::fwrite(data_.get(), 1, size_, file_);
    flushed_ += size_;
    size_ = 0;
}

}  // namespace morvane
