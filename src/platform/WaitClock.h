#pragma once

#include <chrono>

// Time for waits that poll: the current time and a short pause between two polls.
// Threads: any thread; pause() blocks the caller for the pause asked.
class WaitClock {
  public:
    using Clock = std::chrono::steady_clock;

    virtual ~WaitClock() = default;
    virtual Clock::time_point now() = 0;
    virtual void pause(std::chrono::milliseconds duration) = 0;
};
