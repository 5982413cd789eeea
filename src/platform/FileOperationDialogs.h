#pragma once

#include <string>
#include <vector>

enum class ConflictChoice { Replace, Skip, KeepBoth, Cancel };

// Whether a conflict may be answered by replacing: a file never replaces a folder, nor a
// folder a file, so where the two differ in kind only keep both, skip and cancel are offered.
enum class ReplaceOffer { Offered, KindsDiffer };

struct ConflictAnswer {
    ConflictChoice choice = ConflictChoice::Cancel;
    // The same answer for every further conflict of the operation.
    bool applyToAll = false;
};

enum class ErrorChoice { Skip, Retry, Cancel };

struct DeleteForGoodAnswer {
    bool confirmed = false;
    // The same answer for every further item of the operation on a volume without a trash.
    bool applyToAll = false;
};

// The questions of a file operation. They are asked on the operation's worker thread;
// an implementation that shows windows hands them to the user-interface thread and
// waits for the answer. Tests answer from a script.
class FileOperationDialogs {
  public:
    virtual ~FileOperationDialogs() = default;
    // Move these items to the trash? Names the item, or the count of several.
    virtual bool confirmDelete(const std::vector<std::string>& paths) = 0;
    // The volume of `path` has no trash: delete it for good?
    virtual DeleteForGoodAnswer confirmDeleteForGood(const std::string& path) = 0;
    // `target` already exists where `source` is to go.
    virtual ConflictAnswer askConflict(const std::string& source, const std::string& target,
                                       ReplaceOffer offer) = 0;
    // Working on `path` failed for `reason`.
    virtual ErrorChoice askError(const std::string& path, const std::string& reason) = 0;
    // The operation is refused as a whole; `message` says why.
    virtual void refuse(const std::string& message) = 0;
};
