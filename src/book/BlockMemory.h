#pragma once

#include <cstddef>
#include <vector>

namespace tolvaro {

// Memory for the rows and texts of tables, taken from the system in regions of 64 KB, 256 KB,
// then 2 MB. Regions of 2 MB are aligned and marked for huge pages, so the tables of a large
// book are backed by a few page faults instead of thousands. Pieces are handed out one after the
// other and given back all together, when the object is destroyed; only the last piece can be
// shortened. Not thread-safe: one thread at a time takes pieces; the pieces themselves may be
// read on any thread.
class BlockMemory {
public:
    BlockMemory() = default;
    ~BlockMemory();
    BlockMemory(const BlockMemory&) = delete;
    BlockMemory& operator=(const BlockMemory&) = delete;

    // `bytes` (at least one) aligned to 16; throws std::bad_alloc when the system has no more.
    void* Take(std::size_t bytes);
    // The piece Take returned last keeps only its first `bytes`; any other piece stays as it is.
    void Shorten(void* piece, std::size_t oldBytes, std::size_t bytes);

    static constexpr std::size_t kHugePage = std::size_t{2} << 20;

private:
    struct Region {
        void* base;
        std::size_t size;
    };
    void NewRegion(std::size_t bytes);

    std::vector<Region> m_regions;
    char* m_next = nullptr;
    char* m_end = nullptr;
    std::size_t m_nextSize = std::size_t{64} << 10;
};

} // namespace tolvaro
