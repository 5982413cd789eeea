#pragma once

#include "platform/fs/UnwatchedMounts.h"

#include <optional>
#include <string>
#include <vector>

// inotify watches of many folders at once (the tree's expanded nodes), told apart by
// their numbers. inotify only hears changes made through this machine's kernel, and
// looking a path up on a network or FUSE file system can wait for ever: folders there are
// not watched (nor looked up), and the caller falls back to reading them now and then.
// Single-threaded: the descriptor is read without blocking when asked.
class FolderWatchSet {
  public:
    // What one notice says: which watch, and whether the watched folder itself went
    // (removed, moved away, unmounted), which ends its watch.
    struct Change {
        int watch;
        bool ended;
    };

    FolderWatchSet();
    ~FolderWatchSet();
    FolderWatchSet(const FolderWatchSet&) = delete;
    FolderWatchSet& operator=(const FolderWatchSet&) = delete;

    // Readable when notices wait; -1 when there are no notifications.
    int descriptor() const { return fd_; }
    // Starts watching the folder's entries; the watch's number, shared by every name of
    // one folder. None where it cannot be watched: no notifications, a network or FUSE
    // file system, the user's limit of watches reached, not a folder.
    std::optional<int> add(const std::string& folder);
    void remove(int watch);
    // The notices that wait, in order; `overflowed` is set when the kernel dropped some
    // (any watched folder may have changed).
    std::vector<Change> poll(bool& overflowed);

  private:
    int fd_ = -1;
    UnwatchedMounts unwatched_;
};
