// Reader libraries that misbehave, loaded for real by the robustness tests:
//   ODD_READER_NO_ENTRIES      exports neither entry point
//   ODD_READER_NULL_TABLE      GetSupportedCycles answers a null table
//   ODD_READER_NO_CONVERTER    GetSupportedCycles answers no pattern, NCIConverter is missing
//   ODD_READER_NULL_COUNT      a table, but a null count pointer
//   ODD_READER_NEGATIVE_COUNT  a table and a count of -5
//   ODD_READER_HUGE_COUNT      a table of 4096 patterns and a count of 2^30
//   ODD_READER_DANGLING_COUNT  the count pointer points into GetSupportedCycles' own stack frame,
//                              gone when the plug-in reads it
//   ODD_READER_REMOVES_RESULT  no pattern; NCIConverter removes the result file it was given
//   ODD_READER_UNMAPPED_COUNT  the count pointer points into memory that is not mapped
//   ODD_READER_SHORT_TABLE     a count of 4096, but only two records before unreadable memory
#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstdio>

#include "morvane/post_api.h"

#if defined(ODD_READER_NULL_TABLE) || defined(ODD_READER_NO_CONVERTER) ||       \
    defined(ODD_READER_NULL_COUNT) || defined(ODD_READER_NEGATIVE_COUNT) ||     \
    defined(ODD_READER_HUGE_COUNT) || defined(ODD_READER_DANGLING_COUNT) ||     \
    defined(ODD_READER_REMOVES_RESULT) || defined(ODD_READER_UNMAPPED_COUNT) || \
    defined(ODD_READER_SHORT_TABLE)
namespace {
// As many records as the plug-in reads at most, all of them "not supported".
std::array<PostCycleRecord, 4096> gTable{};
std::int32_t gCount = 0;

#ifdef ODD_READER_DANGLING_COUNT
// Not inlined, so that the frame it points into is really left behind.
__attribute__((noinline)) void pointIntoOwnFrame(std::int32_t** count) {
    volatile std::int32_t local = 3;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpragmas"
#pragma GCC diagnostic ignored "-Wunknown-warning-option"
#pragma GCC diagnostic ignored "-Wdangling-pointer"
    *count = const_cast<std::int32_t*>(&local);
#pragma GCC diagnostic pop
}
#endif

#if defined(ODD_READER_UNMAPPED_COUNT) || defined(ODD_READER_SHORT_TABLE)
// Two pages: the first readable, the second neither readable nor writable.
char* readableThenGone() {
    static char* pages = [] {
        const long page = ::sysconf(_SC_PAGESIZE);
        void* p = ::mmap(nullptr, static_cast<std::size_t>(2 * page), PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ::mprotect(static_cast<char*>(p) + page, static_cast<std::size_t>(page), PROT_NONE);
        return static_cast<char*>(p) + page;  // the start of the unreadable page
    }();
    return pages;
}
#endif
}  // namespace

extern "C" MORVANE_EXPORT int32_t GetSupportedCycles(const char*, const char*,
                                                     PostCycleRecord** table, int32_t** count) {
#ifdef ODD_READER_NULL_TABLE
    *table = nullptr;
#else
    *table = gTable.data();
#endif
    *count = &gCount;
#if defined(ODD_READER_NULL_COUNT)
    *count = nullptr;
#elif defined(ODD_READER_NEGATIVE_COUNT)
    gCount = -5;
#elif defined(ODD_READER_HUGE_COUNT)
    gCount = std::int32_t{1} << 30;
#elif defined(ODD_READER_DANGLING_COUNT)
    pointIntoOwnFrame(count);
#elif defined(ODD_READER_UNMAPPED_COUNT)
    *count = reinterpret_cast<std::int32_t*>(readableThenGone());
#elif defined(ODD_READER_SHORT_TABLE)
    gCount = 4096;
    *table = reinterpret_cast<PostCycleRecord*>(readableThenGone()) - 2;
#endif
    return 1;
}
#endif

#ifdef ODD_READER_NULL_TABLE
extern "C" MORVANE_EXPORT int32_t NCIConverter(const char*, const char*, const char*, const char*) {
    return 1;
}
#endif

#ifdef ODD_READER_REMOVES_RESULT
extern "C" MORVANE_EXPORT int32_t NCIConverter(const char*, const char* result, const char*,
                                               const char*) {
    std::remove(result);
    return 1;
}
#endif

// Something to build when nothing is exported.
extern "C" int32_t oddReaderMarker() {
    return 0;
}
