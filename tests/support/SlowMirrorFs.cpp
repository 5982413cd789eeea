// A FUSE file system for tests: it mirrors a source folder and answers late, or never, for
// the paths chosen as slow, like a network share that has stopped answering.
//
//   tavrin_slow_mirror_fs SOURCE MOUNTPOINT [--delay-ms N] [--hang]
//                         [--slow-under NAME | --slow-everywhere] [--control FILE]
//
// --slow-under NAME (default "slow"): the top folder's child NAME is the slow folder. Its own
//     attributes answer at once, so that the top folder can be listed quickly; reading it and
//     every operation on anything inside it waits.
// --slow-everywhere: every operation waits, on the top folder too.
// --delay-ms N: a slow operation sleeps N ms before it is carried out (default 0).
// --hang: a slow operation never answers while the daemon runs.
// --control FILE: read before each slow operation; when it holds "hang" or a number of ms it
//     replaces --hang and --delay-ms, so that a test can change them while mounted. A hung
//     operation goes on as soon as the file no longer says "hang".
//
// Runs in the foreground, multi-threaded. SIGTERM ends it within a moment and unmounts;
// operations still waiting then fail (ENOTCONN, or ECONNABORTED from the kernel when the
// connection closes first), as when the daemon is killed. Operations are forwarded with the
// *at() calls on a descriptor of SOURCE, so names travel byte for byte.
#define FUSE_USE_VERSION 31
#include <fuse.h>
#include <fuse_lowlevel.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

struct Slowness {
    int delayMs = 0;
    bool hang = false;
};

struct Options {
    std::string source;
    std::string mountPoint;
    Slowness slowness;
    std::string slowName = "slow";
    bool everywhere = false;
    std::string controlFile;
};

Options options;
int sourceFd = -1;
constexpr std::chrono::milliseconds pollStep(20);

// The control file's slowness, or nullopt when it is missing or says nothing known.
std::optional<Slowness> controlled() {
    if (options.controlFile.empty())
        return std::nullopt;
    const int fd = ::open(options.controlFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    char text[32] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    ::close(fd);
    if (n <= 0)
        return std::nullopt;
    const std::string_view word(text, std::strcspn(text, " \t\r\n"));
    if (word == "hang")
        return Slowness{0, true};
    char* end = nullptr;
    const long ms = std::strtol(text, &end, 10);
    if (end == text || ms < 0)
        return std::nullopt;
    return Slowness{static_cast<int>(ms), false};
}

Slowness currentSlowness() {
    return controlled().value_or(options.slowness);
}

// `attributesOnly`: the operation only reads the path's attributes, as listing its parent does.
bool isSlow(const char* path, bool attributesOnly) {
    if (options.everywhere)
        return true;
    if (!path)
        return false;
    const std::string slow = "/" + options.slowName;
    const std::string_view p(path);
    if (p == slow)
        return !attributesOnly;
    return p.size() > slow.size() && p.starts_with(slow) && p[slow.size()] == '/';
}

bool ending() {
    return fuse_session_exited(fuse_get_session(fuse_get_context()->fuse));
}

// Sleeps in short steps; false as soon as the daemon is ending.
bool sleepUnlessEnding(std::chrono::milliseconds time) {
    const auto until = std::chrono::steady_clock::now() + time;
    for (;;) {
        if (ending())
            return false;
        const auto left = until - std::chrono::steady_clock::now();
        if (left <= left.zero())
            return true;
        std::this_thread::sleep_for(std::min<std::chrono::nanoseconds>(left, pollStep));
    }
}

// Holds the calling operation back while its path is slow; false when the daemon is ending
// meanwhile, and the operation then fails with ENOTCONN as on a share that went away. A hang
// polls the control file, so that it ends when the file says so.
bool waitIfSlow(const char* path, bool attributesOnly = false) {
    if (!isSlow(path, attributesOnly))
        return true;
    Slowness slowness = currentSlowness();
    while (slowness.hang) {
        if (!sleepUnlessEnding(pollStep))
            return false;
        slowness = currentSlowness();
    }
    return sleepUnlessEnding(std::chrono::milliseconds(slowness.delayMs));
}

// The path inside the source folder: "." for the top.
const char* relative(const char* path) {
    return path[1] ? path + 1 : ".";
}

int result(int rc) {
    return rc < 0 ? -errno : 0;
}

int openedOrError(int fd, fuse_file_info* fi) {
    if (fd < 0)
        return -errno;
    fi->fh = static_cast<uint64_t>(fd);
    return 0;
}

int fileOf(const fuse_file_info* fi) {
    return static_cast<int>(fi->fh);
}

void* onInit(fuse_conn_info*, fuse_config* cfg) {
    // Nothing is cached in the kernel, so that every look-up and every stat reaches the
    // daemon and is slow when its path is.
    cfg->entry_timeout = 0;
    cfg->attr_timeout = 0;
    cfg->negative_timeout = 0;
    cfg->use_ino = 1;
    // A removed file is removed from the source at once, not hidden as ".fuse_hidden*".
    cfg->hard_remove = 1;
    return nullptr;
}

int onGetattr(const char* path, struct stat* st, fuse_file_info* fi) {
    if (!waitIfSlow(path, true))
        return -ENOTCONN;
    if (fi)
        return result(::fstat(fileOf(fi), st));
    return result(::fstatat(sourceFd, relative(path), st, AT_SYMLINK_NOFOLLOW));
}

int onOpendir(const char* path, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    const int fd = ::openat(sourceFd, relative(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        const int error = errno;
        ::close(fd);
        return -error;
    }
    fi->fh = reinterpret_cast<uintptr_t>(dir);
    return 0;
}

// The whole folder at once (offset 0 for every entry); the library pages it to the kernel.
int onReaddir(const char* path, void* buf, fuse_fill_dir_t fill, off_t, fuse_file_info* fi,
              fuse_readdir_flags) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    DIR* dir = reinterpret_cast<DIR*>(fi->fh);
    ::rewinddir(dir);
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (!entry)
            return -errno;
        struct stat st = {};
        st.st_ino = entry->d_ino;
        st.st_mode = static_cast<mode_t>(DTTOIF(entry->d_type));
        if (fill(buf, entry->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0)))
            return 0;
    }
}

