#include "platform/fs/FolderWatch.h"

#include <algorithm>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

constexpr std::size_t kMaxWatches = 32;
constexpr std::uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB |
                                IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_ONLYDIR;

} // namespace

FolderWatch::FolderWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

FolderWatch::~FolderWatch() {
    if (fd_ >= 0)
        close(fd_);
}

bool FolderWatch::drain() {
    alignas(inotify_event) char buffer[16384];
    for (bool any = false;; any = true) {
        const ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            return any;
        for (ssize_t pos = 0; pos < n;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + pos);
            pos += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if (event->mask & IN_Q_OVERFLOW) {
                for (auto& [folder, watch] : watches_)
                    watch.generation = ++counter_;
                continue;
            }
            const auto it = folderOf_.find(event->wd);
            if (it == folderOf_.end())
                continue;
            watches_.at(it->second).generation = ++counter_;
            if (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
                // The folder is gone, moved away or unmounted: the watch follows the old
                // folder, so drop it; the next question watches whatever has the name then.
                inotify_rm_watch(fd_, event->wd);
                watches_.erase(it->second);
                recent_.remove(it->second);
                folderOf_.erase(it);
            }
        }
    }
}

void FolderWatch::forgetOldest() {
    const std::string oldest = recent_.front();
    recent_.pop_front();
    const auto it = watches_.find(oldest);
    if (it == watches_.end())
        return;
    inotify_rm_watch(fd_, it->second.descriptor);
    folderOf_.erase(it->second.descriptor);
    watches_.erase(it);
}

std::optional<std::uint64_t> FolderWatch::generation(std::string_view folder) {
    if (fd_ < 0)
        return std::nullopt;
    drain();
    const std::string key(folder);
    if (auto it = watches_.find(key); it != watches_.end()) {
        recent_.remove(key);
        recent_.push_back(key);
        return it->second.generation;
    }
    if (unwatched_.holds(key))
        return std::nullopt;
    const int wd = inotify_add_watch(fd_, key.c_str(), kMask);
    if (wd < 0)
        return std::nullopt;
    if (auto existing = folderOf_.find(wd); existing != folderOf_.end()) {
        // Another name for an already watched folder (a link): watch under both names.
        watches_.erase(existing->second);
        recent_.remove(existing->second);
    }
    if (watches_.size() >= kMaxWatches)
        forgetOldest();
    watches_[key] = Watch{wd, ++counter_};
    folderOf_[wd] = key;
    recent_.push_back(key);
    return counter_;
}
