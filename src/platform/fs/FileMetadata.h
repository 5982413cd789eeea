#pragma once

#include <string>
#include <sys/stat.h>

// Copies what `cp -a` keeps of an entry besides its data: owner and group (where this
// process may set them), permissions with the ACLs, extended attributes and times.
// A copy whose owner could not be kept loses its set-user-ID and set-group-ID bits, so a
// copy never hands another user's privilege to the one who made it.
class FileMetadata {
  public:
    // From the open entry `from` (stat `st`) to the open entry `to`, a file or a folder.
    // 0, or the errno of keeping the permissions (an ACL the target cannot hold included);
    // attributes the target's file system does not support are left out, as cp does.
    static int copy(int from, const struct stat& st, int to);
    // For an entry that cannot be opened (a FIFO, a device): owner, mode and times of
    // `name` in the folder `dir`.
    static int copyTo(int dir, const std::string& name, const struct stat& st);
};
