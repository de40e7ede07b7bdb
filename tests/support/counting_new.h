#pragma once
// Counts the bytes a test executable allocates with operator new, so that a
// test can hold a reader's memory to a multiple of its input without timing
// it. Include in exactly one file of a test executable.

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace testsupport {

inline std::atomic<size_t> g_allocatedBytes{0};

/// Bytes allocated with operator new while an instance lives.
class AllocatedBytes {
  public:
    AllocatedBytes() : m_start(g_allocatedBytes.load()) {}
    size_t Count() const { return g_allocatedBytes.load() - m_start; }

  private:
    size_t m_start;
};

}  // namespace testsupport

void* operator new(std::size_t size) {
    testsupport::g_allocatedBytes += size;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
// The library's temporary buffers (stable_partition, stable_sort) take the
// nothrow form: it must come from malloc too, as the deletes below free.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    testsupport::g_allocatedBytes += size;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return operator new(size, std::nothrow);
}
// The replacement operator new above takes its memory from malloc, so free
// is its match; the compiler cannot see that once the pair is inlined.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
