#include "platform/qt/QtUiLoop.h"

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
