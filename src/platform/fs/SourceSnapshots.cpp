#include "platform/fs/SourceSnapshots.h"

#include "platform/fs/DirectoryTree.h"
#include "platform/fs/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {

bool operator==(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

} // namespace

void SourceSnapshots::record(const struct stat& st) {
    entries_[{st.st_dev, st.st_ino}] = {st.st_mode & S_IFMT, st.st_size, st.st_mtim, st.st_ctim};
}

bool SourceSnapshots::unchanged(const struct stat& st) const {
    const auto found = entries_.find({st.st_dev, st.st_ino});
    if (found == entries_.end())
        return false;
    const Snapshot& was = found->second;
    return was.kind == (st.st_mode & S_IFMT) && was.size == st.st_size &&
           was.modified == st.st_mtim && was.changed == st.st_ctim;
}

// Removing one name of a file with several changes the file's change time: the snapshot
// follows, so that its other names still count as unchanged.
int SourceSnapshots::unlinkName(int dir, const std::string& name, const struct stat& st) {
    FileDescriptor file(st.st_nlink > 1 ? openat(dir, name.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC)
                                        : -1);
    if (unlinkat(dir, name.c_str(), 0) != 0)
        return errno == ENOENT ? 0 : errno;
    struct stat after {};
    if (file.valid() && fstat(file.get(), &after) == 0)
        entries_[{st.st_dev, st.st_ino}].changed = after.st_ctim;
    return 0;
}

int SourceSnapshots::removeUnchanged(int dir, const std::string& name, bool& kept) {
    struct stat st {};
    if (fstatat(dir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? 0 : errno;
    if (!S_ISDIR(st.st_mode)) {
        if (!unchanged(st)) {
            kept = true;
            return 0;
        }
        return unlinkName(dir, name, st);
    }
    FileDescriptor folder(DirectoryTree::openFolder(dir, name));
    if (!folder.valid())
        return errno;
    int error = 0;
    for (const std::string& entry : DirectoryTree::entries(folder.get(), error))
        if (const int failed = removeUnchanged(folder.get(), entry, kept))
            return failed;
    if (error)
        return error;
    if (unlinkat(dir, name.c_str(), AT_REMOVEDIR) == 0)
        return 0;
    if (errno != ENOTEMPTY && errno != EEXIST)
        return errno;
    kept = true;
    return 0;
}
