#include "platform/qt/QtUiLoop.h"

#include "platform/process/ThreadedWork.h"
#include "platform/qt/QtReadableWatch.h"
#include "platform/qt/QtTimer.h"

#include <QApplication>
#include <QCursor>

void QtUiLoop::processEvents() {
    QCoreApplication::processEvents();
}

void QtUiLoop::setWaitCursor(bool on) {
    if (on)
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else
        QApplication::restoreOverrideCursor();
}

std::unique_ptr<ReadableWatch> QtUiLoop::watchReadable(int descriptor,
                                                       std::function<void()> onReadable) {
    return std::make_unique<QtReadableWatch>(descriptor, std::move(onReadable));
}

std::unique_ptr<BackgroundWork> QtUiLoop::newBackgroundWork() {
    return std::make_unique<ThreadedWork>(*this);
}

std::unique_ptr<Timer> QtUiLoop::newTimer() {
    return std::make_unique<QtTimer>();
}
