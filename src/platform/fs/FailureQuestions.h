#pragma once

#include "platform/FileOperationDialogs.h"
#include "platform/fs/EntryRename.h"

#include <atomic>
#include <optional>
#include <string>

// How one step of a file operation ended. Retarget: the target changed since the user
// was asked about it, so the question comes again.
enum class FileStep { Done, Skipped, Cancelled, Retarget };

// The questions after a failed step of a file operation: Retry runs the step again, Skip
// leaves the item, Cancel stops the whole operation. Runs on the operation's worker.
class FailureQuestions {
  public:
    // Failures of our own, beside the errno values (and those of EntryCopier).
    static constexpr int kSourceChanged = -10;
    static constexpr int kBadName = -11;
    static constexpr int kReplacedNotRemoved = -12;

    FailureQuestions(FileOperationDialogs& dialogs, std::atomic<bool>& cancelled)
        : dialogs_(dialogs), cancelled_(cancelled) {}

    // Runs `attempt` (0 or an error) until it succeeds, asking what to do after each
    // failure; `cancellable` false for work that must be finished once begun.
    template <typename Attempt>
    FileStep retrying(const std::string& path, Attempt&& attempt, bool cancellable = true);
    // Asks what to do after a failure: nullopt to try again, else how the step ends.
    std::optional<FileStep> afterFailure(const std::string& path, const std::string& reason);
    // The text shown for an error.
    static std::string reasonOf(int error);

  private:
    FileOperationDialogs& dialogs_;
    std::atomic<bool>& cancelled_;
};

template <typename Attempt>
FileStep FailureQuestions::retrying(const std::string& path, Attempt&& attempt, bool cancellable) {
    for (;;) {
        if (cancellable && cancelled_)
            return FileStep::Cancelled;
        const int error = attempt();
        if (error == 0)
            return FileStep::Done;
        if (error == EntryRename::kRetarget)
            return FileStep::Retarget;
        if (cancellable && cancelled_)
            return FileStep::Cancelled;
        if (const auto step = afterFailure(path, reasonOf(error)))
            return *step;
    }
}
