#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

class IconTheme;
class ImageList;

// Image keys of files and folders: one image per distinct theme icon, added to the
// image list the first time that icon is seen. The key is "ICON:" + the icon's name;
// an item without an icon (a path that does not exist) gets "new".
class IconCache {
  public:
    IconCache(IconTheme& theme, ImageList& images) : theme_(theme), images_(images) {}

    // `isFolder` when the caller knows the kind already (saves a look at the disk).
    const std::string& iconOf(std::string_view path, std::optional<bool> isFolder = std::nullopt);

  private:
    IconTheme& theme_;
    ImageList& images_;
    // Image keys by the theme's icon name (its address: the theme keeps its names).
    std::unordered_map<const std::string*, std::string> keys_;
};
