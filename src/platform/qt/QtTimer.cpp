#include "platform/qt/QtTimer.h"

#include "platform/qt/Guarded.h"

void QtTimer::start(int intervalMs, std::function<void()> onTick) {
    onTick_ = std::move(onTick);
    timer_.disconnect();
    QObject::connect(&timer_, &QTimer::timeout, [this] { guarded("timer", onTick_); });
    timer_.start(intervalMs);
}
