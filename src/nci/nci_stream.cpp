#include "nci/nci_stream.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "nci/diagnostics.h"
#include "nci/int_conversion.h"
#include "text/real_format.h"

namespace morvane {
namespace {

// Texts of the numbers 0 to 999, for writing a value three digits at a time with fixed-size
// copies.
struct DigitGroup {
    char text[4];
    std::uint8_t length;
};
using DigitGroups = std::array<DigitGroup, 1000>;

// "0" ... "999".
constexpr DigitGroups makeWholeGroups() {
    DigitGroups groups{};
    for (std::uint32_t n = 0; n < 1000; ++n) {
        DigitGroup& g = groups[n];
        if (n >= 100) g.text[g.length++] = static_cast<char>('0' + n / 100);
        if (n >= 10) g.text[g.length++] = static_cast<char>('0' + n / 10 % 10);
        g.text[g.length++] = static_cast<char>('0' + n % 10);
    }
    return groups;
}

// "000" ... "999": the lower three digits of a larger whole part.
constexpr DigitGroups makePaddedGroups() {
    DigitGroups groups{};
    for (std::uint32_t n = 0; n < 1000; ++n)
        groups[n] = {{static_cast<char>('0' + n / 100), static_cast<char>('0' + n / 10 % 10),
                      static_cast<char>('0' + n % 10), 0},
                     3};
    return groups;
}

// Thousandths as decimals: "" for 0, ".5" for 500, ".125" for 125, ".05" for 50.
constexpr DigitGroups makeDecimalGroups() {
    DigitGroups groups{};
    for (std::uint32_t n = 1; n < 1000; ++n) {
        DigitGroup& g = groups[n];
        const char digits[3] = {static_cast<char>('0' + n / 100),
                                static_cast<char>('0' + n / 10 % 10),
                                static_cast<char>('0' + n % 10)};
        std::uint8_t kept = 3;
        while (digits[kept - 1] == '0')
            --kept;
        g.text[g.length++] = '.';
        for (std::uint8_t i = 0; i < kept; ++i)
            g.text[g.length++] = digits[i];
    }
    return groups;
}

constexpr DigitGroups kWholeGroups = makeWholeGroups();
constexpr DigitGroups kPaddedGroups = makePaddedGroups();
constexpr DigitGroups kDecimalGroups = makeDecimalGroups();

// Appends a group with one fixed-size copy; the buffer has room for kMaxRealChars characters.
char* appendGroup(char* p, const DigitGroup& group) {
    std::memcpy(p, group.text, sizeof group.text);
    return p + group.length;
}

// Most NCI values are block values rounded to 3 decimals. When `v` is the double nearest to
// n / 1000, is below 1e6 in magnitude and has at most 6 significant digits, the general format
// writes exactly n / 1000 in fixed notation without trailing zeros: written here from digit
// tables, several times faster than the general conversion. Null otherwise.
char* formatThousandths(char* first, double v) {
    if (!(std::fabs(v) < 999999.5)) return nullptr;  // NaN too
    const double scaled = v * 1000.0;
    const std::int32_t n = truncToInt32(scaled < 0.0 ? scaled - 0.5 : scaled + 0.5);
    if (static_cast<double>(n) / 1000.0 != v) return nullptr;
    const std::uint32_t magnitude =
        n < 0 ? 0u - static_cast<std::uint32_t>(n) : static_cast<std::uint32_t>(n);
    const std::uint32_t whole = magnitude / 1000;  // below 1000000
    const DigitGroup& decimals = kDecimalGroups[magnitude % 1000];
    const DigitGroup& high = kWholeGroups[whole >= 1000 ? whole / 1000 : whole];
    // Significant digits: those of the whole part (none for 0) and the decimals.
    const std::uint32_t wholeDigits =
        whole >= 1000 ? high.length + 3u : (whole == 0 ? 0u : high.length);
    const std::uint32_t decimalDigits = decimals.length == 0 ? 0u : decimals.length - 1u;
    if (wholeDigits + decimalDigits > 6) return nullptr;  // needs rounding to 6 digits

    char* p = first;
    if (std::signbit(v)) *p++ = '-';
    p = appendGroup(p, high);
    if (whole >= 1000) p = appendGroup(p, kPaddedGroups[whole % 1000]);
    return appendGroup(p, decimals);
}

}  // namespace

char* formatReal(char* first, char* last, double v) {
    if (!std::isfinite(v)) v = 0.0;
    if (char* end = formatThousandths(first, v)) return end;
    // %g with precision 6 is exactly what a default-configured stream writes for a double,
    // including "-0" for negative zero and exponents of at least two digits ("1e-05").
    constexpr RealFormat kStreamForm{.notation = RealNotation::Significant, .digits = 6,
                                     .negativeZero = true};
    return formatReal(first, last, v, kStreamForm);
}

char* formatPreciseReal(char* first, char* last, double v) {
    if (!std::isfinite(v)) v = 0.0;
    // Ten-thousandths, halves away from zero, no trailing zeros, never "-0".
    constexpr RealFormat kPreciseForm{.digits = 4, .rounding = RealRounding::HalfAwayFromZero};
    return formatReal(first, last, v, kPreciseForm);
}

std::string preciseRealToString(double v) {
    char text[kMaxRealChars];
    return std::string(text, formatPreciseReal(text, text + sizeof text, v));
}

std::string realToString(double v) {
    char text[kMaxRealChars];
    return std::string(text, formatReal(text, text + sizeof text, v));
}

NciStream::~NciStream() {
    close();
}

void NciStream::restart(std::string path) {
    close();
    size_ = 0;
    flushed_ = 0;
    lines_ = 0;
    kept_ = 0;
    exhausted_ = false;
    failed_ = false;
    path_ = std::move(path);
    mapsLines_ = diagnostics_ != nullptr && diagnostics_->wanted();
    if (capacity_ < kSpillThreshold + 4096) grow(kSpillThreshold + 4096);
}

void NciStream::open(NciSink& sink) {
    restart("held in memory");
    sink_ = &sink;
}

bool NciStream::open(const std::string& path, bool mustExist) {
    restart(path);
    if (file_.open(path, mustExist)) return true;
    writeFailed("open", file_.error());
    return false;
}

void NciStream::noteLine() {
    diagnostics_->nciLineEnded(lines_);
}

bool NciStream::close() {
    if (sink_ != nullptr) {
        spill();
        sink_ = nullptr;
        return !failed_;
    }
    if (!file_.isOpen()) return !failed_;
    spill();
    if (!file_.close()) writeFailed("write", file_.error());
    return !failed_;
}

void NciStream::flush() {
    if (sink_ != nullptr) return spill();
    if (!file_.isOpen()) return;
    spill();
    if (!file_.flush()) writeFailed("write", file_.error());
}

void NciStream::grow(std::size_t n) {
    const std::size_t capacity = std::max({capacity_ * 2, size_ + n, std::size_t{256}});
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) std::memcpy(data.get(), data_.get(), size_);
    data_ = std::move(data);
    capacity_ = capacity;
}

