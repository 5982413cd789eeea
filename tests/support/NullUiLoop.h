#pragma once

#include "platform/UiLoop.h"
#include "support/ManualTimer.h"
#include "support/ManualWork.h"

#include <functional>
#include <memory>
#include <poll.h>
#include <vector>

// No display: counts what was asked so tests can see the cursor always comes back. A
// watched descriptor is looked at only when the test calls deliverReadable() (with the
// watch's place in the order the watches were made), and the timers it makes tick only
// when the test says so.
class NullUiLoop : public UiLoop {
  public:
    void processEvents() override {
        ++eventRuns;
        if (duringEvents)
            duringEvents();
    }
    void setWaitCursor(bool on) override { waitDepth += on ? 1 : -1; }
    std::unique_ptr<ReadableWatch> watchReadable(int descriptor,
                                                 std::function<void()> onReadable) override {
        auto watch = std::make_unique<Watch>(*this, descriptor, std::move(onReadable));
        watches_.push_back(watch.get());
        return watch;
    }
    // With `holdWork` set (before the loop's user is made), background work ends only when
    // the test ends it through `heldWork`; otherwise it is done on the spot.
    std::unique_ptr<BackgroundWork> newBackgroundWork() override {
        if (!holdWork)
            return nullptr;
        auto work = std::make_unique<ManualWork>();
        heldWork = work.get();
        return work;
    }
    static inline bool holdWork = false;
    ManualWork* heldWork = nullptr;

    std::unique_ptr<Timer> newTimer() override {
        auto timer = std::make_unique<ManualTimer>();
        timers.push_back(timer.get());
        return timer;
    }
    // What the loop would do now: call the watch when it is enabled and its descriptor
    // has data. True when it was called.
    bool deliverReadable(std::size_t which = 0) {
        Watch* watch = which < watches_.size() ? watches_[which] : nullptr;
        if (!watch || !watch->enabled)
            return false;
        pollfd ready{watch->descriptor, POLLIN, 0};
        if (::poll(&ready, 1, 0) != 1)
            return false;
        watch->onReadable();
        return true;
    }

    int eventRuns = 0;
    int waitDepth = 0;
    // Stands for what happens elsewhere while pending events run.
    std::function<void()> duringEvents;
    // The timers made, valid while their owners live.
    std::vector<ManualTimer*> timers;

  private:
    struct Watch : ReadableWatch {
        Watch(NullUiLoop& loop, int descriptor, std::function<void()> onReadable)
            : loop(loop), descriptor(descriptor), onReadable(std::move(onReadable)) {}
        ~Watch() override { std::erase(loop.watches_, this); }
        void setEnabled(bool on) override { enabled = on; }
        NullUiLoop& loop;
        int descriptor;
        std::function<void()> onReadable;
        bool enabled = true;
    };
    std::vector<Watch*> watches_;
};
