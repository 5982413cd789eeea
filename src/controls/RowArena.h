#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

// Memory for the items of a large list and their texts. Blocks are cut from 2 MiB chunks
// that the kernel is asked to back with huge pages, so filling a list of 100,000 rows
// costs a handful of page faults instead of thousands, and no per-block bookkeeping.
// A freed block goes to its chunk's free list of its size class and serves the next
// request of that class, so a list whose rows are rewritten again and again does not
// grow. A chunk is returned to the system once every block cut from it is freed (its
// free lists go with it); a block larger than largeBlock comes from the ordinary heap.
class RowArena {
  public:
    RowArena() = default;
    ~RowArena();
    RowArena(const RowArena&) = delete;
    RowArena& operator=(const RowArena&) = delete;

    // Aligned for any item type of the list; throws std::bad_alloc when out of memory.
    void* allocate(std::size_t bytes);
    // `bytes` as passed to allocate(), or anything with the same capacity().
    void deallocate(void* block, std::size_t bytes) noexcept;
    // What a block allocated for `bytes` can hold.
    static std::size_t capacity(std::size_t bytes);
    // Bytes of chunks currently mapped.
    std::size_t mappedBytes() const { return chunks_.size() * chunkSize; }

    static constexpr std::size_t chunkSize = std::size_t{2} << 20;
    static constexpr std::size_t largeBlock = 4096;

  private:
    static constexpr std::size_t kGrain = alignof(std::max_align_t);
    static constexpr std::size_t kClasses = largeBlock / kGrain + 1;

    struct FreeBlock {
        FreeBlock* next;
    };
    struct Chunk {
        std::uintptr_t base = 0;
        std::size_t used = 0;
        std::size_t live = 0;
        std::array<FreeBlock*, kClasses> free{};
    };
    static std::size_t classOf(std::size_t capacity) { return capacity / kGrain; }
    void newChunk();
    void* reuse(std::size_t sizeClass);
    void release(std::unordered_map<std::uintptr_t, Chunk>::iterator it) noexcept;

    // By the chunk's address, which is a multiple of chunkSize (map nodes stay put).
    std::unordered_map<std::uintptr_t, Chunk> chunks_;
    // Per size class, the chunks whose free list of that class is not empty.
    std::array<std::vector<Chunk*>, kClasses> withFree_;
    // The chunk new blocks are cut from when no freed block fits.
    Chunk* current_ = nullptr;
};
