#include "controls/ListItem.h"

#include "controls/RowArena.h"

#include <cstring>
#include <string>

std::string_view ListItem::columnText(int column) const {
    if (column < 0 || column >= columnCount) {
        return {};
    }
    return part(FirstColumnPart + column);
}

std::string_view ListItem::part(int index) const {
    const std::uint32_t begin = index == 0 ? 0 : ends_[static_cast<std::size_t>(index - 1)];
    return {texts_ + begin, ends_[static_cast<std::size_t>(index)] - begin};
}

void ListItem::copyParts(const std::array<std::string_view, PartCount>& parts, char* to,
                         std::array<std::uint32_t, PartCount>& ends) {
    std::size_t end = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!parts[i].empty()) {
            std::memcpy(to + end, parts[i].data(), parts[i].size());
        }
        end += parts[i].size();
        ends[i] = static_cast<std::uint32_t>(end);
    }
}

void ListItem::setParts(const std::array<std::string_view, PartCount>& parts, RowArena& arena) {
    std::size_t total = 0;
    for (std::string_view p : parts) {
        total += p.size();
    }
    if (texts_ != nullptr && total <= capacity_) {
        // Rewritten in place (a reconciliation's new dates and sizes mostly fit); the
        // parts may point into the block, so they are gathered first.
        thread_local std::string gathered;
        gathered.resize(total);
        copyParts(parts, gathered.data(), ends_);
        std::memcpy(texts_, gathered.data(), total);
        return;
    }
    // The new block is filled before the old one goes: the parts may point into it.
    auto* block = static_cast<char*>(arena.allocate(total));
    std::array<std::uint32_t, PartCount> ends{};
    copyParts(parts, block, ends);
    freeTexts(arena);
    texts_ = block;
    ends_ = ends;
    capacity_ = static_cast<std::uint32_t>(RowArena::capacity(total));
}

void ListItem::setPart(int index, std::string_view text, RowArena& arena) {
    std::array<std::string_view, PartCount> parts;
    for (int i = 0; i < PartCount; ++i) {
        parts[static_cast<std::size_t>(i)] = i == index ? text : part(i);
    }
    setParts(parts, arena);
}

void ListItem::freeTexts(RowArena& arena) noexcept {
    if (texts_ != nullptr) {
        arena.deallocate(texts_, capacity_);
        texts_ = nullptr;
    }
}
