#pragma once

#include "platform/ReadableWatch.h"

#include <QSocketNotifier>
#include <functional>

// A descriptor watched by Qt's event loop.
class QtReadableWatch : public ReadableWatch {
  public:
    QtReadableWatch(int descriptor, std::function<void()> onReadable);
    void setEnabled(bool enabled) override { notifier_.setEnabled(enabled); }

  private:
    QSocketNotifier notifier_;
    std::function<void()> onReadable_;
};
