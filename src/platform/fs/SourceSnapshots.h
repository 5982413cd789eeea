#pragma once

#include <ctime>
#include <map>
#include <string>
#include <sys/stat.h>
#include <utility>

// What each source entry of a move across file systems looked like just before it was
// copied. Only an entry that is still exactly so (same inode, kind, size, modification
// and change times to the nanosecond) is removed afterwards: one written to, replaced or
// added during the copy stays where it is, with the folders that hold it.
class SourceSnapshots {
  public:
    void clear() { entries_.clear(); }
    // An entry that is not a folder, as it was read for its copy.
    void record(const struct stat& st);
    // Removes the entry `name` of the folder `dir`, and everything below it, where
    // unchanged since recorded. `kept` is set when anything stays. 0, or the errno of a
    // removal that failed.
    int removeUnchanged(int dir, const std::string& name, bool& kept);

  private:
    struct Snapshot {
        mode_t kind;
        off_t size;
        timespec modified;
        timespec changed;
    };
    bool unchanged(const struct stat& st) const;
    int unlinkName(int dir, const std::string& name, const struct stat& st);

    std::map<std::pair<dev_t, ino_t>, Snapshot> entries_;
};
