#pragma once

#include <cstdint>

// A rectangle on the screen in the program's pixels (Qt's device-independent ones), edges as
// left/top inclusive and right/bottom exclusive.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

// What the main window's logic needs of its window.
// Threads: the user-interface thread only.
class MainWindowView {
  public:
    virtual ~MainWindowView() = default;
    // The primary screen without panels and docks.
    virtual PixelRect workArea() const = 0;
    // Twips per pixel (1440 / the screen's logical DPI).
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    // The window's outer rectangle, frame included.
    virtual PixelRect frameGeometry() const = 0;
    virtual void setFrameGeometry(const PixelRect& rect) = 0;
    // The native window id, the owner of pickers and the target of placement rules.
    virtual std::uintptr_t handle() const = 0;
    virtual void show() = 0;
    virtual bool minimized() const = 0;
    // Shows or hides the window (a hidden window has no task-bar entry).
    virtual void setShown(bool shown) = 0;
    virtual void minimize() = 0;
    // Back to its normal size from minimised.
    virtual void restore() = 0;
    // Pops up the open menu at the mouse pointer.
    virtual void popupOpenMenu() = 0;
    // Pops up the submenu of item `index` of the folders menu at the pointer.
    virtual void popupFolderMenu(int index) = 0;
    // Raises the window and gives it the input focus.
    virtual void bringToFront() = 0;
    // The working pointer (an arrow with an hourglass) over the window: work goes on in the
    // background and the window still answers.
    virtual void showWorking(bool /*on*/) {}
    // Unloads every window of the program and leaves the event loop.
    virtual void closeAll() = 0;
};
