#pragma once

#include "browser/FolderSnapshot.h"
#include "platform/fs/FileSystem.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class FolderSnapshots;
class HiddenEntries;
class MessageBox;

// A folder's subfolders or files as the browser shows them, and whether it reported any.
struct FolderEntries {
    std::vector<FileRecord> entries;
    bool any = false;
};

// The folder and file enumeration of the browser with its exclusion and filter rules, and
// the rule of `hidden` entries (none are hidden without one). A folder whose snapshot is
// being served (`snapshots`) is answered from it, never from the disk.
class FolderScan {
  public:
    explicit FolderScan(MessageBox& messages, const FolderSnapshots* snapshots = nullptr,
                        const HiddenEntries* hidden = nullptr)
        : messages_(messages), snapshots_(snapshots), hidden_(hidden) {}

    bool folderExists(std::string_view path) const;
    // Whether the link counts of the folder's subfolders tell their subfolders.
    bool linksCountSubfolders(std::string_view path) const;

    // Visible subfolders: `any` is true when the folder has at least one subfolder, even
    // if every one of them is excluded. A missing folder is reported with " Not Found ".
    FolderEntries listFolders(std::string_view path);
    // Files passing `filter`; `any` is true when the folder holds at least one file.
    FolderEntries listFiles(std::string_view path, std::string_view filter);
    // listFolders and listFiles of one folder from a single read of it (one " Not Found " at most).
    struct Both {
        FolderEntries folders;
        FolderEntries files;
    };
    // `sorted` false leaves the entries as the folder holds them.
    Both listFoldersAndFiles(std::string_view path, std::string_view filter, bool sorted = true);
    // The entries fromListing would give, as pointers into the served full snapshot of the
    // folder; false when none is served.
    bool servedEntries(std::string_view path, std::string_view filter,
                       std::vector<const FileRecord*>& folders,
                       std::vector<const FileRecord*>& files) const;
    // The same from a listing already read.
    Both fromListing(std::string_view path, std::string_view filter, FolderListing listing) const;
    // Reads a folder once for the next listFolders and listFiles (with this filter) of it: when the
    // tree's new node and the list show the same folder, one read serves both. Each part
    // is served once; dropReadAhead() forgets what was not asked for.
    void readAhead(std::string_view path, std::string_view filter);
    void dropReadAhead() { ahead_.reset(); }
    // Subfolder (file) of that name, or any shown one with an empty name; false for an
    // excluded or missing folder.
    bool hasFolders(std::string_view path, std::string_view name);
    bool hasFiles(std::string_view path, std::string_view name);
    // One look inside the folder on the disk for a subfolder that would be shown.
    bool holdsShownSubfolder(std::string_view path) const;
    // Whether entries are being left out as hidden: a folder's link count then no longer
    // tells whether it holds a subfolder that is shown.
    bool hidesEntries() const;
    // Folders the browser never shows: "System Volume Information", the offline-files
    // cache "/Windows/CSC" of a mounted Windows disk, and those whose attributes mark
    // them as system folders. A folder that cannot be read is shown (its contents simply
    // cannot be listed); only one that vanished has no record and counts as hidden.
    static bool isHiddenFolder(const FileRecord& folder);
    static bool isHiddenFolder(std::string_view path);
    // An empty or "*.*" filter passes everything; else the name's extension must occur
    // anywhere in the filter text, case-insensitively.
    static bool passesFilter(std::string_view name, std::string_view filter);

    // Tells the user that the folder's entries cannot be read, with the system's reason;
    // true when it told. For a fill the user asked for, never for a refresh.
    bool reportUnreadable(std::string_view path);

  private:
    bool hides(const FileRecord& entry) const;
    bool anyShown(const std::vector<FileRecord>& entries) const;
    // Leaves out the folders never shown and the files the filter does not pass, and
    // hidden entries while they are hidden; in place, a large folder's records not copied.
    void keepShownFolders(std::vector<FileRecord>& folders) const;
    void keepShownFiles(std::vector<FileRecord>& files, std::string_view filter) const;
    bool reportMissing(std::string_view path);
    bool hiddenFolder(std::string_view path) const;
    const FolderSnapshot* peekOf(std::string_view path) const;
    const FolderSnapshot* fullOf(std::string_view path) const;

    struct ReadAhead {
        std::string folder;
        std::string filter;
        Both entries;
        bool foldersServed = false;
        bool filesServed = false;
    };

    MessageBox& messages_;
    const FolderSnapshots* snapshots_;
    const HiddenEntries* hidden_;
    std::optional<ReadAhead> ahead_;
};
