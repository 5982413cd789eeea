#pragma once

#include "platform/ItemIdentity.h"

#include <string>
#include <vector>

enum class FileOperationKind { Copy, Move, Delete };

struct FileOperationRequest {
    FileOperationKind kind = FileOperationKind::Copy;
    // Whole paths: any bytes but NUL, names with "/" only as separators.
    std::vector<std::string> sources;
    // The folder copied or moved into; unused for delete.
    std::string destination;
    bool noProgress = false;
    bool noConfirmation = false;
    // Delete: an item whose volume has no trash is left, never deleted for good.
    bool trashOnly = false;
};

// An item a copy or move put in place under its whole name, with its identity right after.
struct PlacedItem {
    std::string source;
    std::string placed;
    ItemIdentity identity;
};

// An item a delete put in the trash: where it was, where it lies now, and its info file.
struct TrashedItem {
    std::string original;
    std::string trashed;
    std::string info;
    ItemIdentity identity;
};

// What a run did. `placed` lists the top-level items copied or moved whole to a free name
// (not merged into a folder, not replacing an item); `trashed` the items a delete put in
// the trash. Items skipped, failed or only partly done are not listed.
struct FileOperationResult {
    bool allDone = false; // everything asked was done
    std::vector<PlacedItem> placed;
    std::vector<TrashedItem> trashed;
};

// Copy, move and delete of whole paths, recursive, with the service's own dialogs
// (confirmation, conflicts, errors, progress). Delete moves to the trash.
// Threads: called on the user-interface thread; the work runs on a worker while the
// window stays usable, and run() returns when it is over.
class FileOperationService {
  public:
    virtual ~FileOperationService() = default;
    // allDone only when everything asked was done; a cancel, a skipped item or an error is
    // "not done". What was done is listed whatever the outcome.
    virtual FileOperationResult run(const FileOperationRequest& request) = 0;
};
