#include "controls/ImageList.h"

ImageList::ImageList() {
    add("Null", std::string(blankIcon));
    add("Down", "go-down");
    add("Up", "go-up");
    add("FoldC", "folder");
    add("new", "text-x-generic");
}

bool ImageList::exists(std::string_view key) const {
    return names_.count(std::string(key)) != 0;
}

bool ImageList::add(std::string key, std::string iconName) {
    if (key.empty() || exists(key)) {
        return false;
    }
    order_.push_back(key);
    names_.emplace(std::move(key), std::move(iconName));
    return true;
}

std::string ImageList::iconName(std::string_view key) const {
    const auto it = names_.find(std::string(key));
    return it == names_.end() ? std::string() : it->second;
}