void NciStream::spill() {
    if (exhausted_ || failed_) size_ = kept_;  // a line begun after the end of the budget
    if (size_ > 0 && !failed_) {
        if (sink_ != nullptr) {
            if (!sink_->take({data_.get(), size_})) writeFailed("write", 0);
        } else {
            file_.write({data_.get(), size_});
            if (file_.failed()) writeFailed("write", file_.error());
        }
    }
    flushed_ += size_;
    size_ = 0;
    kept_ = 0;
}

void NciStream::endOfBudget() {
    if (exhausted_) {
        size_ = kept_;
        return;
    }
    if (lines_ % 2 != 0) return;  // the record that crossed the budget is written whole
    exhausted_ = true;
    kept_ = size_;
    if (diagnostics_ != nullptr)
        diagnostics_->report(diagnostic::kLimitReached,
                             "the NCI text reached its bound of " + groupedNumber(budget_) +
                                 " bytes here; the rest of the program is not converted");
}

void NciStream::compareRealForms(double v, std::string_view written) {
    char other[kMaxRealChars];
    // The exact form writes a value of whole thousandths with up to 6 digits whole.
    if (formatThousandths(other, v) != nullptr) return;
    const char* const end = preciseReals_ ? formatReal(other, other + sizeof other, v)
                                          : formatPreciseReal(other, other + sizeof other, v);
    const std::string_view exact = preciseReals_ ? std::string_view(other, end - other) : written;
    const std::string_view precise = preciseReals_ ? written : std::string_view(other, end - other);
    // Only digits the exact form loses count: a value below the 4th decimal is no loss.
    double exactValue = 0.0;
    std::from_chars(exact.data(), exact.data() + exact.size(), exactValue);
    if (!std::isfinite(v) || !(std::fabs(exactValue - v) > 0.00005)) return;
    if (diagnostics_ == nullptr) return;
    watchReals_ = false;  // the correction is told once a run, at its first value
    if (!diagnostics_->firstOf(diagnostic::kNciPrecision)) return;
    const std::string both = "a value written " + std::string(exact) + " with 6 significant digits";
    diagnostics_->correction(
        diagnostic::kNciPrecision,
        both + " is " + std::string(precise) +
            "; this and values like it further on lose digits (the corrected semantics writes "
            "every digit of 4 decimals)",
        both + " is written " + std::string(precise) +
            ", with every digit of 4 decimals, here and further on");
}

void NciStream::writeFailed(const char* what, int error) {
    if (failed_) return;
    failed_ = true;
    kept_ = 0;
    size_ = 0;
    if (diagnostics_ == nullptr) return;
    if (sink_ != nullptr)
        diagnostics_->fail(diagnostic::kWriteFailed,
                           "the reader of the NCI text held in memory stopped the conversion");
    else
        diagnostics_->fail(diagnostic::kWriteFailed, std::string("cannot ") + what + " the NCI file " +
                                                         path_ + ": " + std::strerror(error));
}

}  // namespace morvane
