#include "browser/FolderScan.h"

#include "browser/FolderSnapshots.h"

#include "platform/MessageBox.h"
#include "platform/text/PathText.h"
#include "platform/text/SystemErrorText.h"
#include "platform/text/TextCase.h"

namespace {

bool hasNamed(const std::vector<FileRecord>& records, std::string_view name) {
    const std::string wanted = TextCase::upper(name);
    for (const auto& r : records)
        if (TextCase::upper(r.name) == wanted)
            return true;
    return false;
}

// Filters in place: a large folder's records are not copied.
void keepPassing(std::vector<FileRecord>& files, std::string_view filter) {
    if (filter.empty() || TextCase::equal(filter, "*.*"))
        return;
    std::erase_if(files,
                  [&](const FileRecord& f) { return !FolderScan::passesFilter(f.name, filter); });
}

} // namespace

const FolderSnapshot* FolderScan::peekOf(std::string_view path) const {
    return snapshots_ ? snapshots_->find(path) : nullptr;
}

const FolderSnapshot* FolderScan::fullOf(std::string_view path) const {
    return snapshots_ ? snapshots_->findFull(path) : nullptr;
}

bool FolderScan::folderExists(std::string_view path) const {
    if (const FolderSnapshot* s = peekOf(path))
        return s->record.has_value();
    return FileSystem::folderExists(path);
}

bool FolderScan::linksCountSubfolders(std::string_view path) const {
    if (const FolderSnapshot* s = fullOf(path))
        return s->linksCountSubfolders;
    return FileSystem::linksCountSubfolders(path);
}

bool FolderScan::hiddenFolder(std::string_view path) const {
    if (const FolderSnapshot* s = peekOf(path))
        return !s->record || isHiddenFolder(*s->record);
    return isHiddenFolder(path);
}

bool FolderScan::reportMissing(std::string_view path) {
    if (folderExists(path))
        return false;
    std::string shown(path);
    PathText::withSeparator(shown);
    messages_.inform(shown + " Not Found ");
    return true;
}

bool FolderScan::reportUnreadable(std::string_view path) {
    const FolderSnapshot* s = fullOf(path);
    const int error = s ? s->readError : FileSystem::folderReadError(path);
    if (error == 0)
        return false;
    messages_.inform("「" + std::string(path) + "」の内容を読み取れません。\r" +
                     SystemErrorText::text(error));
    return true;
}

void FolderScan::readAhead(std::string_view path, std::string_view filter) {
    ahead_.reset();
    Both entries = listFoldersAndFiles(path, filter);
    ahead_ = ReadAhead{std::string(path), std::string(filter), std::move(entries)};
}

FolderEntries FolderScan::listFolders(std::string_view path) {
    if (ahead_ && !ahead_->foldersServed && ahead_->folder == path) {
        ahead_->foldersServed = true;
        return std::move(ahead_->entries.folders);
    }
    FolderEntries result;
    if (reportMissing(path) || hiddenFolder(path))
        return result;
    const FolderSnapshot* s = fullOf(path);
    result.entries = s ? s->listing.folders : FileSystem::subFolders(path);
    if (s && !s->sorted)
        FileSystem::sortByName(result.entries);
    result.any = !result.entries.empty();
    std::erase_if(result.entries, [](const FileRecord& f) { return isHiddenFolder(f); });
    return result;
}

FolderEntries FolderScan::listFiles(std::string_view path, std::string_view filter) {
    if (ahead_ && !ahead_->filesServed && ahead_->folder == path && ahead_->filter == filter) {
        ahead_->filesServed = true;
        return std::move(ahead_->entries.files);
    }
    FolderEntries result;
    if (reportMissing(path))
        return result;
    const FolderSnapshot* s = fullOf(path);
    result.entries = s ? s->listing.files : FileSystem::files(path);
    if (s && !s->sorted)
        FileSystem::sortByName(result.entries);
    result.any = !result.entries.empty();
    keepPassing(result.entries, filter);
    return result;
}

FolderScan::Both FolderScan::listFoldersAndFiles(std::string_view path, std::string_view filter,
                                                 bool sorted) {
    if (reportMissing(path))
        return {};
    if (const FolderSnapshot* s = fullOf(path)) {
        Both both = fromListing(path, filter, s->listing);
        if (sorted && !s->sorted) {
            FileSystem::sortByName(both.folders.entries);
            FileSystem::sortByName(both.files.entries);
        }
        return both;
    }
    return fromListing(path, filter, FileSystem::list(path, sorted));
}

FolderScan::Both FolderScan::fromListing(std::string_view path, std::string_view filter,
                                         FolderListing listing) const {
    Both both;
    both.files.any = !listing.files.empty();
    both.files.entries = std::move(listing.files);
    keepPassing(both.files.entries, filter);
    if (hiddenFolder(path))
        return both;
    both.folders.any = !listing.folders.empty();
    both.folders.entries = std::move(listing.folders);
    std::erase_if(both.folders.entries, [](const FileRecord& f) { return isHiddenFolder(f); });
    return both;
}

bool FolderScan::servedEntries(std::string_view path, std::string_view filter,
                               std::vector<const FileRecord*>& folders,
                               std::vector<const FileRecord*>& files) const {
    const FolderSnapshot* s = fullOf(path);
    if (!s)
        return false;
    folders.clear();
    files.clear();
    for (const FileRecord& f : s->listing.files)
        if (passesFilter(f.name, filter))
            files.push_back(&f);
    if (hiddenFolder(path))
        return true;
    for (const FileRecord& f : s->listing.folders)
        if (!isHiddenFolder(f))
            folders.push_back(&f);
    return true;
}

bool FolderScan::hasFolders(std::string_view path, std::string_view name) {
    if (!folderExists(path) || hiddenFolder(path))
        return false;
    if (const FolderSnapshot* s = peekOf(path); s && name.empty())
        return s->hasSubfolder;
    if (const FolderSnapshot* s = fullOf(path))
        return hasNamed(s->listing.folders, name);
    if (name.empty())
        return FileSystem::hasSubfolder(path);
    return hasNamed(FileSystem::subFolders(path), name);
}

bool FolderScan::hasFiles(std::string_view path, std::string_view name) {
    if (!folderExists(path))
        return false;
    if (const FolderSnapshot* s = peekOf(path); s && name.empty())
        return s->hasFile;
    if (const FolderSnapshot* s = fullOf(path))
        return hasNamed(s->listing.files, name);
    if (name.empty())
        return FileSystem::hasFile(path);
    return hasNamed(FileSystem::files(path), name);
}

bool FolderScan::isHiddenFolder(const FileRecord& folder) {
    if (folder.attributes == 24 || folder.attributes == 1046)
        return true;
    if (TextCase::find(folder.name, "System Volume Information") != std::string::npos)
        return true;
    return TextCase::find(folder.path, "/Windows/CSC") != std::string::npos;
}

bool FolderScan::isHiddenFolder(std::string_view path) {
    const auto record = FileSystem::getFolder(path);
    return !record || isHiddenFolder(*record);
}

bool FolderScan::passesFilter(std::string_view name, std::string_view filter) {
    if (filter.empty() || TextCase::equal(filter, "*.*"))
        return true;
    return TextCase::find(filter, PathText::extensionOf(name)) != std::string::npos;
}
