#pragma once

#include "platform/fs/MountWatch.h"

#include <string>
#include <vector>

// The file systems whose folders are not watched: network ones (inotify hears only the
// changes made through this machine) and FUSE ones (looking a path up there can wait for
// ever). Told from the mount table, read again after every mount and unmount, so asking
// never looks the folder itself up.
class UnwatchedMounts {
  public:
    // Whether `folder` (a whole path) lies on such a file system.
    bool holds(const std::string& folder);
    static bool unwatchedType(const std::string& fsType);

  private:
    MountWatch changes_;
    std::vector<std::string> mountPoints_;
    bool read_ = false;
};
