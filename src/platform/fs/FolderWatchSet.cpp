#include "platform/fs/FolderWatchSet.h"

#include "platform/fs/MountTable.h"

#include <array>
#include <string_view>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Entries added, removed or renamed (files too: the tree-only view shows them, and a link
// to a folder is a folder node), and the folder itself going; attributes and contents are
// left out: the tree shows names only.
constexpr std::uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

bool within(const std::string& folder, const std::string& mountPoint) {
    if (mountPoint == "/")
        return true;
    return folder.starts_with(mountPoint) &&
           (folder.size() == mountPoint.size() || folder[mountPoint.size()] == '/');
}

} // namespace

FolderWatchSet::FolderWatchSet() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderWatchSet::~FolderWatchSet() {
    if (fd_ >= 0)
        close(fd_);
}

bool FolderWatchSet::unwatchedType(const std::string& fsType) {
    static constexpr std::array<std::string_view, 10> kNetwork = {
        "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "coda", "afs", "ceph", "glusterfs"};
    for (std::string_view type : kNetwork)
        if (fsType == type)
            return true;
    return fsType.starts_with("fuse"); // fuse, fuseblk, fuse.sshfs, ...
}

bool FolderWatchSet::onUnwatchedMount(const std::string& folder) {
    if (mounts_.changed() || !mountsRead_) {
        unwatchedMounts_.clear();
        for (const MountEntry& m : MountTable::read())
            if (unwatchedType(m.fsType))
                unwatchedMounts_.push_back(m.mountPoint);
        mountsRead_ = true;
    }
    for (const std::string& mountPoint : unwatchedMounts_)
        if (within(folder, mountPoint))
            return true;
    return false;
}

std::optional<int> FolderWatchSet::add(const std::string& folder) {
    if (fd_ < 0 || folder.empty() || onUnwatchedMount(folder))
        return std::nullopt;
    const int wd = inotify_add_watch(fd_, folder.c_str(), kMask);
    if (wd < 0)
        return std::nullopt;
    return wd;
}

void FolderWatchSet::remove(int watch) {
    if (fd_ >= 0)
        inotify_rm_watch(fd_, watch);
}

std::vector<FolderWatchSet::Change> FolderWatchSet::poll(bool& overflowed) {
    std::vector<Change> changes;
    overflowed = false;
    if (fd_ < 0)
        return changes;
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            return changes;
        for (ssize_t pos = 0; pos < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + pos);
            pos += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                overflowed = true;
                continue;
            }
            const bool ended =
                (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) != 0;
            changes.push_back({event->wd, ended});
        }
    }
}
