#pragma once

#include "platform/fs/FileSystem.h"

#include <optional>
#include <string>

// One read of a folder, made away from the window's thread, that answers every look at
// the folder while its result is applied. A peek holds only the folder's record and
// whether it holds a subfolder or a file (the tree's expand button); a full read holds the
// whole listing.
struct FolderSnapshot {
    enum class Depth { Peek, Full };

    std::string folder;
    Depth depth = Depth::Full;
    std::optional<FileRecord> record; // the folder itself; none when it is not a folder
    FolderListing listing;            // Full: by name when `sorted`, else as the folder holds it
    bool sorted = true;
    int readError = 0; // why the entries could not be read; 0 when they could
    bool linksCountSubfolders = false;
    bool hasSubfolder = false;
    bool hasFile = false;

    // Reads the folder; runs on a worker thread. `sorted` false leaves the entries in the
    // folder's order, for a reconciliation that looks them up by name. A peek passes over
    // the entries `skip` names (hidden ones, while they are hidden).
    static FolderSnapshot read(const std::string& folder, Depth depth, bool sorted = true,
                               FileSystem::NameTest skip = nullptr);
};