int onReleasedir(const char*, fuse_file_info* fi) {
    ::closedir(reinterpret_cast<DIR*>(fi->fh));
    return 0;
}

int onOpen(const char* path, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    return openedOrError(::openat(sourceFd, relative(path), fi->flags | O_CLOEXEC), fi);
}

int onCreate(const char* path, mode_t mode, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    const int flags = fi->flags | O_CREAT | O_CLOEXEC;
    return openedOrError(::openat(sourceFd, relative(path), flags, mode), fi);
}

int onRead(const char* path, char* buf, size_t size, off_t offset, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    const ssize_t n = ::pread(fileOf(fi), buf, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int onWrite(const char* path, const char* buf, size_t size, off_t offset, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    const ssize_t n = ::pwrite(fileOf(fi), buf, size, offset);
    return n < 0 ? -errno : static_cast<int>(n);
}

int onFsync(const char* path, int dataOnly, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    return result(dataOnly ? ::fdatasync(fileOf(fi)) : ::fsync(fileOf(fi)));
}

int onRelease(const char*, fuse_file_info* fi) {
    ::close(fileOf(fi));
    return 0;
}

int onMkdir(const char* path, mode_t mode) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    return result(::mkdirat(sourceFd, relative(path), mode));
}

int onUnlink(const char* path) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    return result(::unlinkat(sourceFd, relative(path), 0));
}

int onRmdir(const char* path) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    return result(::unlinkat(sourceFd, relative(path), AT_REMOVEDIR));
}

int onRename(const char* from, const char* to, unsigned int flags) {
    if (!waitIfSlow(isSlow(from, false) ? from : to))
        return -ENOTCONN;
    return result(::renameat2(sourceFd, relative(from), sourceFd, relative(to), flags));
}

int onLink(const char* from, const char* to) {
    if (!waitIfSlow(isSlow(from, false) ? from : to))
        return -ENOTCONN;
    return result(::linkat(sourceFd, relative(from), sourceFd, relative(to), 0));
}

