#pragma once

#include "platform/UiLoop.h"

// No display: counts what was asked so tests can see the cursor always comes back.
class NullUiLoop : public UiLoop {
  public:
    void processEvents() override { ++eventRuns; }
    void setWaitCursor(bool on) override { waitDepth += on ? 1 : -1; }

    int eventRuns = 0;
    int waitDepth = 0;
};
