#pragma once

#include "platform/ItemIdentity.h"

#include "platform/fs/FileFault.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Attribute bits of a file-system record, with the values the program has always used.
enum FileAttribute : std::uint32_t {
    AttrHidden = 2,
    AttrDirectory = 16,
    AttrSymbolicLink = 1024,
};

struct FileRecord {
    std::string name;
    std::string path;
    std::uint32_t attributes = 0;
    std::uint64_t size = 0; // 0 for folders
    std::chrono::system_clock::time_point created;
    std::chrono::system_clock::time_point modified;
    std::uint32_t links = 0; // hard links; of a folder: 2 + its subfolders where counted

    bool isFolder() const { return (attributes & AttrDirectory) != 0; }
};

// A folder's entries, each kind in ascending case-insensitive name order (raw bytes break
// ties): the tree and list merges rely on that order.
struct FolderListing {
    std::vector<FileRecord> folders;
    std::vector<FileRecord> files;
};

// All file-system access of the program, over POSIX calls. Paths are byte strings with
// "/" as separator; names are kept exactly as the file system holds them.
struct stat;

class FileSystem {
  public:
    static bool folderExists(std::string_view path);
    // 0 when the folder's entries can be read, else the system's error number.
    static int folderReadError(std::string_view path);
    static bool fileExists(std::string_view path);
    // Whether there is a file or folder at the path (a link followed): one look.
    static bool exists(std::string_view path);
    static std::optional<FileRecord> getFolder(std::string_view path);
    static std::optional<FileRecord> getFile(std::string_view path);
    // Entries of a folder; empty when it cannot be read. Symbolic links to folders count
    // as folders (with AttrSymbolicLink), broken links as files.
    // `sorted`: each kind by upper-case name, raw bytes breaking ties; otherwise as the
    // folder holds them.
    static FolderListing list(std::string_view path, bool sorted = true);
    static void sortByName(std::vector<FileRecord>& records);
    // One kind only: entries of the other kind are told apart by their directory entry
    // and not looked at further, so a folder of many files lists its subfolders fast.
    static std::vector<FileRecord> subFolders(std::string_view path);
    // Counts without reading every entry's record; nullopt when the folder cannot be read.
    struct Counts {
        std::size_t folders = 0;
        std::size_t files = 0;
    };
    static std::optional<Counts> count(std::string_view path);
    // A test on entry names: true for a name to pass over.
    using NameTest = bool (*)(std::string_view name);
    // One look inside: stops at the first subfolder (or file) found; entries whose names
    // `skip` passes over do not count.
    static bool hasSubfolder(std::string_view path, NameTest skip = nullptr);
    // For each named entry of `folder`: whether it holds a folder or a link to one. The
    // entries are opened relative to the folder, by two threads for a long list; an entry
    // that cannot be read holds nothing.
    static std::vector<char> holdSubfolders(std::string_view folder,
                                            const std::vector<std::string_view>& names);
    // Whether the folders of this file system count their subfolders in their link count
    // (2 + subfolders), so a folder record tells without a look inside.
    static bool linksCountSubfolders(std::string_view folder);
    static bool hasFile(std::string_view path, NameTest skip = nullptr);
    static std::vector<FileRecord> files(std::string_view path);
    static bool createFolder(std::string_view path);
    // Renames the entry at `path` within its folder; false when the new name is taken.
    static bool rename(std::string_view path, std::string_view newName);
    // Moves the entry at `from` to the whole path `to` within its volume, never over an
    // existing entry: 0, or the system's error number (EEXIST when `to` is taken, EXDEV
    // across volumes).
    static int moveNoReplace(std::string_view from, std::string_view to);
    // Removes a folder only when it is empty, a file or link never: 0 or an error number.
    static int removeEmptyFolder(std::string_view path);
    // Removes a file or link (never a folder): 0 or an error number.
    static int removeFile(std::string_view path);
    // The entry's identity, a symbolic link not followed; none when it is not there.
    static std::optional<ItemIdentity> identity(std::string_view path);
    static ItemIdentity identityOf(const struct stat& st);

    // Text files in the ANSI code page (CP932), returned and taken as UTF-8. Only a
    // regular file is read (a named pipe cannot block the program); `fault`, when given,
    // tells why nothing came (error ENOENT: there is no such file).
    static std::optional<std::string> readAnsiText(std::string_view path,
                                                   FileFault* fault = nullptr);
    // Replaces the file's content in one step: a temporary file in the same folder is
    // written and flushed, then renamed over the target, so a failure leaves the old file
    // and `fault`, when given, tells why.
    static bool writeAnsiText(std::string_view path, std::string_view utf8,
                              FileFault* fault = nullptr);
    static std::optional<std::string> readBytes(std::string_view path);
    static bool writeBytesAtomically(std::string_view path, std::string_view bytes,
                                     FileFault* fault = nullptr);
    // Writes a new file the same way, but never over an existing entry: when the name is
    // taken nothing changes and `fault` holds EEXIST.
    static bool writeNewFile(std::string_view path, std::string_view bytes,
                             FileFault* fault = nullptr);

    // Helpers on path text.
    static std::string parentOf(std::string_view path);
    static std::string nameOf(std::string_view path);
    static std::string join(std::string_view folder, std::string_view name);
};
