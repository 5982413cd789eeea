#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The images the tree and the list refer to by key. The control keeps only keys and the
// names of theme icons; the views turn the names into pictures. A new ImageList holds
// the design images "Null" (blank), "Down" and "Up" (sort arrows), "FoldC" (closed
// folder) and "new" (an item without an icon of its own); keys added at run time are
// "ICON:" + a theme icon name. Images are only ever added.
class ImageList {
  public:
    // Icon name of the blank design image "Null": the views draw nothing for it.
    static constexpr std::string_view blankIcon = "";
    static constexpr std::string_view iconKeyPrefix = "ICON:";

    ImageList();

    bool exists(std::string_view key) const;
    // Adds an image; false (and no change) when the key exists already or is empty.
    bool add(std::string key, std::string iconName);
    // The theme icon name of a key; empty for an unknown key and for "Null".
    std::string iconName(std::string_view key) const;
    int count() const { return static_cast<int>(order_.size()); }
    // Keys in the order they were added, design images first.
    const std::vector<std::string>& keys() const { return order_; }

  private:
    std::unordered_map<std::string, std::string> names_;
    std::vector<std::string> order_;
};
