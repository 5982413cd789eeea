#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

// A rectangle on the screen in the program's pixels: those of the main window's geometry
// and the work area (Qt's device-independent pixels). Where it leaves for the X server or
// a viewer process it is turned into device pixels, `ratio` of them to one of these.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    bool operator==(const ScreenRect&) const = default;
    // Edges are scaled and rounded, so rectangles that touch still touch.
    ScreenRect inDevicePixels(double ratio) const {
        const auto at = [ratio](int v) { return static_cast<int>(std::lround(v * ratio)); };
        return {at(left), at(top), at(left + width) - at(left), at(top + height) - at(top)};
    }
};

// The top-level windows shown on the desktop, as the window manager lists them. Handles
// are whole numbers that stay the same for the life of a window.
// Threads: the user-interface thread; each call is a round trip to the X server.
class WindowList {
  public:
    using Handle = std::uint64_t;

    virtual ~WindowList() = default;
    // The shown top-level windows (the program's own included), topmost first.
    virtual std::vector<Handle> shownWindows() = 0;
    // Moves and resizes the window so that its outer frame covers `rect`; false when the
    // request could not be made.
    virtual bool move(Handle window, const ScreenRect& rect) = 0;
    // Raises the window and gives it the input focus.
    virtual bool activate(Handle window) = 0;
    // The shown top-level windows that the process `pid` says are its own.
    virtual std::vector<Handle> windowsOf(int pid) = 0;
};