int onReadlink(const char* path, char* buf, size_t size) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    const ssize_t n = ::readlinkat(sourceFd, relative(path), buf, size - 1);
    if (n < 0)
        return -errno;
    buf[n] = '\0';
    return 0;
}

int onSymlink(const char* target, const char* path) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    return result(::symlinkat(target, sourceFd, relative(path)));
}

int onTruncate(const char* path, off_t size, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    if (fi)
        return result(::ftruncate(fileOf(fi), size));
    const int fd = ::openat(sourceFd, relative(path), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return -errno;
    const int rc = result(::ftruncate(fd, size));
    ::close(fd);
    return rc;
}

int onUtimens(const char* path, const timespec times[2], fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    if (fi)
        return result(::futimens(fileOf(fi), times));
    return result(::utimensat(sourceFd, relative(path), times, AT_SYMLINK_NOFOLLOW));
}

int onChmod(const char* path, mode_t mode, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    if (fi)
        return result(::fchmod(fileOf(fi), mode));
    return result(::fchmodat(sourceFd, relative(path), mode, 0));
}

int onChown(const char* path, uid_t uid, gid_t gid, fuse_file_info* fi) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    if (fi)
        return result(::fchown(fileOf(fi), uid, gid));
    return result(::fchownat(sourceFd, relative(path), uid, gid, AT_SYMLINK_NOFOLLOW));
}

int onStatfs(const char* path, struct statvfs* st) {
    if (!waitIfSlow(path))
        return -ENOTCONN;
    return result(::fstatvfs(sourceFd, st));
}

fuse_operations operations() {
    fuse_operations ops = {};
    ops.init = onInit;
    ops.getattr = onGetattr;
    ops.opendir = onOpendir;
    ops.readdir = onReaddir;
    ops.releasedir = onReleasedir;
    ops.open = onOpen;
    ops.create = onCreate;
    ops.read = onRead;
    ops.write = onWrite;
    ops.fsync = onFsync;
    ops.release = onRelease;
    ops.mkdir = onMkdir;
    ops.unlink = onUnlink;
    ops.rmdir = onRmdir;
    ops.rename = onRename;
    ops.link = onLink;
    ops.readlink = onReadlink;
    ops.symlink = onSymlink;
    ops.truncate = onTruncate;
    ops.utimens = onUtimens;
    ops.chmod = onChmod;
    ops.chown = onChown;
    ops.statfs = onStatfs;
    return ops;
}

int usage() {
    std::fputs("usage: tavrin_slow_mirror_fs SOURCE MOUNTPOINT [--delay-ms N] [--hang]\n"
               "       [--slow-under NAME | --slow-everywhere] [--control FILE]\n",
               stderr);
    return 2;
}

// Fills `options` from the command line; false when it is not understood.
bool parse(const std::vector<std::string>& args) {
    std::vector<std::string> places;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--hang")
            options.slowness.hang = true;
        else if (a == "--slow-everywhere")
            options.everywhere = true;
        else if (a == "--delay-ms" && hasValue)
            options.slowness.delayMs = std::atoi(args[++i].c_str());
        else if (a == "--slow-under" && hasValue)
            options.slowName = args[++i];
        else if (a == "--control" && hasValue)
            options.controlFile = args[++i];
        else if (a.starts_with("--"))
            return false;
        else
            places.push_back(a);
    }
    if (places.size() != 2 || options.slowName.empty() ||
        options.slowName.find('/') != std::string::npos)
        return false;
    options.source = places[0];
    options.mountPoint = places[1];
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!parse(std::vector<std::string>(argv + 1, argv + argc)))
        return usage();
    sourceFd = ::open(options.source.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (sourceFd < 0) {
        std::perror(options.source.c_str());
        return 1;
    }
    std::vector<std::string> fuseArgs{argv[0], "-f", "-o", "fsname=tavrin-slow-mirror",
                                      options.mountPoint};
    std::vector<char*> fuseArgv;
    for (auto& a : fuseArgs)
        fuseArgv.push_back(a.data());
    const fuse_operations ops = operations();
    return fuse_main(static_cast<int>(fuseArgv.size()), fuseArgv.data(), &ops, nullptr);
}
