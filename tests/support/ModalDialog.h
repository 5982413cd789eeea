#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

// Acts on the modal dialog of type `Dialog` once it is shown, from inside its own event
// loop, so a test can answer a dialog that blocks the call that opened it.
template <typename Dialog> void whenDialogShows(std::function<void(Dialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(*dialog);
        }
    });
    timer->start();
}
