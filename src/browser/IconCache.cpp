#include "browser/IconCache.h"

#include "platform/fs/FileSystem.h"
#include "platform/IconTheme.h"
#include "controls/ImageList.h"

const std::string& IconCache::iconOf(std::string_view path, std::optional<bool> isFolder) {
    static const std::string none = "new";
    if (!isFolder) {
        if (FileSystem::folderExists(path))
            isFolder = true;
        else if (FileSystem::fileExists(path))
            isFolder = false;
        else
            return none;
    }
    const std::string& name = theme_.iconNameFor(path, *isFolder);
    if (name.empty())
        return none;
    auto it = keys_.find(&name);
    if (it == keys_.end()) {
        std::string key = std::string(ImageList::iconKeyPrefix) + name;
        if (!images_.exists(key))
            images_.add(key, name);
        it = keys_.emplace(&name, std::move(key)).first;
    }
    return it->second;
}
