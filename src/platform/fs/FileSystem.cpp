#include "platform/fs/FileSystem.h"

#include "platform/fs/FileDescriptor.h"
#include "platform/fs/FolderReader.h"
#include "platform/fs/SmallFile.h"
#include "platform/text/AnsiCodec.h"
#include "platform/text/TextCase.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/vfs.h>
#include <thread>
#include <unistd.h>

namespace {

std::string pathString(std::string_view path) {
    return path.empty() ? std::string(".") : std::string(path);
}

bool isLinkPath(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::optional<FileRecord> record(std::string_view path, bool wantFolder) {
    FileRecord rec;
    rec.path = std::string(path);
    rec.name = FileSystem::nameOf(path);
    const std::string p = pathString(path);
    if (!FolderReader::stat(AT_FDCWD, p.c_str(), isLinkPath(p), rec) ||
        rec.isFolder() != wantFolder)
        return std::nullopt;
    return rec;
}

bool failed(FileFault* fault, int error) {
    if (fault)
        *fault = FileFault{error, false};
    return false;
}

} // namespace

bool FileSystem::folderExists(std::string_view path) {
    struct stat st {};
    return !path.empty() && stat(std::string(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

int FileSystem::folderReadError(std::string_view path) {
    FileDescriptor fd(open(std::string(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return fd.valid() ? 0 : errno;
}

bool FileSystem::fileExists(std::string_view path) {
    struct stat st {};
    return !path.empty() && stat(std::string(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FileSystem::exists(std::string_view path) {
    struct stat st {};
    return !path.empty() && stat(std::string(path).c_str(), &st) == 0;
}

std::optional<FileRecord> FileSystem::getFolder(std::string_view path) {
    return record(path, true);
}

std::optional<FileRecord> FileSystem::getFile(std::string_view path) {
    return record(path, false);
}

FolderListing FileSystem::list(std::string_view path, bool sorted) {
    return FolderReader::read(path, FolderReader::Wanted::Both,
                              sorted ? FolderReader::Order::ByName : FolderReader::Order::AsStored);
}

void FileSystem::sortByName(std::vector<FileRecord>& records) {
    FolderReader::sortByName(records);
}

namespace {

// Calls `visit(isFolder)` for each entry (but those `skip` passes over) until it returns
// false; false if unreadable.
template <typename Visit>
bool scanKinds(std::string_view path, Visit visit, FileSystem::NameTest skip = nullptr) {
    DIR* dir = opendir(pathString(path).c_str());
    if (!dir)
        return false;
    const int fd = dirfd(dir);
    while (const dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        if (skip && skip(name))
            continue;
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat st {};
            folder = fstatat(fd, name, &st, 0) == 0 && S_ISDIR(st.st_mode);
        }
        if (!visit(folder))
            break;
    }
    closedir(dir);
    return true;
}

} // namespace

std::optional<FileSystem::Counts> FileSystem::count(std::string_view path) {
    Counts counts;
    if (!scanKinds(path, [&](bool folder) {
            ++(folder ? counts.folders : counts.files);
            return true;
        }))
        return std::nullopt;
    return counts;
}

bool FileSystem::hasSubfolder(std::string_view path, NameTest skip) {
    bool found = false;
    scanKinds(
        path, [&](bool folder) { return !(found = folder); }, skip);
    return found;
}

namespace {

// Whether the folder `name` of the open folder `parent` holds a folder or a link to one,
// read with raw directory records into a buffer on the stack.
bool holdsSubfolderAt(int parent, const char* name) {
    const int fd = openat(parent, name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    alignas(8) char buffer[8192];
    bool found = false;
    long got = 0;
    while (!found && (got = syscall(SYS_getdents64, fd, buffer, sizeof buffer)) > 0) {
        for (long at = 0; at < got && !found;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            at += entry->d_reclen;
            const char* entryName = entry->d_name;
            if (entryName[0] == '.' &&
                (entryName[1] == 0 || (entryName[1] == '.' && entryName[2] == 0)))
                continue;
            found = entry->d_type == DT_DIR;
            if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                struct stat st {};
                found = fstatat(fd, entryName, &st, 0) == 0 && S_ISDIR(st.st_mode);
            }
        }
    }
    close(fd);
    return found;
}

} // namespace

std::vector<char> FileSystem::holdSubfolders(std::string_view folder,
                                             const std::vector<std::string_view>& names) {
    std::vector<char> held(names.size(), 0);
    const int parent = open(pathString(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (parent < 0)
        return held;
    const auto look = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            held[i] = holdsSubfolderAt(parent, std::string(names[i]).c_str()) ? 1 : 0;
    };
    constexpr std::size_t kShared = 256;
    std::size_t half = names.size();
    std::thread second;
    if (names.size() >= kShared) {
        try {
            second = std::thread(look, names.size() / 2, names.size());
            half = names.size() / 2;
        } catch (const std::system_error&) {
            // No second thread: this one looks at every entry.
        }
    }
    look(0, half);
    if (second.joinable())
        second.join();
    close(parent);
    return held;
}

bool FileSystem::linksCountSubfolders(std::string_view folder) {
    struct statfs fs {};
    if (statfs(pathString(folder).c_str(), &fs) != 0)
        return false;
    switch (static_cast<std::uint32_t>(fs.f_type)) {
    case 0xEF53:     // ext2, ext3, ext4
    case 0x58465342: // XFS
    case 0x01021994: // tmpfs
        return true;
    default:
        return false;
    }
}

bool FileSystem::hasFile(std::string_view path, NameTest skip) {
    bool found = false;
    scanKinds(
        path, [&](bool folder) { return !(found = !folder); }, skip);
    return found;
}

std::vector<FileRecord> FileSystem::subFolders(std::string_view path) {
    return FolderReader::read(path, FolderReader::Wanted::Folders).folders;
}

std::vector<FileRecord> FileSystem::files(std::string_view path) {
    return FolderReader::read(path, FolderReader::Wanted::Files).files;
}

bool FileSystem::createFolder(std::string_view path) {
    return !path.empty() && mkdir(std::string(path).c_str(), 0777) == 0;
}

bool FileSystem::rename(std::string_view path, std::string_view newName) {
    if (newName.empty() || newName == "." || newName == ".." ||
        newName.find('/') != std::string_view::npos)
        return false;
    const std::string from(path);
    const std::string target = join(parentOf(path), newName);
    // Never over an existing entry: a rename must not delete another file.
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    struct stat st {};
    if (errno != EINVAL || lstat(target.c_str(), &st) == 0)
        return false;
    return ::rename(from.c_str(), target.c_str()) == 0;
}

int FileSystem::moveNoReplace(std::string_view from, std::string_view to) {
    const std::string source(from), target(to);
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    // A file system without the no-replace rename: a hard link fails as well on a taken
    // name; a folder cannot be linked and is not moved there.
    struct stat st {};
    if (lstat(source.c_str(), &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EINVAL;
    if (link(source.c_str(), target.c_str()) != 0)
        return errno;
    return unlink(source.c_str()) == 0 ? 0 : errno;
}

int FileSystem::removeEmptyFolder(std::string_view path) {
    return rmdir(std::string(path).c_str()) == 0 ? 0 : errno;
}

int FileSystem::removeFile(std::string_view path) {
    return unlink(std::string(path).c_str()) == 0 ? 0 : errno;
}

std::optional<ItemIdentity> FileSystem::identity(std::string_view path) {
    struct stat st {};
    if (lstat(std::string(path).c_str(), &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

ItemIdentity FileSystem::identityOf(const struct stat& st) {
    return {static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::uint32_t>(st.st_mode & S_IFMT), static_cast<std::uint64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

std::optional<std::string> FileSystem::readBytes(std::string_view path) {
    FileDescriptor fd(open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid())
        return std::nullopt;
    return fd.readToEnd();
}

std::optional<std::string> FileSystem::readAnsiText(std::string_view path, FileFault* fault) {
    FileFault local;
    auto bytes = SmallFile::read(path, std::numeric_limits<std::size_t>::max(), local);
    if (fault)
        *fault = local;
    if (!bytes)
        return std::nullopt;
    return AnsiCodec::decode(*bytes);
}

bool FileSystem::writeAnsiText(std::string_view path, std::string_view utf8, FileFault* fault) {
    return writeBytesAtomically(path, AnsiCodec::encode(utf8), fault);
}

namespace {

// Writes the bytes to a new temporary file beside `target` and flushes it; its path, or
// nullopt with the fault set.
std::optional<std::string> writeTemporary(const std::string& target, std::string_view bytes,
                                          mode_t mode, FileFault* fault) {
    // A short name: the target's own name may already be as long as a name can be.
    std::string temp = FileSystem::join(FileSystem::parentOf(target), ".tavrin-write.XXXXXX");
    FileDescriptor fd(mkstemp(temp.data()));
    if (!fd.valid()) {
        failed(fault, errno);
        return std::nullopt;
    }
    int error = fchmod(fd.get(), mode) == 0 ? 0 : errno;
    for (std::size_t done = 0; error == 0 && done < bytes.size();) {
        const ssize_t n = write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            error = n < 0 ? errno : ENOSPC;
        else
            done += static_cast<std::size_t>(n);
    }
    if (error == 0 && fsync(fd.get()) != 0)
        error = errno;
    if (!fd.close() && error == 0)
        error = errno;
    if (error == 0)
        return temp;
    unlink(temp.c_str());
    failed(fault, error);
    return std::nullopt;
}

mode_t newFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Moves the temporary file to `target` unless an entry of that name exists.
int placeWithoutReplacing(const std::string& temp, const std::string& target) {
    if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    // A file system without the no-replace rename: a hard link fails as well on a taken name.
    if (link(temp.c_str(), target.c_str()) != 0)
        return errno;
    unlink(temp.c_str());
    return 0;
}

} // namespace

bool FileSystem::writeBytesAtomically(std::string_view path, std::string_view bytes,
                                      FileFault* fault) {
    // Write through a symbolic link to the file it names, so the link survives.
    std::string target(path);
    if (char* real = realpath(target.c_str(), nullptr)) {
        target = real;
        free(real);
    }
    struct stat old {};
    const mode_t mode = stat(target.c_str(), &old) == 0 ? (old.st_mode & 07777) : newFileMode();
    const auto temp = writeTemporary(target, bytes, mode, fault);
    if (!temp)
        return false;
    if (::rename(temp->c_str(), target.c_str()) == 0)
        return true;
    const int error = errno;
    unlink(temp->c_str());
    return failed(fault, error);
}

bool FileSystem::writeNewFile(std::string_view path, std::string_view bytes, FileFault* fault) {
    const std::string target(path);
    const auto temp = writeTemporary(target, bytes, newFileMode(), fault);
    if (!temp)
        return false;
    const int error = placeWithoutReplacing(*temp, target);
    if (error == 0)
        return true;
    unlink(temp->c_str());
    return failed(fault, error);
}

std::string FileSystem::parentOf(std::string_view path) {
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    if (slash == 0)
        return "/";
    return std::string(path.substr(0, slash));
}

std::string FileSystem::nameOf(std::string_view path) {
    if (path == "/")
        return "/";
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FileSystem::join(std::string_view folder, std::string_view name) {
    std::string out(folder);
    if (out.empty() || out.back() != '/')
        out += '/';
    out += name;
    return out;
}
