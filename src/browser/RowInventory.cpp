#include "browser/RowInventory.h"

#include "platform/controls/ListControl.h"

#include <bit>
#include <functional>

RowInventory::RowInventory(const ListControl& list) {
    const auto rows = static_cast<std::size_t>(list.count());
    // At most half full, so probe runs stay short.
    slots_.resize(std::bit_ceil(rows * 2 + 2));
    mask_ = slots_.size() - 1;
    for (int i = 1; i <= list.count(); ++i) {
        ListItem* item = list.itemAt(i);
        const std::size_t hash = std::hash<std::string_view>{}(item->text());
        std::size_t at = hash & mask_;
        while (slots_[at].item)
            at = (at + 1) & mask_;
        slots_[at] = Slot{hash, item, false};
    }
}

ListItem* RowInventory::take(std::string_view name, std::string_view tag) {
    const std::size_t hash = std::hash<std::string_view>{}(name);
    for (std::size_t at = hash & mask_; slots_[at].item; at = (at + 1) & mask_) {
        Slot& slot = slots_[at];
        if (!slot.taken && slot.hash == hash && slot.item->text() == name &&
            slot.item->tag() == tag) {
            slot.taken = true;
            return slot.item;
        }
    }
    return nullptr;
}

std::vector<ListItem*> RowInventory::left() const {
    std::vector<ListItem*> rows;
    for (const Slot& slot : slots_)
        if (slot.item && !slot.taken)
            rows.push_back(slot.item);
    return rows;
}
