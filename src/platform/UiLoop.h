#pragma once

#include "platform/BackgroundWork.h"
#include "platform/ReadableWatch.h"
#include "platform/Timer.h"

#include <functional>
#include <memory>

// What long work asks of the user-interface loop: letting pending window events run in
// between, and the hourglass pointer. Both are no-ops without a display. The loop also
// watches descriptors and makes further timers; where it cannot, it gives null and the
// caller does without.
// Threads: the user-interface thread only.
class UiLoop {
  public:
    virtual ~UiLoop() = default;
    virtual void processEvents() = 0;
    virtual void setWaitCursor(bool on) = 0;
    // Calls `onReadable` while `descriptor` has data to read, until the watch is destroyed.
    virtual std::unique_ptr<ReadableWatch> watchReadable(int /*descriptor*/,
                                                         std::function<void()> /*onReadable*/) {
        return nullptr;
    }
    virtual std::unique_ptr<Timer> newTimer() { return nullptr; }
    // Work away from this thread whose results come back through this loop; null where
    // the loop cannot bring them back (the caller then works on the spot).
    virtual std::unique_ptr<BackgroundWork> newBackgroundWork() { return nullptr; }
};

// Shows the hourglass for the life of the object and always takes it away again.
// `Host` is whatever sets the cursor: the UI loop, or a host that forwards to it.
template <typename Host> class WaitCursor {
  public:
    explicit WaitCursor(Host& host) : host_(host) { host_.setWaitCursor(true); }
    ~WaitCursor() { host_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    Host& host_;
};
