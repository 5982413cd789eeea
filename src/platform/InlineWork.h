#pragma once

#include "platform/BackgroundWork.h"

// Background work done on the spot, where there is no event loop to bring results back
// (no display, the logic tests): every job and its step run inside start.
class InlineWork final : public BackgroundWork {
  public:
    Ticket start(Job job) override {
        if (Step step = job())
            step();
        return ++last_;
    }
    bool finishWithin(Ticket, std::chrono::milliseconds) override { return true; }

  private:
    Ticket last_ = 0;
};
