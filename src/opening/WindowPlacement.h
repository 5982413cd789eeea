#pragma once

#include "opening/PlacementSteps.h"
#include "platform/WindowList.h"

#include <chrono>
#include <cstddef>
#include <vector>

class UiLoop;
class WaitClock;

// Moves the window that a started program opens into the placement rectangle (the part of
// the work area right of the main window). Mode 0 takes a snapshot of the shown windows
// before the start; mode 1 waits until their number changes and moves the first new one.
// Windows are told apart by their whole handles. Runs on the user-interface thread and
// lets pending events run while it waits.
class WindowPlacement : public PlacementSteps {
  public:
    using Handle = WindowList::Handle;

    // How long mode 1 waits for the started program's window, and how often it looks.
    static constexpr std::chrono::seconds kWaitLimit{10};
    static constexpr std::chrono::milliseconds kPollInterval{25};
    // From this many new windows at once on, none of them is taken for the started one.
    static constexpr std::size_t kTooManyNewWindows = 10;

    WindowPlacement(WindowList& windows, UiLoop& loop, WaitClock& clock);

    // Stores the rectangle and turns placement on; it is never turned off again.
    void setPlacement(const ScreenRect& rect);
    bool placementOn() const { return placementOn_; }
    const ScreenRect& placementRect() const { return rect_; }
    // The window most recently placed; 0 when there is none.
    Handle lastPlaced() const { return lastPlaced_; }

    void placeWindow(int mode) override;
    // Counts one shown window into the snapshot (mode 0) or into the windows seen after
    // the start (mode 1).
    void visitWindow(Handle window, int mode);
    // Moves the last placed window into the (recomputed) rectangle again.
    void moveWindow();
    // Moves the shown windows of the process `pid` so that their frames, title bars
    // included, cover `rect`, as the window manager frames them; false when it has none.
    bool placeWindowsOf(int pid, const ScreenRect& rect);
    bool hasWindowsOf(int pid) { return !windows_.windowsOf(pid).empty(); }

  private:
    // Marks the wait of mode 1 for its whole length, whatever way it ends.
    class WaitingFlag {
      public:
        explicit WaitingFlag(bool& flag) : flag_(flag) { flag_ = true; }
        ~WaitingFlag() { flag_ = false; }
        WaitingFlag(const WaitingFlag&) = delete;
        WaitingFlag& operator=(const WaitingFlag&) = delete;

      private:
        bool& flag_;
    };

    void takeSnapshot();
    void placeNewWindow();
    bool waitForCountChange();
    void enumerate(int mode);
    Handle firstNewWindow() const;
    void clear();

    WindowList& windows_;
    UiLoop& loop_;
    WaitClock& clock_;
    bool placementOn_ = false;
    ScreenRect rect_;
    Handle lastPlaced_ = 0;
    bool snapshotTaken_ = false;
    bool waiting_ = false;
    std::vector<Handle> snapshot_;
    std::vector<Handle> newWindows_;
};
