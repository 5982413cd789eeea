#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

// Synthetic input for view tests: events sent straight to a widget, as the window
// system would deliver them.
namespace ViewEvents {

inline void mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButton button,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(pos), QPointF(widget->mapToGlobal(pos)), button, held,
                      modifiers);
    QApplication::sendEvent(widget, &event);
}

inline void click(QWidget* widget, QPoint pos, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    mouse(widget, QEvent::MouseButtonPress, pos, button, modifiers);
    mouse(widget, QEvent::MouseButtonRelease, pos, button, modifiers);
}

inline void doubleClick(QWidget* widget, QPoint pos) {
    click(widget, pos);
    mouse(widget, QEvent::MouseButtonDblClick, pos, Qt::LeftButton);
    mouse(widget, QEvent::MouseButtonRelease, pos, Qt::LeftButton);
}

inline void key(QWidget* widget, int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, qtKey, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers);
    QApplication::sendEvent(widget, &release);
}

// Runs the queued work of the views: an editor commits on the next round of the event
// loop and hands its text to the logic on the round after.
inline void settle() {
    for (int round = 0; round < 4; ++round) {
        QCoreApplication::processEvents();
    }
}

} // namespace ViewEvents
