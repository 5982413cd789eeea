#include "platform/controls/RowArena.h"

#include <new>
#include <sys/mman.h>

namespace {

constexpr std::size_t kAlignment = alignof(std::max_align_t);

} // namespace

RowArena::~RowArena() {
    for (const auto& [base, chunk] : chunks_)
        munmap(reinterpret_cast<void*>(base), chunkSize);
}

std::size_t RowArena::rounded(std::size_t bytes) {
    return (bytes + kAlignment - 1) / kAlignment * kAlignment;
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
    current_ = &chunks_.emplace(base, Chunk{}).first->second;
    currentBase_ = base;
}

void* RowArena::allocate(std::size_t bytes) {
    const std::size_t size = rounded(bytes == 0 ? 1 : bytes);
    if (size > largeBlock)
        return ::operator new(size);
    if (current_ == nullptr || current_->used + size > chunkSize)
        newChunk();
    void* block = reinterpret_cast<void*>(currentBase_ + current_->used);
    current_->used += size;
    ++current_->live;
    return block;
}

void RowArena::deallocate(void* block, std::size_t bytes) noexcept {
    if (block == nullptr)
        return;
    if (rounded(bytes == 0 ? 1 : bytes) > largeBlock) {
        ::operator delete(block);
        return;
    }
    const std::uintptr_t base = reinterpret_cast<std::uintptr_t>(block) & ~(chunkSize - 1);
    const auto it = chunks_.find(base);
    if (it == chunks_.end() || --it->second.live > 0)
        return;
    if (base == currentBase_) {
        it->second.used = 0;
        return;
    }
    munmap(reinterpret_cast<void*>(base), chunkSize);
    chunks_.erase(it);
}
