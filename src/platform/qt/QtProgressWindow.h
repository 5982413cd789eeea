#pragma once

#include "platform/FileOperationProgress.h"

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

// The progress of a long file operation: items and bytes done, the current name, an
// estimate of the time left, and a cancel button. Closing the window cancels too.
class QtProgressWindow : public QDialog {
  public:
    QtProgressWindow(QWidget* owner, std::function<void()> onCancel);
    // `elapsedMs`: time since the operation began, for the estimate.
    void show(const FileOperationStatus& status, qint64 elapsedMs);

  protected:
    void reject() override;

  private:
    std::function<void()> onCancel_;
    QLabel* current_;
    QLabel* counts_;
    QLabel* timeLeft_;
    QProgressBar* bar_;
};
