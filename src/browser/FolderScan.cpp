#include "browser/FolderScan.h"

#include "browser/PathText.h"
#include "platform/MessageBox.h"
#include "platform/SystemErrorText.h"
#include "platform/TextCase.h"

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

bool FolderScan::reportMissing(std::string_view path) {
    if (FileSystem::folderExists(path))
        return false;
    std::string shown(path);
    PathText::AddSep(shown);
    messages_.inform(shown + " Not Found ");
    return true;
}

bool FolderScan::reportUnreadable(std::string_view path) {
    const int error = FileSystem::folderReadError(path);
    if (error == 0)
        return false;
    messages_.inform("「" + std::string(path) + "」の内容を読み取れません。\r" +
                     SystemErrorText::text(error));
    return true;
}

void FolderScan::readAhead(std::string_view path, std::string_view filter) {
    ahead_.reset();
    Both entries = GtFldsAndFLs(path, filter);
    ahead_ = ReadAhead{std::string(path), std::string(filter), std::move(entries)};
}

FolderEntries FolderScan::GtFlds(std::string_view path) {
    if (ahead_ && !ahead_->foldersServed && ahead_->folder == path) {
        ahead_->foldersServed = true;
        return std::move(ahead_->entries.folders);
    }
    FolderEntries result;
    if (reportMissing(path) || bHidFld(path))
        return result;
    result.entries = FileSystem::subFolders(path);
    result.any = !result.entries.empty();
    std::erase_if(result.entries, [](const FileRecord& f) { return bHidFld(f); });
    return result;
}

FolderEntries FolderScan::GtFLs(std::string_view path, std::string_view filter) {
    if (ahead_ && !ahead_->filesServed && ahead_->folder == path && ahead_->filter == filter) {
        ahead_->filesServed = true;
        return std::move(ahead_->entries.files);
    }
    FolderEntries result;
    if (reportMissing(path))
        return result;
    result.entries = FileSystem::files(path);
    result.any = !result.entries.empty();
    keepPassing(result.entries, filter);
    return result;
}

FolderScan::Both FolderScan::GtFldsAndFLs(std::string_view path, std::string_view filter,
                                          bool sorted) {
    if (reportMissing(path))
        return {};
    return fromListing(path, filter, FileSystem::list(path, sorted));
}

FolderScan::Both FolderScan::fromListing(std::string_view path, std::string_view filter,
                                         FolderListing listing) {
    Both both;
    both.files.any = !listing.files.empty();
    both.files.entries = std::move(listing.files);
    keepPassing(both.files.entries, filter);
    if (bHidFld(path))
        return both;
    both.folders.any = !listing.folders.empty();
    both.folders.entries = std::move(listing.folders);
    std::erase_if(both.folders.entries, [](const FileRecord& f) { return bHidFld(f); });
    return both;
}

bool FolderScan::bHasFld(std::string_view path, std::string_view name) {
    if (!FileSystem::folderExists(path) || bHidFld(path))
        return false;
    if (name.empty())
        return FileSystem::hasSubfolder(path);
    return hasNamed(FileSystem::subFolders(path), name);
}

bool FolderScan::bHasFL(std::string_view path, std::string_view name) {
    if (!FileSystem::folderExists(path))
        return false;
    if (name.empty())
        return FileSystem::hasFile(path);
    return hasNamed(FileSystem::files(path), name);
}

bool FolderScan::bHidFld(const FileRecord& folder) {
    if (folder.attributes == 24 || folder.attributes == 1046)
        return true;
    if (TextCase::find(folder.name, "System Volume Information") != std::string::npos)
        return true;
    return TextCase::find(folder.path, "/Windows/CSC") != std::string::npos;
}

bool FolderScan::bHidFld(std::string_view path) {
    const auto record = FileSystem::getFolder(path);
    return !record || bHidFld(*record);
}

bool FolderScan::passesFilter(std::string_view name, std::string_view filter) {
    if (filter.empty() || TextCase::equal(filter, "*.*"))
        return true;
    return TextCase::find(filter, PathText::extensionOf(name)) != std::string::npos;
}
