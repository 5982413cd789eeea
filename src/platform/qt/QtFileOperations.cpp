#include "platform/qt/QtFileOperations.h"

#include "platform/ScopedFlag.h"
#include "platform/fs/FileOperationEngine.h"
#include "platform/fs/GioTrash.h"
#include "platform/qt/QtProgressWindow.h"
#include "platform/qt/QuestionGate.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// The worker's last report, read by the user-interface thread.
class SharedProgress : public FileOperationProgress {
  public:
    void update(const FileOperationStatus& status) override {
        std::lock_guard lock(mutex_);
        status_ = status;
    }
    FileOperationStatus snapshot() const {
        std::lock_guard lock(mutex_);
        return status_;
    }

  private:
    mutable std::mutex mutex_;
    FileOperationStatus status_;
};

// Keeps user input and close requests away from the owner window while work runs.
class InputShield : public QObject {
  public:
    explicit InputShield(QWidget* owner) : owner_(owner) { qApp->installEventFilter(this); }
    ~InputShield() override { qApp->removeEventFilter(this); }

  protected:
    bool eventFilter(QObject* target, QEvent* event) override {
        if (!target->isWidgetType() || !owner_ ||
            static_cast<QWidget*>(target)->window() != owner_->window())
            return false;
        if (event->type() == QEvent::Close) {
            event->ignore();
            return true;
        }
        return isInput(event->type());
    }

  private:
    static bool isInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return true;
        default:
            return false;
        }
    }
    QPointer<QWidget> owner_;
};

} // namespace

FileOperationResult QtFileOperations::run(const FileOperationRequest& request) {
    if (running_ || request.sources.empty())
        return {};
    ScopedFlag running(running_);
    SharedProgress progress;
    GioTrash trash;
    QuestionGate questions(dialogs_, request);
    FileOperationEngine engine(questions, progress, trash);
    std::atomic<bool> finished{false};
    FileOperationResult done;
    InputShield shield(owner_);
    QObject waker;
    std::thread worker([&] {
        try {
            engine.run(request);
            done = engine.result();
        } catch (...) {
            done.allDone = false;
        }
        finished = true;
        QMetaObject::invokeMethod(
            &waker, [] {}, Qt::QueuedConnection);
    });
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<QtProgressWindow> window;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (finished || request.noProgress || questions.asking())
            return;
        if (questions.takeAnswered())
            clock.restart();
        if (!window && clock.elapsed() < progressDelayMs_)
            return;
        if (!window)
            window = std::make_unique<QtProgressWindow>(owner_, [&engine] { engine.cancel(); });
        window->show(progress.snapshot(), clock.elapsed());
    });
    tick.start(100);
    // Events run until the worker is through, also when the application is asked to quit
    // meanwhile: the worker's questions are answered here.
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    worker.join();
    tick.stop();
    QCoreApplication::sendPostedEvents(&waker);
    return done;
}
