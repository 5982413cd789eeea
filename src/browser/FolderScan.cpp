#include "browser/FolderScan.h"

#include "browser/FolderSnapshots.h"
#include "browser/HiddenEntries.h"

#include "platform/MessageBox.h"
#include "platform/text/PathText.h"
#include "platform/text/SystemErrorText.h"
#include "platform/text/TextCase.h"

#include <algorithm>

namespace {

bool hasNamed(const std::vector<FileRecord>& records, std::string_view name) {
    const std::string wanted = TextCase::upper(name);
    for (const auto& r : records)
        if (TextCase::upper(r.name) == wanted)
            return true;
    return false;
}

bool filters(std::string_view filter) {
    return !filter.empty() && !TextCase::equal(filter, "*.*");
}

} // namespace

bool FolderScan::hidesEntries() const {
    return hidden_ && !hidden_->shown();
}

bool FolderScan::hides(const FileRecord& entry) const {
    return hidden_ && hidden_->hides(entry);
}

bool FolderScan::anyShown(const std::vector<FileRecord>& entries) const {
    if (!hidesEntries())
        return !entries.empty();
    return std::any_of(entries.begin(), entries.end(),
                       [&](const FileRecord& e) { return !hides(e); });
}

void FolderScan::keepShownFolders(std::vector<FileRecord>& folders) const {
    std::erase_if(folders, [&](const FileRecord& f) { return isHiddenFolder(f) || hides(f); });
}

void FolderScan::keepShownFiles(std::vector<FileRecord>& files, std::string_view filter) const {
    const bool filtering = filters(filter);
    if (!filtering && !hidesEntries())
        return;
    std::erase_if(files, [&](const FileRecord& f) {
        return hides(f) || (filtering && !passesFilter(f.name, filter));
    });
}

bool FolderScan::holdsShownSubfolder(std::string_view path) const {
    return FileSystem::hasSubfolder(path, hidden_ ? hidden_->skipped() : nullptr);
}

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
    keepShownFolders(result.entries);
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
    keepShownFiles(result.entries, filter);
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
    keepShownFiles(both.files.entries, filter);
    if (hiddenFolder(path))
        return both;
    both.folders.any = !listing.folders.empty();
    both.folders.entries = std::move(listing.folders);
    keepShownFolders(both.folders.entries);
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
        if (passesFilter(f.name, filter) && !hides(f))
            files.push_back(&f);
    if (hiddenFolder(path))
        return true;
    for (const FileRecord& f : s->listing.folders)
        if (!isHiddenFolder(f) && !hides(f))
            folders.push_back(&f);
    return true;
}

bool FolderScan::hasFolders(std::string_view path, std::string_view name) {
    if (!folderExists(path) || hiddenFolder(path))
        return false;
    // A peek was read with the rule of hidden entries as it stood then.
    if (const FolderSnapshot* s = fullOf(path))
        return name.empty() ? anyShown(s->listing.folders) : hasNamed(s->listing.folders, name);
    if (const FolderSnapshot* s = peekOf(path); s && name.empty())
        return s->hasSubfolder;
    if (name.empty())
        return holdsShownSubfolder(path);
    return hasNamed(FileSystem::subFolders(path), name);
}

bool FolderScan::hasFiles(std::string_view path, std::string_view name) {
    if (!folderExists(path))
        return false;
    if (const FolderSnapshot* s = fullOf(path))
        return name.empty() ? anyShown(s->listing.files) : hasNamed(s->listing.files, name);
    if (const FolderSnapshot* s = peekOf(path); s && name.empty())
        return s->hasFile;
    if (name.empty())
        return FileSystem::hasFile(path, hidden_ ? hidden_->skipped() : nullptr);
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
