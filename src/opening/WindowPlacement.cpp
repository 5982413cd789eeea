#include "opening/WindowPlacement.h"

#include "platform/UiLoop.h"
#include "platform/WaitClock.h"

#include <unordered_set>

WindowPlacement::WindowPlacement(WindowList& windows, UiLoop& loop, WaitClock& clock)
    : windows_(windows), loop_(loop), clock_(clock) {}

void WindowPlacement::setPlacement(const ScreenRect& rect) {
    rect_ = rect;
    placementOn_ = true;
}

// Events run while mode 1 waits, and one of them may start another program; such a nested
// start is not placed, so that the waiting one keeps its own snapshot.
void WindowPlacement::placeWindow(int mode) {
    if (!placementOn_ || waiting_)
        return;
    if (mode == 0)
        takeSnapshot();
    else if (mode == 1)
        placeNewWindow();
}

void WindowPlacement::visitWindow(Handle window, int mode) {
    if (mode == 0)
        snapshotTaken_ = true;
    (mode == 0 ? snapshot_ : newWindows_).push_back(window);
}

void WindowPlacement::moveWindow() {
    if (lastPlaced_ != 0 && placementOn_)
        windows_.move(lastPlaced_, rect_);
}

bool WindowPlacement::placeWindowsOf(int pid, const ScreenRect& rect) {
    bool moved = false;
    for (Handle window : windows_.windowsOf(pid))
        moved = windows_.move(window, rect) || moved;
    return moved;
}

// A snapshot always starts afresh: one left over from a start that failed would otherwise
// make every later count look changed and keep the next window from being placed.
void WindowPlacement::takeSnapshot() {
    snapshot_.clear();
    enumerate(0);
    snapshotTaken_ = true;
}

// Without a snapshot of its own start, any window would look new; nothing is moved then.
void WindowPlacement::placeNewWindow() {
    if (snapshotTaken_ && waitForCountChange()) {
        const std::size_t before = snapshot_.size();
        const std::size_t after = newWindows_.size();
        if (after >= before && after - before < kTooManyNewWindows) {
            lastPlaced_ = firstNewWindow();
            if (lastPlaced_ != 0)
                windows_.move(lastPlaced_, rect_);
        }
    }
    clear();
}

// True when the number of shown windows differs from the snapshot before the time limit.
bool WindowPlacement::waitForCountChange() {
    const WaitingFlag flag(waiting_);
    const auto deadline = clock_.now() + kWaitLimit;
    for (;;) {
        newWindows_.clear();
        enumerate(1);
        if (newWindows_.size() != snapshot_.size())
            return true;
        if (clock_.now() >= deadline)
            return false;
        loop_.processEvents();
        clock_.pause(kPollInterval);
    }
}

void WindowPlacement::enumerate(int mode) {
    for (const Handle window : windows_.shownWindows())
        visitWindow(window, mode);
}

WindowPlacement::Handle WindowPlacement::firstNewWindow() const {
    const std::unordered_set<Handle> known(snapshot_.begin(), snapshot_.end());
    for (const Handle window : newWindows_)
        if (!known.contains(window))
            return window;
    return 0;
}

void WindowPlacement::clear() {
    snapshot_.clear();
    newWindows_.clear();
    snapshotTaken_ = false;
}
