#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>

// Memory for the items of a large list and their texts. Blocks are cut from 2 MiB chunks
// that the kernel is asked to back with huge pages, so filling a list of 100,000 rows
// costs a handful of page faults instead of thousands, and no per-block bookkeeping.
// A chunk is returned to the system once every block cut from it is freed; a block
// larger than a chunk's share comes from the ordinary heap.
class RowArena {
  public:
    RowArena() = default;
    ~RowArena();
    RowArena(const RowArena&) = delete;
    RowArena& operator=(const RowArena&) = delete;

    // Aligned for any item type of the list; throws std::bad_alloc when out of memory.
    void* allocate(std::size_t bytes);
    // `bytes` as passed to allocate().
    void deallocate(void* block, std::size_t bytes) noexcept;

    static constexpr std::size_t chunkSize = std::size_t{2} << 20;
    static constexpr std::size_t largeBlock = chunkSize / 32;

  private:
    struct Chunk {
        std::size_t used = 0;
        std::size_t live = 0;
    };
    static std::size_t rounded(std::size_t bytes);
    void newChunk();

    // By the chunk's address, which is a multiple of chunkSize.
    std::unordered_map<std::uintptr_t, Chunk> chunks_;
    // The chunk blocks are cut from (map nodes stay where they are).
    Chunk* current_ = nullptr;
    std::uintptr_t currentBase_ = 0;
};
