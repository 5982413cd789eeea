#pragma once

#include "platform/Timer.h"

#include <QTimer>

class QtTimer : public Timer {
  public:
    void start(int intervalMs, std::function<void()> onTick) override;
    void stop() override { timer_.stop(); }
    bool running() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
    std::function<void()> onTick_;
};
