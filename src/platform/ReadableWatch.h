#pragma once

// Calls back on the user-interface thread while a descriptor has data to read (see
// UiLoop::watchReadable). Destroying the watch ends the calls.
class ReadableWatch {
  public:
    virtual ~ReadableWatch() = default;
    // While disabled no calls arrive; data that waits meanwhile is told once enabled again.
    virtual void setEnabled(bool enabled) = 0;
};
