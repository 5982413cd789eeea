#pragma once

#include "platform/FileOperationDialogs.h"
#include "platform/FileOperationService.h"

#include <atomic>

class QtFileOperationDialogs;

// The questions of one file operation on their way to the dialogs. It tells the progress
// window whether a question is up and whether one was answered since it last looked, so
// the window never opens behind a question and its delay starts when the work does. An
// error where a folder refused the write (a read-only or locked destination, or the
// folder a moved or deleted item is taken out of) names that folder, not the item.
// Called on the operation's worker thread; asking() and takeAnswered() on any thread.
class QuestionGate : public FileOperationDialogs {
  public:
    QuestionGate(QtFileOperationDialogs& dialogs, const FileOperationRequest& request)
        : dialogs_(dialogs), request_(request) {}

    bool confirmDelete(const std::vector<std::string>& paths) override;
    DeleteForGoodAnswer confirmDeleteForGood(const std::string& path) override;
    ConflictAnswer askConflict(const std::string& source, const std::string& target,
                               ReplaceOffer offer) override;
    ErrorChoice askError(const std::string& path, const std::string& reason) override;
    void refuse(const std::string& message) override;

    bool asking() const { return asking_ > 0; }
    // Whether a question was answered since the last call.
    bool takeAnswered() { return answered_.exchange(false); }

    // The folder that refuses to be written for `path` under `request`; empty for none.
    static std::string refusingFolder(const FileOperationRequest& request, const std::string& path);

  private:
    template <typename F> auto ask(F&& question);

    QtFileOperationDialogs& dialogs_;
    const FileOperationRequest& request_;
    std::atomic<int> asking_{0};
    std::atomic<bool> answered_{false};
};
