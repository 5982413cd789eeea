#include "browser/IconCache.h"

#include "platform/FileSystem.h"
#include "platform/IconTheme.h"
#include "platform/controls/ImageList.h"

std::string IconCache::trGtIcon(std::string_view path, std::optional<bool> isFolder) {
    if (!isFolder) {
        if (FileSystem::folderExists(path))
            isFolder = true;
        else if (FileSystem::fileExists(path))
            isFolder = false;
        else
            return "new";
    }
    const std::string name = theme_.iconNameFor(std::string(path), *isFolder);
    if (name.empty())
        return "new";
    std::string key = std::string(ImageList::iconKeyPrefix) + name;
    if (!images_.exists(key))
        images_.add(key, name);
    return key;
}
