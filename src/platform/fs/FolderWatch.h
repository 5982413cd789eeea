#pragma once

#include "platform/fs/UnwatchedMounts.h"

#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

// Change notifications for a few folders through inotify, so that an unchanged folder
// costs nothing to check. A folder on a network or FUSE file system (or where inotify is
// not to be had) is not watchable: callers then read it as before. Which folders those are
// comes from the mount table, never from a look at the folder, which there may wait for
// ever.
// Single-threaded: the descriptor is read without blocking when asked.
class FolderWatch {
  public:
    FolderWatch();
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // A number that grows with every change seen in the folder (entries added, removed,
    // renamed, its attributes or the folder itself); nullopt when it cannot be watched.
    // The first call for a folder starts watching it.
    std::optional<std::uint64_t> generation(std::string_view folder);
    // Readable when changes wait to be read; -1 when there are no notifications.
    int descriptor() const { return fd_; }
    // Reads the changes that wait; true when there were any.
    bool poll() { return fd_ >= 0 && drain(); }

  private:
    struct Watch {
        int descriptor;
        std::uint64_t generation;
    };
    bool drain();
    void forgetOldest();

    int fd_ = -1;
    UnwatchedMounts unwatched_;
    // Generations come from one counter, so a folder watched anew never repeats a number
    // a cache may still hold.
    std::uint64_t counter_ = 0;
    std::unordered_map<std::string, Watch> watches_;
    std::unordered_map<int, std::string> folderOf_;
    std::list<std::string> recent_; // least recently asked first
};
