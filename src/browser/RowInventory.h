#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

class ListControl;
class ListItem;

// The list's rows by exact name, for one reconciliation with the folder on disk: a row
// found again leaves the inventory, the rows left over have vanished. One flat table with
// linear probing; a folder of 100,000 rows costs no allocation per row. The names are
// views into the rows, so a row's first-column text must not change while it is inside.
class RowInventory {
  public:
    explicit RowInventory(const ListControl& list);

    // Takes the row of that name and tag ("FD", "FL") out; null when there is none.
    ListItem* take(std::string_view name, std::string_view tag);
    // The rows never taken, in no particular order.
    std::vector<ListItem*> left() const;

  private:
    struct Slot {
        std::size_t hash = 0;
        ListItem* item = nullptr; // null: never used
        bool taken = false;
    };

    std::vector<Slot> slots_;
    std::size_t mask_ = 0;
};
