#pragma once

#include "platform/fs/FileSystem.h"

#include <string_view>

// Reads a folder's entries. Each record costs a status call, which is most of the time:
// the names are read first (one pass over the folder, names kept in one block), then the
// records are taken in one allocation and, for a large folder, filled by two threads.
// Each kind is then sorted by its upper-case name with raw bytes breaking ties.
class FolderReader {
  public:
    enum class Wanted { Folders, Files, Both };
    // By name, or as the folder holds them (for callers that only look entries up).
    enum class Order { ByName, AsStored };

    // Entries of the wanted kind. The directory entry's type decides the kind where it can
    // (links and unknown types are looked at), so entries of the other kind cost no status
    // call. Empty when the folder cannot be read.
    static FolderListing read(std::string_view path, Wanted wanted, Order order = Order::ByName);

    // Fills a record's kind, size, times and link count from a status call of `name`
    // relative to `dirFd` (or a path with AT_FDCWD); a broken link becomes a file of its
    // own. False when the entry cannot be looked at.
    static bool stat(int dirFd, const char* name, bool isLink, FileRecord& record);

    // Sorts records by upper-case name, raw bytes breaking ties.
    static void sortByName(std::vector<FileRecord>& records);
};
