// Finding the line feeds (or other stop bytes) of a large text (an NC program, an NCI file) in
// one sweep: a call of memchr per line costs more than the search itself when lines are a few
// dozen bytes long.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace morvane {

// The number of line feeds in [text, text + size).
inline std::size_t countLineFeeds(const char* text, std::size_t size) {
    std::size_t count = 0;
    // Counted in runs of at most 255 bytes into a byte-wide total, which the compiler turns into
    // wide compares and subtractions.
    while (size > 0) {
        const std::size_t run = size < 255 ? size : 255;
        unsigned char inRun = 0;
        for (std::size_t i = 0; i < run; ++i)
            inRun = static_cast<unsigned char>(inRun + (text[i] == '\n' ? 1 : 0));
        count += inRun;
        text += run;
        size -= run;
    }
    return count;
}

// Calls fn(offset) for every byte in [text, text + size) that is one of `Stops`, in ascending
// order. fn may change the bytes at and before the offset it is given, never those after it.
template <char... Stops, class Fn>
void forEachByteOf(const char* text, std::size_t size, Fn fn) {
    std::size_t at = 0;
#if defined(__SSE2__)
    for (; at + 16 <= size; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        __m128i hits = _mm_setzero_si128();
        ((hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(Stops)))), ...);
        auto found = static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
        for (; found != 0; found &= found - 1)
            fn(at + static_cast<std::size_t>(__builtin_ctz(found)));
    }
#endif
    for (; at < size; ++at)
        if (((text[at] == Stops) || ...)) fn(at);
}

// Calls fn(offset) for every line feed in [text, text + size), as forEachByteOf.
template <class Fn>
void forEachLineFeed(const char* text, std::size_t size, Fn fn) {
    forEachByteOf<'\n'>(text, size, fn);
}

}  // namespace morvane
