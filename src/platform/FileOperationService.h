#pragma once

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
};

// Copy, move and delete of whole paths, recursive, with the service's own dialogs
// (confirmation, conflicts, errors, progress). Delete moves to the trash.
// Threads: called on the user-interface thread; the work runs on a worker while the
// window stays usable, and run() returns when it is over.
class FileOperationService {
  public:
    virtual ~FileOperationService() = default;
    // True only when everything asked was done; a cancel, a skipped item or an error is
    // "not done".
    virtual bool run(const FileOperationRequest& request) = 0;
};
