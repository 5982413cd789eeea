#pragma once

#include <string>
#include <sys/stat.h>

// The renames that put an entry in place without ever losing one: a rename that never
// overwrites, and an exchange that replaces only the very item the user agreed to replace.
// Both name entries relative to open folders and never follow a symbolic link.
class EntryRename {
  public:
    // The target changed since the user was asked about it: something appeared at a free
    // name, or the agreed item was replaced or removed meanwhile. Ask again.
    static constexpr int kRetarget = -13;

    // Renames `from` to `to`, failing with kRetarget where `to` exists. 0 or an errno.
    static int noReplace(int fromDir, const std::string& from, int toDir, const std::string& to);
    // Puts `from` in the place of the agreed item `to` (never a folder) in one exchange, so
    // that the replaced item then lies at `from` (`replacedAtFrom`: the caller removes it).
    // Where `to` is no longer the agreed item the exchange is undone: kRetarget.
    static int exchange(int fromDir, const std::string& from, int toDir, const std::string& to,
                        const struct stat& agreed, bool& replacedAtFrom);
    static bool exists(int dir, const std::string& name, struct stat* st = nullptr);
    static bool sameEntry(const struct stat& a, const struct stat& b);
};
