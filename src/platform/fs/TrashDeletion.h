#pragma once

#include "platform/FileOperationProgress.h"
#include "platform/FileOperationService.h"
#include "platform/Trash.h"
#include "platform/fs/FailureQuestions.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

// Delete of a file operation: each path goes to the trash of its volume; on a volume
// without a trash it is deleted for good after one question, which may apply to all.
// Runs on the operation's worker and blocks on the disk.
class TrashDeletion {
  public:
    TrashDeletion(FileOperationDialogs& dialogs, Trash& trash, FailureQuestions& questions,
                  std::atomic<bool>& cancelled, FileOperationProgress& progress,
                  FileOperationStatus& status, std::vector<TrashedItem>& trashed)
        : dialogs_(dialogs), trash_(trash), questions_(questions), cancelled_(cancelled),
          progress_(progress), status_(status), trashed_(trashed) {}

    // True only when every path was deleted. Each item found in the trash afterwards is
    // added to `trashed`.
    bool run(const FileOperationRequest& request);

  private:
    FileStep deleteOne(const std::string& path, bool trashOnly);
    void recordTrashed(const std::string& path, const Trash::Outcome& outcome);
    FileStep deleteForGood(const std::string& path);

    FileOperationDialogs& dialogs_;
    Trash& trash_;
    FailureQuestions& questions_;
    std::atomic<bool>& cancelled_;
    FileOperationProgress& progress_;
    FileOperationStatus& status_;
    std::vector<TrashedItem>& trashed_;
    std::optional<bool> forGoodForAll_;
};
