#pragma once

#include <string>

// Where the folder chooser is rooted for the system folders that have no path of their
// own: "/" for 17 (the computer), the mounted network shares of the desktop's virtual
// file system for 18 (the network: $XDG_RUNTIME_DIR/gvfs, /run/user/UID/gvfs without
// it). "" for every other number.
class PickerRoots {
  public:
    static std::string of(int number);
};
