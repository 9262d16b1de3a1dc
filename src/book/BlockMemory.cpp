#include "book/BlockMemory.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <sys/mman.h>

namespace tolvaro {
namespace {

constexpr std::size_t kAlign = 16;
// Regions are 64 KB, then this, then huge pages: a small book's tables stay small.
constexpr std::size_t kMiddle = std::size_t{256} << 10;

std::size_t RoundUp(std::size_t n, std::size_t to) {
    return (n + to - 1) / to * to;
}

// A mapping of `size` bytes at a multiple of `align`: more is mapped, and the ends cut off.
void* MapAligned(std::size_t size, std::size_t align) {
    const std::size_t mapped = size + align;
    void* p = ::mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t aligned = RoundUp(start, align);
    if (aligned > start)
        ::munmap(p, aligned - start);
    if (const std::size_t tail = start + mapped - (aligned + size); tail > 0)
        ::munmap(reinterpret_cast<void*>(aligned + size), tail);
    return reinterpret_cast<void*>(aligned);
}

} // namespace

BlockMemory::~BlockMemory() {
    for (const Region& r : m_regions)
        ::munmap(r.base, r.size);
}

void* BlockMemory::Take(std::size_t bytes) {
    bytes = RoundUp(std::max<std::size_t>(bytes, 1), kAlign);
    if (static_cast<std::size_t>(m_end - m_next) < bytes)
        NewRegion(bytes);
    void* piece = m_next;
    m_next += bytes;
    return piece;
}

void BlockMemory::Shorten(void* piece, std::size_t oldBytes, std::size_t bytes) {
    char* const start = static_cast<char*>(piece);
    if (start && start + RoundUp(std::max<std::size_t>(oldBytes, 1), kAlign) == m_next)
        m_next = start + RoundUp(std::max<std::size_t>(bytes, 1), kAlign);
}

// The rest of the current region is left unused: it is smaller than the piece that did not fit.
void BlockMemory::NewRegion(std::size_t bytes) {
    m_regions.reserve(m_regions.size() + 1); // so that a mapping is never lost to a throw
    const std::size_t size = RoundUp(std::max(bytes, m_nextSize), std::size_t{64} << 10);
    const bool huge = size >= kHugePage;
    void* base =
        huge ? MapAligned(RoundUp(size, kHugePage), kHugePage)
             : ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED)
        throw std::bad_alloc();
    const std::size_t mapped = huge ? RoundUp(size, kHugePage) : size;
    if (huge)
        ::madvise(base, mapped, MADV_HUGEPAGE); // a hint: without huge pages all still works
    m_regions.push_back({base, mapped});
    m_next = static_cast<char*>(base);
    m_end = m_next + mapped;
    m_nextSize = m_nextSize < kMiddle ? kMiddle : kHugePage;
}

} // namespace tolvaro
