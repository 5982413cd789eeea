#pragma once

#include <string>
#include <string_view>

// Icons of files and folders from the desktop's icon theme.
// Threads: the user-interface thread only; a look-up may read the icon theme's files once.
class IconTheme {
  public:
    virtual ~IconTheme() = default;
    // The theme icon name for an item, from its name alone (the file is never read):
    // the icon of its content type by extension, "folder" for folders. Never empty. The
    // text stays valid while the theme lives, so callers may key on its address.
    virtual const std::string& iconNameFor(std::string_view path, bool isFolder) = 0;
};
