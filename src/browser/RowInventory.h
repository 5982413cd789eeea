#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

class ListControl;
class ListItem;

// The list's rows by exact name, for one reconciliation with the folder on disk: a row
// found again leaves the inventory, the rows left over have vanished. One flat table with
// linear probing; a folder of 100,000 rows costs no allocation per row.
//
// A large folder's rows and slots lie all over memory, and waiting for each in turn is
// what a look-up costs. So a slot keeps where its row's name lies (the name and the row
// are then fetched side by side), and look-ups run in batches that start fetching the
// slots and rows of the names a few places ahead. A row's texts must therefore not
// change until it is taken.
class RowInventory {
  public:
    explicit RowInventory(const ListControl& list);

    // For each i below `count`, takes the row named nameAt(i) with that tag (a folder's or a
    // file's) out and calls visit(i, row), the row null when there is none.
    template <typename NameAt, typename Visit>
    void takeEach(std::size_t count, std::string_view tag, NameAt nameAt, Visit visit);
    // The rows never taken, in no particular order.
    std::vector<ListItem*> left() const;

  private:
    static constexpr std::uint32_t kTaken = UINT32_MAX;
    // How far ahead the slots, and then the names and rows they point to, are fetched.
    static constexpr std::size_t kSlotsAhead = 16;
    static constexpr std::size_t kRowsAhead = 8;

    struct Slot {
        const char* name = nullptr;
        ListItem* item = nullptr; // null: never used
        std::uint32_t check = 0;  // the hash's high half
        std::uint32_t length = 0; // of the name; kTaken once the row is taken
    };

    static std::size_t hashOf(std::string_view name);
    void prefetchSlot(std::size_t hash) const;
    void prefetchRow(std::size_t hash) const;
    ListItem* take(std::string_view name, std::size_t hash, std::string_view tag);

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};

template <typename NameAt, typename Visit>
void RowInventory::takeEach(std::size_t count, std::string_view tag, NameAt nameAt, Visit visit) {
    std::vector<std::size_t> hashes(count);
    for (std::size_t i = 0; i < count; ++i)
        hashes[i] = hashOf(nameAt(i));
    for (std::size_t i = 0; i < count; ++i) {
        if (i + kSlotsAhead < count)
            prefetchSlot(hashes[i + kSlotsAhead]);
        if (i + kRowsAhead < count)
            prefetchRow(hashes[i + kRowsAhead]);
        visit(i, take(nameAt(i), hashes[i], tag));
    }
}
