#pragma once

#include <optional>
#include <string>
#include <vector>

// One entry of a popup menu as it is shown: a command with an id, a separator (caption
// "-") or a submenu (entries of its own). A caption's "&" marks its access key.
struct PopupEntry {
    std::string caption;
    int id = -1;
    bool enabled = true;
    std::vector<PopupEntry> submenu;
};

// Where a popup menu appears.
enum class PopupPlace {
    Pointer,  // at the mouse pointer (a click)
    FocusItem // at the current item of the widget that has the keyboard focus (a key)
};

// Shows popup menus. Modal: the call returns once the menu has closed, with the id of the
// chosen command, or nothing when the menu was closed without a choice (Escape, a click
// elsewhere). The menu always lies wholly on the screen.
// Threads: the user-interface thread; a popup is modal and returns the chosen command.
class PopupMenuView {
  public:
    virtual ~PopupMenuView() = default;
    virtual std::optional<int> popUp(const std::vector<PopupEntry>& entries, PopupPlace place) = 0;
};
