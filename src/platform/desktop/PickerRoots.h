#pragma once

#include "platform/desktop/SystemFolders.h"

#include <string>

// Where the folder chooser is rooted for the system folders that have no path of their
// own: "/" for the computer, the mounted network shares of the desktop's virtual file
// system for the network ($XDG_RUNTIME_DIR/gvfs, /run/user/UID/gvfs without it). "" for
// every other folder.
class PickerRoots {
  public:
    static std::string of(SystemFolder folder);
};
