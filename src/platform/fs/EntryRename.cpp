#include "platform/fs/EntryRename.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>

bool EntryRename::exists(int dir, const std::string& name, struct stat* st) {
    struct stat local {};
    return fstatat(dir, name.c_str(), st ? st : &local, AT_SYMLINK_NOFOLLOW) == 0;
}

bool EntryRename::sameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

namespace {

// Whether the entry is still the item the user agreed to replace.
bool stillThe(int dir, const std::string& name, const struct stat& agreed) {
    struct stat now {};
    return EntryRename::exists(dir, name, &now) && EntryRename::sameEntry(now, agreed) &&
           (now.st_mode & S_IFMT) == (agreed.st_mode & S_IFMT);
}

} // namespace

int EntryRename::noReplace(int fromDir, const std::string& from, int toDir, const std::string& to) {
    if (renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno == EEXIST)
        return kRetarget;
    if (errno != EINVAL)
        return errno;
    // A file system without RENAME_NOREPLACE: check, then rename.
    if (exists(toDir, to))
        return kRetarget;
    return renameat(fromDir, from.c_str(), toDir, to.c_str()) == 0 ? 0 : errno;
}

int EntryRename::exchange(int fromDir, const std::string& from, int toDir, const std::string& to,
                          const struct stat& agreed, bool& replacedAtFrom) {
    replacedAtFrom = false;
    if (renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_EXCHANGE) != 0) {
        if (errno == ENOENT && !exists(toDir, to))
            return kRetarget;
        if (errno != EINVAL)
            return errno;
        // A file system that cannot exchange: check, then replace in one rename.
        if (!stillThe(toDir, to, agreed))
            return kRetarget;
        return renameat(fromDir, from.c_str(), toDir, to.c_str()) == 0 ? 0 : errno;
    }
    if (!stillThe(fromDir, from, agreed)) {
        renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_EXCHANGE);
        return kRetarget;
    }
    replacedAtFrom = true;
    return 0;
}
