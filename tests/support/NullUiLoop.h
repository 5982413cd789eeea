#pragma once

#include "platform/UiLoop.h"

#include <functional>

// No display: counts what was asked so tests can see the cursor always comes back.
class NullUiLoop : public UiLoop {
  public:
    void processEvents() override {
        ++eventRuns;
        if (duringEvents)
            duringEvents();
    }
    void setWaitCursor(bool on) override { waitDepth += on ? 1 : -1; }

    int eventRuns = 0;
    int waitDepth = 0;
    // Stands for what happens elsewhere while pending events run.
    std::function<void()> duringEvents;
};
