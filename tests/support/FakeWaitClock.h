#pragma once

#include "platform/WaitClock.h"

// A clock that only moves when a pause is asked for, so waits with a time limit run in no
// time at all and end exactly where the limit says.
class FakeWaitClock : public WaitClock {
  public:
    Clock::time_point now() override { return current; }
    void pause(std::chrono::milliseconds duration) override {
        current += duration;
        ++pauses;
    }

    Clock::time_point current{};
    int pauses = 0;
};
