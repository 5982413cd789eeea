#include "controls/RowArena.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

struct Block {
    unsigned char* data;
    std::size_t size;
    unsigned char fill;
};

bool intact(const Block& b) {
    return std::all_of(b.data, b.data + b.size, [&](unsigned char c) { return c == b.fill; });
}

TEST(RowArenaTest, BlocksAreAlignedAndDisjointAcrossChunksAndAfterFreeing) {
    RowArena arena;
    std::mt19937 random(7);
    std::vector<Block> blocks;
    const auto add = [&](std::size_t size) {
        auto* data = static_cast<unsigned char*>(arena.allocate(size));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % alignof(std::max_align_t), 0u);
        const auto fill = static_cast<unsigned char>(blocks.size());
        std::memset(data, fill, size);
        blocks.push_back({data, size, fill});
    };
    // Several chunks' worth, with a few blocks too large for a chunk and some empty ones.
    for (int i = 0; i < 60000; ++i)
        add(i % 5000 == 0 ? RowArena::largeBlock * 3 : i % 997 == 0 ? 0 : random() % 200);
    // Free every other block in a scattered order, then allocate again.
    std::shuffle(blocks.begin(), blocks.end(), random);
    const std::size_t kept = blocks.size() / 2;
    for (std::size_t i = kept; i < blocks.size(); ++i)
        arena.deallocate(blocks[i].data, blocks[i].size);
    blocks.resize(kept);
    for (int i = 0; i < 30000; ++i)
        add(random() % 300);
    EXPECT_TRUE(std::all_of(blocks.begin(), blocks.end(), intact));
    for (const Block& b : blocks)
        arena.deallocate(b.data, b.size);
    // An emptied arena serves again.
    blocks.clear();
    for (int i = 0; i < 1000; ++i)
        add(64);
    EXPECT_TRUE(std::all_of(blocks.begin(), blocks.end(), intact));
}

// Rows rewritten again and again with texts of other lengths, as reconciliations do:
// freed blocks serve the new ones, so the mapped chunks stay near the first fill's, and
// freeing everything gives every chunk back.
TEST(RowArenaTest, RewritesReuseFreedBlocksAndFreeingAllUnmapsEverything) {
    RowArena arena;
    std::mt19937 random(11);
    std::vector<Block> rows(100000);
    const auto write = [&](Block& b) {
        b = {static_cast<unsigned char*>(arena.allocate(b.size)), b.size, b.fill};
        std::memset(b.data, b.fill, b.size);
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i] = {nullptr, 16 + random() % 150, static_cast<unsigned char>(i)};
        write(rows[i]);
    }
    const std::size_t firstFill = arena.mappedBytes();
    for (int round = 0; round < 20; ++round) {
        for (Block& b : rows) {
            Block old = b;
            b.size = 16 + random() % 150;
            write(b);
            arena.deallocate(old.data, old.size);
        }
        ASSERT_LE(arena.mappedBytes(), firstFill + firstFill / 10) << "round " << round;
    }
    EXPECT_TRUE(std::all_of(rows.begin(), rows.end(), intact));
    for (const Block& b : rows)
        arena.deallocate(b.data, b.size);
    EXPECT_EQ(arena.mappedBytes(), 0u);
}

} // namespace
