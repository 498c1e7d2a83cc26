// Which variables of a block were written: one bit per variable index.
#pragma once

#include <cstdint>

#include "nci/varstorage.h"

namespace morvane {

// A fixed set of kVariableCount bits kept in 64-bit words, so that the few bits a block sets are
// visited a word at a time instead of bit by bit.
class VariableSet {
  public:
    bool test(std::uint32_t i) const { return (words_[i / 64] >> (i % 64) & 1) != 0; }
    void set(std::uint32_t i, bool value = true) {
        const std::uint64_t bit = std::uint64_t{1} << (i % 64);
        words_[i / 64] = value ? words_[i / 64] | bit : words_[i / 64] & ~bit;
    }
    void reset(std::uint32_t i) { set(i, false); }
    // Bits 0 to 63 as one word (the letters and the dialect keywords).
    std::uint64_t firstWord() const { return words_[0]; }
    // Every bit set, or every bit cleared.
    void set() {
        for (std::uint64_t& word : words_)
            word = ~std::uint64_t{0};
    }
    void reset() {
        for (std::uint64_t& word : words_)
            word = 0;
    }

    // Calls fn(i) for every set bit, in ascending order.
    template <class Fn>
    void forEach(Fn fn) const {
        for (std::uint32_t w = 0; w < kWords; ++w)
            for (std::uint64_t bits = words_[w]; bits != 0; bits &= bits - 1)
                fn(w * 64 + static_cast<std::uint32_t>(__builtin_ctzll(bits)));
    }

  private:
    static constexpr std::uint32_t kWords = kVariableCount / 64;
    static_assert(kVariableCount % 64 == 0);
    std::uint64_t words_[kWords] = {};
};

}  // namespace morvane
