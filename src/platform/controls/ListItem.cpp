#include "platform/controls/ListItem.h"

#include <cstring>

std::string_view ListItem::columnText(int column) const {
    if (column < 0 || column >= columnCount) {
        return {};
    }
    return part(FirstColumnPart + column);
}

std::string_view ListItem::part(int index) const {
    const std::uint32_t begin = index == 0 ? 0 : ends_[static_cast<std::size_t>(index - 1)];
    return {texts_.get() + begin, ends_[static_cast<std::size_t>(index)] - begin};
}

void ListItem::setParts(const std::array<std::string_view, PartCount>& parts) {
    std::size_t total = 0;
    for (std::string_view p : parts) {
        total += p.size();
    }
    auto block = std::make_unique_for_overwrite<char[]>(total);
    std::size_t end = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (!parts[i].empty()) {
            std::memcpy(block.get() + end, parts[i].data(), parts[i].size());
        }
        end += parts[i].size();
        ends_[i] = static_cast<std::uint32_t>(end);
    }
    texts_ = std::move(block);
}

void ListItem::setPart(int index, std::string_view text) {
    std::array<std::string_view, PartCount> parts;
    for (int i = 0; i < PartCount; ++i) {
        parts[static_cast<std::size_t>(i)] = i == index ? text : part(i);
    }
    setParts(parts);
}
