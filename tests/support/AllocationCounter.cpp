// Replaces the global allocation functions of the test binary with counting ones. Every form of
// operator new funnels into allocate(); the counter is per thread, so other threads' work never
// disturbs a measurement.
#include "tests/support/AllocationCounter.h"

#include <cstdlib>
#include <new>
#ifdef _WIN32
#include <malloc.h>
#endif

namespace {

thread_local std::size_t allocationCount = 0;

void* allocate(std::size_t size) {
    ++allocationCount;
    return std::malloc(size == 0 ? 1 : size);
}

void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    ++allocationCount;
    const auto align = static_cast<std::size_t>(alignment);
    const std::size_t rounded = (size + align - 1) / align * align;
#ifdef _WIN32
    // Windows' C library has no aligned_alloc: its aligned blocks need their own free.
    return _aligned_malloc(rounded == 0 ? align : rounded, align);
#else
    return std::aligned_alloc(align, rounded == 0 ? align : rounded);
#endif
}

void releaseAligned(void* block) {
#ifdef _WIN32
    _aligned_free(block);
#else
    std::free(block);
#endif
}

void* orThrow(void* block) {
    if (!block) throw std::bad_alloc();
    return block;
}

} // namespace

namespace velmora::test {
std::size_t allocationsOnThisThread() {
    return allocationCount;
}
} // namespace velmora::test

void* operator new(std::size_t size) {
    return orThrow(allocate(size));
}
void* operator new[](std::size_t size) {
    return orThrow(allocate(size));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return orThrow(allocateAligned(size, alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return orThrow(allocateAligned(size, alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAligned(size, alignment);
}

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
    releaseAligned(block);
}
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    releaseAligned(block);
}
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept {
    releaseAligned(block);
}
