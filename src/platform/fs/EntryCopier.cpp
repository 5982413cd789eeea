#include "platform/fs/EntryCopier.h"

#include "platform/fs/FileDescriptor.h"
#include "platform/fs/FileMetadata.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunk = 8 << 20;
constexpr std::size_t kBufferSize = 1 << 20;

// The kernel's copy where the file systems allow it, else sendfile, else a buffer.
enum class Way { Kernel, SendFile, Buffer };

bool wayUnsupported(int error) {
    return error == EXDEV || error == ENOSYS || error == EINVAL || error == EOPNOTSUPP;
}

} // namespace

EntryCopier::EntryCopier(const std::atomic<bool>& cancelled,
                         std::function<void(std::int64_t)> copied)
    : cancelled_(cancelled), copied_(std::move(copied)) {}

void EntryCopier::startTree(int topDir) {
    topDir_ = topDir;
    firstCopies_.clear();
    snapshots_.clear();
}

int EntryCopier::copy(int dir, const std::string& name, const struct stat& st, int destDir,
                      const std::string& destName, const std::string& destRelative, bool sync) {
    if (S_ISREG(st.st_mode))
        return copyFile(dir, name, destDir, destName, destRelative, sync);
    if (S_ISLNK(st.st_mode))
        return copyLink(dir, name, st, destDir, destName);
    if (S_ISSOCK(st.st_mode))
        return kSocket; // a socket lives only as long as the program that listens on it
    return copySpecial(st, destDir, destName);
}

int EntryCopier::copyFile(int dir, const std::string& name, int destDir,
                          const std::string& destName, const std::string& destRelative, bool sync) {
    FileDescriptor in(openat(dir, name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid())
        return errno;
    struct stat st {};
    if (fstat(in.get(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return kNotAFile;
    if (st.st_nlink > 1 && linkToEarlierCopy(st, destDir, destName)) {
        snapshots_.record(st);
        return 0;
    }
    FileDescriptor out(openat(destDir, destName.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.valid())
        return errno;
    int error = copyData(in.get(), out.get(), st);
    if (!error)
        error = FileMetadata::copy(in.get(), st, out.get());
    if (!error && sync && fsync(out.get()) != 0)
        error = errno;
    if (!out.close() && !error)
        error = errno;
    if (error) {
        unlinkat(destDir, destName.c_str(), 0);
        return error;
    }
    if (st.st_nlink > 1)
        firstCopies_.emplace(std::make_pair(st.st_dev, st.st_ino), destRelative);
    snapshots_.record(st);
    return 0;
}

// A file met before under another name in this tree gets a name of that copy: one inode,
// as in the source. Where the link cannot be made, the file is copied again.
bool EntryCopier::linkToEarlierCopy(const struct stat& st, int destDir,
                                    const std::string& destName) {
    const auto first = firstCopies_.find({st.st_dev, st.st_ino});
    return first != firstCopies_.end() &&
           linkat(topDir_, first->second.c_str(), destDir, destName.c_str(), 0) == 0;
}

// Copies the data spans only, so that holes stay holes; a file with as many blocks as
// its size needs has none and is copied whole.
int EntryCopier::copyData(int in, int out, const struct stat& st) {
    if (st.st_blocks * 512 >= st.st_size)
        return copySpan(in, out, 0, -1);
    off_t at = 0;
    std::int64_t holes = 0;
    for (;;) {
        const off_t data = lseek(in, at, SEEK_DATA);
        if (data < 0 && errno == ENXIO)
            break;
        if (data < 0)
            return at == 0 && errno == EINVAL ? copySpan(in, out, 0, -1) : errno;
        const off_t hole = lseek(in, data, SEEK_HOLE);
        if (hole < 0)
            return errno;
        if (const int error = copySpan(in, out, data, hole))
            return error;
        holes += data - at;
        at = hole;
    }
    const off_t size = std::max<off_t>(st.st_size, at);
    if (ftruncate(out, size) != 0)
        return errno;
    copied_(holes + (size - at)); // the holes count as done too
    return 0;
}

// Copies the bytes from `from` up to `to` (-1: to the end of the file).
int EntryCopier::copySpan(int in, int out, off_t from, off_t to) {
    Way way = Way::Kernel;
    bool started = false;
    off_t inAt = from, outAt = from;
    for (;;) {
        if (cancelled_)
            return ECANCELED;
        const std::size_t want =
            to < 0 ? kChunk : std::min<std::size_t>(kChunk, static_cast<std::size_t>(to - inAt));
        if (want == 0)
            return 0;
        ssize_t n = 0;
        if (way == Way::Kernel) {
            n = copy_file_range(in, &inAt, out, &outAt, want, 0);
        } else if (way == Way::SendFile) {
            n = lseek(out, outAt, SEEK_SET) < 0 ? -1 : sendfile(out, in, &inAt, want);
            outAt += n > 0 ? n : 0;
        } else {
            buffer_.resize(kBufferSize);
            n = pread(in, buffer_.data(), std::min(want, buffer_.size()), inAt);
            for (ssize_t written = 0; n > 0 && written < n;) {
                const ssize_t w = pwrite(out, buffer_.data() + written, n - written, outAt);
                if (w < 0 && errno != EINTR)
                    return errno;
                written += w < 0 ? 0 : w;
                outAt += w < 0 ? 0 : w;
            }
            inAt += n > 0 ? n : 0;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && !started && way != Way::Buffer && wayUnsupported(errno)) {
            way = way == Way::Kernel ? Way::SendFile : Way::Buffer;
            continue;
        }
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        started = true;
        copied_(n);
    }
}

int EntryCopier::copyLink(int dir, const std::string& name, const struct stat& st, int destDir,
                          const std::string& destName) {
    std::string target(static_cast<std::size_t>(st.st_size) + PATH_MAX, '\0');
    const ssize_t n = readlinkat(dir, name.c_str(), target.data(), target.size());
    if (n < 0)
        return errno;
    target.resize(static_cast<std::size_t>(n));
    if (symlinkat(target.c_str(), destDir, destName.c_str()) != 0)
        return errno;
    fchownat(destDir, destName.c_str(), st.st_uid, st.st_gid, AT_SYMLINK_NOFOLLOW);
    const timespec times[2] = {st.st_atim, st.st_mtim};
    utimensat(destDir, destName.c_str(), times, AT_SYMLINK_NOFOLLOW);
    snapshots_.record(st);
    return 0;
}

// A FIFO is made anew (its data belongs to whoever has it open), a device node too
// (where this process may make one).
int EntryCopier::copySpecial(const struct stat& st, int destDir, const std::string& destName) {
    if (mknodat(destDir, destName.c_str(), (st.st_mode & S_IFMT) | 0600, st.st_rdev) != 0)
        return errno;
    if (const int error = FileMetadata::copyTo(destDir, destName, st)) {
        unlinkat(destDir, destName.c_str(), 0);
        return error;
    }
    snapshots_.record(st);
    return 0;
}
