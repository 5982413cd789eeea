#pragma once

// What long work asks of the user-interface loop: letting pending window events run in
// between, and the hourglass pointer. Both are no-ops without a display.
class UiLoop {
  public:
    virtual ~UiLoop() = default;
    virtual void processEvents() = 0;
    virtual void setWaitCursor(bool on) = 0;
};

// Shows the hourglass for the life of the object and always takes it away again.
class WaitCursor {
  public:
    explicit WaitCursor(UiLoop& loop) : loop_(loop) { loop_.setWaitCursor(true); }
    ~WaitCursor() { loop_.setWaitCursor(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    UiLoop& loop_;
};
