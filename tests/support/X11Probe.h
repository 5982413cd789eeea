#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct xcb_connection_t;

// Looks at an X server the way a user would see it: which top-level windows are shown,
// where, and how large.
class X11Probe {
  public:
    struct Window {
        std::uint32_t id = 0;
        std::string title;
        int x = 0, y = 0, width = 0, height = 0; // outer rectangle in root coordinates
    };

    explicit X11Probe(const std::string& display);
    ~X11Probe();
    bool ok() const;

    std::vector<Window> windows();
    // How many popups (menus, tool tips: override-redirect windows) are on the screen.
    int shownPopups();
    // Waits until a mapped window with this title exists.
    std::optional<Window> waitForWindow(const std::string& title, int timeoutMs);
    // The pixels of a rectangle of the screen, row by row, as 0xRRGGBB; empty on failure.
    std::vector<std::uint32_t> grab(int x, int y, int width, int height);
    int rootWidth() const;
    int rootHeight() const;
    // Real input through the XTEST extension, as a user's mouse and keyboard give it:
    // runs xdotool with these arguments, then leaves the program a moment to react.
    static void xdotool(const std::string& display, std::vector<std::string> args);

  private:
    std::string title(std::uint32_t window);
    xcb_connection_t* conn_ = nullptr;
    std::uint32_t root_ = 0;
};
