#pragma once

#include "platform/fs/SourceSnapshots.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

// Copies one entry that is not a folder the way `cp -a` does: a file's data with its holes
// kept, a second name of a file already copied in the same tree as a hard link to that
// copy, a symbolic link as a link (never followed), a FIFO or device as a new one; then
// the owner, permissions, ACLs, extended attributes and times (FileMetadata). Each entry
// read is recorded in snapshots(), for the removal of moved sources. Runs on the calling
// thread (the file operation's worker) and blocks on the disk.
class EntryCopier {
  public:
    // Failures of our own, beside the errno values.
    static constexpr int kSocket = -1;
    static constexpr int kNotAFile = -2;

    // `cancelled` stops a data copy between two chunks; `copied` is told of each chunk's
    // bytes (a hole's too).
    EntryCopier(const std::atomic<bool>& cancelled, std::function<void(std::int64_t)> copied);

    // Starts the copy of a tree into the folder `topDir`: hard links are made only between
    // entries of one tree, and the snapshots of the tree before are dropped.
    void startTree(int topDir);
    // Copies the entry `name` of the folder `dir` (its lstat `st`) to `destName` in the
    // folder `destDir`, which lies at `destRelative` below `topDir`; `sync` forces the data
    // to disk. 0 or an error (an errno, kSocket, kNotAFile); nothing is left on failure.
    int copy(int dir, const std::string& name, const struct stat& st, int destDir,
             const std::string& destName, const std::string& destRelative, bool sync);
    SourceSnapshots& snapshots() { return snapshots_; }

  private:
    int copyFile(int dir, const std::string& name, int destDir, const std::string& destName,
                 const std::string& destRelative, bool sync);
    bool linkToEarlierCopy(const struct stat& st, int destDir, const std::string& destName);
    int copyData(int in, int out, const struct stat& st);
    int copySpan(int in, int out, off_t from, off_t to);
    int copyLink(int dir, const std::string& name, const struct stat& st, int destDir,
                 const std::string& destName);
    int copySpecial(const struct stat& st, int destDir, const std::string& destName);

    const std::atomic<bool>& cancelled_;
    std::function<void(std::int64_t)> copied_;
    int topDir_ = -1;
    // Where the first name of each file with several names was copied, below topDir_.
    std::map<std::pair<dev_t, ino_t>, std::string> firstCopies_;
    SourceSnapshots snapshots_;
    std::vector<char> buffer_;
};
