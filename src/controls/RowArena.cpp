#include "controls/RowArena.h"

#include <algorithm>
#include <new>
#include <sys/mman.h>

RowArena::~RowArena() {
    for (const auto& [base, chunk] : chunks_)
        munmap(reinterpret_cast<void*>(base), chunkSize);
}

std::size_t RowArena::capacity(std::size_t bytes) {
    return (std::max<std::size_t>(bytes, 1) + kGrain - 1) / kGrain * kGrain;
}

void RowArena::newChunk() {
    // Twice the size, so that an aligned chunk lies inside; the rest is given back.
    void* mapped =
        mmap(nullptr, 2 * chunkSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED)
        throw std::bad_alloc();
    const auto start = reinterpret_cast<std::uintptr_t>(mapped);
    const std::uintptr_t base = (start + chunkSize - 1) & ~(chunkSize - 1);
    if (base > start)
        munmap(mapped, base - start);
    if (const std::uintptr_t end = start + 2 * chunkSize; end > base + chunkSize)
        munmap(reinterpret_cast<void*>(base + chunkSize), end - base - chunkSize);
    // Advice only: where huge pages are not available, ordinary pages serve.
    madvise(reinterpret_cast<void*>(base), chunkSize, MADV_HUGEPAGE);
    current_ = &chunks_[base];
    current_->base = base;
}

void* RowArena::reuse(std::size_t sizeClass) {
    std::vector<Chunk*>& chunks = withFree_[sizeClass];
    if (chunks.empty())
        return nullptr;
    Chunk* chunk = chunks.back();
    FreeBlock* block = chunk->free[sizeClass];
    chunk->free[sizeClass] = block->next;
    if (block->next == nullptr)
        chunks.pop_back();
    ++chunk->live;
    return block;
}

void* RowArena::allocate(std::size_t bytes) {
    const std::size_t size = capacity(bytes);
    if (size > largeBlock)
        return ::operator new(size);
    if (void* block = reuse(classOf(size)))
        return block;
    if (current_ == nullptr || current_->used + size > chunkSize)
        newChunk();
    void* block = reinterpret_cast<void*>(current_->base + current_->used);
    current_->used += size;
    ++current_->live;
    return block;
}

void RowArena::deallocate(void* block, std::size_t bytes) noexcept {
    if (block == nullptr)
        return;
    const std::size_t size = capacity(bytes);
    if (size > largeBlock) {
        ::operator delete(block);
        return;
    }
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(block) & ~(chunkSize - 1);
    const auto it = chunks_.find(base);
    if (it == chunks_.end())
        return;
    Chunk& chunk = it->second;
    if (--chunk.live == 0) {
        release(it);
        return;
    }
    const std::size_t sizeClass = classOf(size);
    auto* freed = static_cast<FreeBlock*>(block);
    freed->next = chunk.free[sizeClass];
    if (freed->next == nullptr)
        withFree_[sizeClass].push_back(&chunk);
    chunk.free[sizeClass] = freed;
}

// Unmaps an emptied chunk; its free lists lie inside it, so they are dropped with it and
// no other chunk's list can lead there.
void RowArena::release(std::unordered_map<std::uintptr_t, Chunk>::iterator it) noexcept {
    Chunk* chunk = &it->second;
    for (std::size_t c = 0; c < kClasses; ++c)
        if (chunk->free[c] != nullptr)
            std::erase(withFree_[c], chunk);
    if (current_ == chunk)
        current_ = nullptr;
    munmap(reinterpret_cast<void*>(it->first), chunkSize);
    chunks_.erase(it);
}
