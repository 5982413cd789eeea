#pragma once

#include <functional>

// A repeating timer of the user-interface loop. Ticks arrive on the user-interface
// thread; tests call the tick themselves.
class Timer {
  public:
    virtual ~Timer() = default;
    virtual void start(int intervalMs, std::function<void()> onTick) = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
};
