// The value of one NC variable: an address letter or dialect keyword of a block.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace morvane {

// Tagged value: undefined, double, int or string. An int also keeps its value as a double, so
// reading an int as a double needs no conversion.
class varstorage {
  public:
    enum : std::uint32_t { kUndefined = 0, kDouble = 1, kInt = 2, kString = 3 };

    varstorage() = default;
    explicit varstorage(double d) : kind_(kDouble), number_(d) {}
    explicit varstorage(std::int32_t n) : kind_(kInt), number_(n), integer_(n) {}

    varstorage(const varstorage&) = default;
    varstorage& operator=(const varstorage& other) {
        kind_ = other.kind_;
        number_ = other.number_;
        integer_ = other.integer_;
        // Most values carry no text: the string assignment is skipped for them (block copies).
        if (!text_.empty() || !other.text_.empty()) text_ = other.text_;
        return *this;
    }
    varstorage(varstorage&& other) noexcept
        : kind_(other.kind_),
          number_(other.number_),
          integer_(other.integer_),
          text_(std::exchange(other.text_, {})) {}
    varstorage& operator=(varstorage&& other) noexcept {
        kind_ = other.kind_;
        number_ = other.number_;
        integer_ = other.integer_;
        text_ = std::exchange(other.text_, {});
        return *this;
    }
    virtual ~varstorage() = default;

    // Address of the field that holds the value for the kind; null when undefined.
    virtual const void* ValuePointer() const {
        switch (kind_) {
            case kDouble:
                return &number_;
            case kInt:
                return &integer_;
            case kString:
                return &text_;
            default:
                return nullptr;
        }
    }
    virtual std::uint32_t Kind() const { return kind_; }
    virtual double AsDouble() const { return number_; }
    virtual std::int32_t AsInt() const { return integer_; }
    virtual std::string AsString() const { return text_; }

    // Numeric value as the variable arrays read it: the number of a double or an int, 0.0 for a
    // string or an undefined value (they have no numeric meaning).
    double numeric() const { return (kind_ == kDouble || kind_ == kInt) ? number_ : 0.0; }
    // Integer value: the int of an int, 0 for every other kind (a double 2.5 reads as 0).
    std::int32_t integral() const { return kind_ == kInt ? integer_ : 0; }

    void setDouble(double d) {
        kind_ = kDouble;
        number_ = d;
        integer_ = 0;
    }
    void setInt(std::int32_t n) {
        kind_ = kInt;
        integer_ = n;
        number_ = n;
    }
    void setString(std::string s) {
        kind_ = kString;
        text_ = std::move(s);
    }

  private:
    std::uint32_t kind_ = kUndefined;
    double number_ = 0.0;
    std::int32_t integer_ = 0;
    std::string text_;
};

// Size of every variable array; index 511 stands for every larger index.
inline constexpr std::uint32_t kVariableCount = 512;
constexpr std::uint32_t clampVariableIndex(std::uint32_t i) {
    return i < kVariableCount ? i : kVariableCount - 1;
}

// Address indices shared by every parser and the writer: the letters A..Z are 0..25.
namespace addr {
inline constexpr std::uint32_t letter(char c) {
    return static_cast<std::uint32_t>(c - 'A');
}
inline constexpr std::uint32_t A = 0, B = 1, C = 2, D = 3, E = 4, F = 5, G = 6, H = 7, I = 8, J = 9,
                               K = 10, L = 11, M = 12, N = 13, O = 14, P = 15, Q = 16, R = 17,
                               S = 18, T = 19, U = 20, V = 21, W = 22, X = 23, Y = 24, Z = 25;
// Dialect keywords (index 26 is never assigned).
inline constexpr std::uint32_t Percent = 27, Dollar = 28, LF = 29, TC = 30, LIMS = 31, CR = 32;
}  // namespace addr

}  // namespace morvane
