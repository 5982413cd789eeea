#include "platform/fs/FolderWatchSet.h"

#include <sys/inotify.h>
#include <unistd.h>

namespace {

// Entries added, removed or renamed (files too: the tree-only view shows them, and a link
// to a folder is a folder node), and the folder itself going; attributes and contents are
// left out: the tree shows names only.
constexpr std::uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

FolderWatchSet::FolderWatchSet() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderWatchSet::~FolderWatchSet() {
    if (fd_ >= 0)
        close(fd_);
}

std::optional<int> FolderWatchSet::add(const std::string& folder) {
    if (fd_ < 0 || folder.empty() || unwatched_.holds(folder))
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
