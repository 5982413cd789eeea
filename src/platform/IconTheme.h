#pragma once

#include <string>

// Icons of files and folders from the desktop's icon theme.
class IconTheme {
  public:
    virtual ~IconTheme() = default;
    // The theme icon name for an item, from its name alone (the file is never read):
    // the icon of its content type by extension, "folder" for folders. Never empty.
    virtual std::string iconNameFor(const std::string& path, bool isFolder) = 0;
};
