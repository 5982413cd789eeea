#pragma once

#include "platform/FileOperationService.h"
#include "platform/qt/QtFileOperationDialogs.h"

class QWidget;

// The file-operation service of the desktop: the work runs on a worker thread while the
// user-interface thread keeps handling events, so the window repaints and the progress
// window (shown when the work lasts longer than a second, never while a question is
// up) can cancel it. Meanwhile no
// mouse or key input and no close request reaches the owner window, so nothing that
// the caller still uses can be changed or deleted under it; timers still tick (the
// browser's busy flag keeps its refresh quiet). One operation at a time.
class QtFileOperations : public FileOperationService {
  public:
    static constexpr int kProgressDelayMs = 1000;

    // `progressDelayMs`: how long the work runs, counted from the last answered question,
    // before the progress window shows.
    explicit QtFileOperations(QWidget* owner, int progressDelayMs = kProgressDelayMs)
        : owner_(owner), progressDelayMs_(progressDelayMs), dialogs_(owner) {}
    FileOperationResult run(const FileOperationRequest& request) override;

  private:
    QWidget* owner_;
    int progressDelayMs_;
    QtFileOperationDialogs dialogs_;
    bool running_ = false;
};
