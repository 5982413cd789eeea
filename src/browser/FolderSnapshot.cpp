#include "browser/FolderSnapshot.h"

FolderSnapshot FolderSnapshot::read(const std::string& folder, Depth depth, bool sorted,
                                    FileSystem::NameTest skip) {
    FolderSnapshot s;
    s.folder = folder;
    s.depth = depth;
    s.sorted = sorted;
    s.record = FileSystem::getFolder(folder);
    if (!s.record)
        return s;
    if (depth == Depth::Peek) {
        s.hasSubfolder = FileSystem::hasSubfolder(folder, skip);
        s.hasFile = FileSystem::hasFile(folder, skip);
        return s;
    }
    s.listing = FileSystem::list(folder, sorted);
    if (s.listing.folders.empty() && s.listing.files.empty())
        s.readError = FileSystem::folderReadError(folder);
    s.linksCountSubfolders = FileSystem::linksCountSubfolders(folder);
    s.hasSubfolder = !s.listing.folders.empty();
    s.hasFile = !s.listing.files.empty();
    return s;
}
