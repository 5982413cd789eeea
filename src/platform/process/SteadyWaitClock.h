#pragma once

#include "platform/WaitClock.h"

#include <thread>

// The monotonic clock of the system; a pause puts the calling thread to sleep.
class SteadyWaitClock : public WaitClock {
  public:
    Clock::time_point now() override { return Clock::now(); }
    void pause(std::chrono::milliseconds duration) override {
        std::this_thread::sleep_for(duration);
    }
};
