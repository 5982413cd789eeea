#pragma once

#include "platform/FileOperationDialogs.h"

class QString;
class QWidget;

// The questions of a file operation as message boxes owned by the main window. Called on
// the operation's worker thread, each question is shown on the user-interface thread and
// the worker waits for the answer.
class QtFileOperationDialogs : public FileOperationDialogs {
  public:
    explicit QtFileOperationDialogs(QWidget* owner) : owner_(owner) {}

    bool confirmDelete(const std::vector<std::string>& paths) override;
    DeleteForGoodAnswer confirmDeleteForGood(const std::string& path) override;
    ConflictAnswer askConflict(const std::string& source, const std::string& target,
                               ReplaceOffer offer) override;
    ErrorChoice askError(const std::string& path, const std::string& reason) override;
    void refuse(const std::string& message) override;
    // Working on `item` failed for `reason` because `folder` refused the write.
    ErrorChoice askWriteError(const std::string& folder, const std::string& item,
                              const std::string& reason);

  private:
    ErrorChoice askErrorText(const QString& text);
    // Runs `show` on the user-interface thread and waits for it.
    template <typename F> void onUiThread(F&& show);

    QWidget* owner_;
};
