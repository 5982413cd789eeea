#include "platform/fs/UnwatchedMounts.h"

#include "platform/fs/MountTable.h"
#include "platform/text/PathText.h"

#include <array>
#include <string_view>

bool UnwatchedMounts::unwatchedType(const std::string& fsType) {
    static constexpr std::array<std::string_view, 10> kNetwork = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "coda", "afs", "ceph", "glusterfs"};
    for (std::string_view type : kNetwork)
        if (fsType == type)
            return true;
    return fsType.starts_with("fuse"); // fuse, fuseblk, fuse.sshfs, ...
}

bool UnwatchedMounts::holds(const std::string& folder) {
    if (changes_.changed() || !read_) {
        mountPoints_.clear();
        for (const MountEntry& m : MountTable::read())
            if (unwatchedType(m.fsType))
                mountPoints_.push_back(m.mountPoint);
        read_ = true;
    }
    for (const std::string& mountPoint : mountPoints_)
        if (PathText::within(folder, mountPoint))
            return true;
    return false;
}
