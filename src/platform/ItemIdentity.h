#pragma once

#include <cstdint>

// What tells one directory entry from another and from its own later state: the inode on
// its device, its kind, and its size and modification time. Taken without following a
// symbolic link.
struct ItemIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint32_t kind = 0; // the file-type bits of the mode
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    bool operator==(const ItemIdentity&) const = default;
};
