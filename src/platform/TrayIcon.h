#pragma once

#include <string_view>

// The program's icon in the desktop's task tray.
// Threads: the user-interface thread only.
class TrayIcon {
  public:
    virtual ~TrayIcon() = default;
    // Shows the icon with a tooltip; the tip is cut to 63 bytes, as the tray record held.
    virtual void add(std::string_view tip) = 0;
    virtual void remove() = 0;
    // False where the desktop has no tray (plain GNOME, a bare X server).
    virtual bool available() const = 0;
};
