#include "platform/fs/FileMetadata.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

constexpr mode_t kPrivilegeBits = S_ISUID | S_ISGID;

// Sets owner and group as far as allowed (the group alone where the owner cannot be
// given away); true when both are now the source's.
bool keepOwner(int to, const struct stat& st) {
    if (fchown(to, st.st_uid, st.st_gid) != 0)
        fchown(to, static_cast<uid_t>(-1), st.st_gid);
    struct stat now {};
    return fstat(to, &now) == 0 && now.st_uid == st.st_uid && now.st_gid == st.st_gid;
}

std::string procPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

// The access ACL (and a folder's default ACL) with the mode.
int keepPermissions(int from, const struct stat& st, int to) {
    const std::string source = procPath(from), target = procPath(to);
    // perm_copy_fd cannot reach a folder's default ACL, which only a path names.
    const int result = S_ISDIR(st.st_mode)
                           ? perm_copy_file(source.c_str(), target.c_str(), nullptr)
                           : perm_copy_fd(source.c_str(), from, target.c_str(), to, nullptr);
    return result == 0 ? 0 : errno;
}

// The source's mode bits, less the set-ID ones where the owner is not the source's.
mode_t keptMode(const struct stat& st, bool ownerKept) {
    return st.st_mode & 07777 & (ownerKept ? 07777 : ~kPrivilegeBits);
}

bool unsupported(int error) {
    return error == ENOTSUP || error == EOPNOTSUPP || error == ENOSYS;
}

} // namespace

int FileMetadata::copy(int from, const struct stat& st, int to) {
    const bool ownerKept = keepOwner(to, st);
    const std::string source = procPath(from), target = procPath(to);
    // Extended attributes are kept where the target can hold them; cp -a is as lenient.
    attr_copy_fd(source.c_str(), from, target.c_str(), to, nullptr, nullptr);
    if (const int error = keepPermissions(from, st, to))
        return error;
    // The ACL carries the permission bits only: the set-ID and sticky bits are set here.
    const mode_t mode = keptMode(st, ownerKept);
    if ((mode & 07000) && fchmod(to, mode) != 0)
        return errno;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    return futimens(to, times) == 0 || unsupported(errno) ? 0 : errno;
}

int FileMetadata::copyTo(int dir, const std::string& name, const struct stat& st) {
    const char* entry = name.c_str();
    const bool ownerKept = fchownat(dir, entry, st.st_uid, st.st_gid, AT_SYMLINK_NOFOLLOW) == 0;
    if (fchmodat(dir, entry, keptMode(st, ownerKept), 0) != 0)
        return errno;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    return utimensat(dir, entry, times, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
}
