#include "browser/RowInventory.h"

#include "controls/ListControl.h"

#include <bit>
#include <functional>

namespace {

std::uint32_t checkOf(std::size_t hash) {
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(hash) >> 32);
}

} // namespace

std::size_t RowInventory::hashOf(std::string_view name) {
    return std::hash<std::string_view>{}(name);
}

RowInventory::RowInventory(const ListControl& list) {
    const auto rows = static_cast<std::size_t>(list.count());
    // At most half full, so probe runs stay short.
    slots_.resize(std::bit_ceil(rows * 2 + 2));
    mask_ = slots_.size() - 1;
    std::vector<std::size_t> hashes(rows);
    for (std::size_t i = 0; i < rows; ++i)
        hashes[i] = hashOf(list.itemAt(static_cast<int>(i) + 1)->text());
    for (std::size_t i = 0; i < rows; ++i) {
        if (i + kSlotsAhead < rows)
            prefetchSlot(hashes[i + kSlotsAhead]);
        ListItem* item = list.itemAt(static_cast<int>(i) + 1);
        const std::string_view name = item->text();
        std::size_t at = hashes[i] & mask_;
        while (slots_[at].item)
            at = (at + 1) & mask_;
        slots_[at] =
            Slot{name.data(), item, checkOf(hashes[i]), static_cast<std::uint32_t>(name.size())};
    }
}

void RowInventory::prefetchSlot(std::size_t hash) const {
    __builtin_prefetch(&slots_[hash & mask_]);
}

void RowInventory::prefetchRow(std::size_t hash) const {
    const Slot& slot = slots_[hash & mask_];
    if (slot.item && slot.length != kTaken) {
        __builtin_prefetch(slot.name);
        __builtin_prefetch(slot.item);
    }
}

ListItem* RowInventory::take(std::string_view name, std::size_t hash, std::string_view tag) {
    const std::uint32_t check = checkOf(hash);
    for (std::size_t at = hash & mask_; slots_[at].item; at = (at + 1) & mask_) {
        Slot& slot = slots_[at];
        // A taken slot's length never matches, so its name (which may have moved with its
        // row's texts) is never read again.
        if (slot.check == check && slot.length == name.size() &&
            std::string_view(slot.name, slot.length) == name && slot.item->tag() == tag) {
            slot.length = kTaken;
            return slot.item;
        }
    }
    return nullptr;
}

std::vector<ListItem*> RowInventory::left() const {
    std::vector<ListItem*> rows;
    for (const Slot& slot : slots_)
        if (slot.item && slot.length != kTaken)
            rows.push_back(slot.item);
    return rows;
}
