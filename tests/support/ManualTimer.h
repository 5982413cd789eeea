#pragma once

#include "platform/Timer.h"

// A timer that ticks only when the test says so.
class ManualTimer : public Timer {
  public:
    void start(int intervalMs, std::function<void()> onTick) override {
        interval = intervalMs;
        tick_ = std::move(onTick);
        on = true;
    }
    void stop() override { on = false; }
    bool running() const override { return on; }
    void tick() {
        if (on && tick_)
            tick_();
    }

    int interval = 0;
    bool on = false;

  private:
    std::function<void()> tick_;
};
