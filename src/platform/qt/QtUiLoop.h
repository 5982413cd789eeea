#pragma once

#include "platform/UiLoop.h"

// Pending events and the wait cursor through QApplication. Nested wait cursors stack.
class QtUiLoop : public UiLoop {
  public:
    void processEvents() override;
    void setWaitCursor(bool on) override;
    std::unique_ptr<ReadableWatch> watchReadable(int descriptor,
                                                 std::function<void()> onReadable) override;
    std::unique_ptr<Timer> newTimer() override;
    std::unique_ptr<BackgroundWork> newBackgroundWork() override;
};
