#include "AllocationMeter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<std::size_t> g_inUse(0);
std::atomic<std::size_t> g_peak(0);
std::atomic<std::size_t> g_largest(0);
std::atomic<std::size_t> g_base(0);

// Each block carries its size in front, so that freeing it can count it off.
const std::size_t kHeader = alignof(std::max_align_t) > sizeof(std::size_t) ? alignof(std::max_align_t)
                                                                            : sizeof(std::size_t);

void* Allocate(std::size_t size) noexcept {
    if (size > static_cast<std::size_t>(-1) - kHeader)
        return nullptr;
    char* block = static_cast<char*>(std::malloc(size + kHeader));
    if (!block)
        return nullptr;
    *reinterpret_cast<std::size_t*>(block) = size;
    std::size_t inUse = g_inUse += size;
    for (std::size_t peak = g_peak; inUse > peak && !g_peak.compare_exchange_weak(peak, inUse);) {
    }
    for (std::size_t largest = g_largest;
         size > largest && !g_largest.compare_exchange_weak(largest, size);) {
    }
    return block + kHeader;
}

void Free(void* pointer) noexcept {
    if (!pointer)
        return;
    char* block = static_cast<char*>(pointer) - kHeader;
    g_inUse -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}

}  // namespace

void CAllocationMeter::Start() {
    g_base = g_inUse.load();
    g_peak = g_inUse.load();
    g_largest = 0;
}

std::size_t CAllocationMeter::Largest() {
    return g_largest;
}

std::size_t CAllocationMeter::Peak() {
    return g_peak - g_base;
}

void* operator new(std::size_t size) {
    if (void* pointer = Allocate(size))
        return pointer;
    throw std::bad_alloc();
}

void* operator new[](std::size_t size) {
    return operator new(size);
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return Allocate(size);
}

void operator delete(void* pointer) noexcept {
    Free(pointer);
}

void operator delete[](void* pointer) noexcept {
    Free(pointer);
}

void operator delete(void* pointer, std::size_t) noexcept {
    Free(pointer);
}

void operator delete[](void* pointer, std::size_t) noexcept {
    Free(pointer);
}

void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    Free(pointer);
}

void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    Free(pointer);
}
