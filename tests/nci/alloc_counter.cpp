// Replaces the global operator new and delete of the allocation test to count allocations.
// Kept in its own file so that the compiler never sees new and delete of one object together.
#include <atomic>
#include <cstdlib>
#include <new>

namespace morvane::test {
std::atomic<long> allocationCount{0};
}  // namespace morvane::test

void* operator new(std::size_t size) {
    ++morvane::test::allocationCount;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
