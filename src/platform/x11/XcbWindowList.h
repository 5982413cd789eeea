#pragma once

#include "platform/WindowList.h"

#include <array>
#include <memory>
#include <string>

struct xcb_connection_t;

// The window list of an X server over xcb. With a window manager running, its client list
// (topmost first where it tells the stacking order) and the EWMH requests to move and to
// activate a window; without one, the mapped top-level windows that are not
// override-redirect, moved and raised directly. Without a connection the list is empty
// and every request fails quietly.
class XcbWindowList : public WindowList {
  public:
    // Shares the connection of the running Qt application when it runs on X11; on any
    // other platform (offscreen, Wayland without XWayland) there is no connection.
    // Rectangles are taken in the application's pixels and moved by as many device pixels
    // as its primary screen has to each (2 at a scale of 200 %).
    static std::unique_ptr<XcbWindowList> forApplication();
    // Opens an own connection to `display` (":N"); rectangles are in device pixels.
    explicit XcbWindowList(const std::string& display);
    ~XcbWindowList() override;
    XcbWindowList(const XcbWindowList&) = delete;
    XcbWindowList& operator=(const XcbWindowList&) = delete;

    bool connected() const { return ewmh_ != nullptr; }
    // True while an EWMH window manager runs on the screen.
    bool windowManagerRuns();

    std::vector<Handle> shownWindows() override;
    bool move(Handle window, const ScreenRect& rect) override;
    bool activate(Handle window) override;
    // By the windows' _NET_WM_PID.
    std::vector<Handle> windowsOf(int pid) override;

  private:
    struct Ewmh;
    XcbWindowList(xcb_connection_t* connection, int screen, bool owned, double deviceRatio);
    void attach(xcb_connection_t* connection, int screen);
    std::vector<Handle> managedWindows();
    std::vector<Handle> mappedTopLevels();
    bool moveManaged(Handle window, const ScreenRect& rect);
    bool moveUnmanaged(Handle window, const ScreenRect& rect);
    std::array<int, 4> frameExtents(Handle window);

    xcb_connection_t* conn_ = nullptr;
    bool owned_ = false;
    // Device pixels to one pixel of the rectangles given.
    double deviceRatio_ = 1.0;
    std::unique_ptr<Ewmh> ewmh_;
};
