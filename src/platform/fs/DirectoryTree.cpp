#include "platform/fs/DirectoryTree.h"

#include "platform/fs/FileDescriptor.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kNameMax = 255;
constexpr unsigned kMaxTries = 100000;

bool exists(int dirFd, const std::string& name) {
    struct stat st {};
    return fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT;
}

std::string linkTarget(int dirFd, const std::string& name) {
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlinkat(dirFd, name.c_str(), target.data(), target.size());
    target.resize(n < 0 ? 0 : static_cast<std::size_t>(n));
    return target;
}

// Cuts a UTF-8 text to at most `size` bytes without splitting a character.
std::string cutTo(std::string text, std::size_t size) {
    if (text.size() <= size)
        return text;
    std::size_t end = size;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

} // namespace

int DirectoryTree::openFolder(int dirFd, const std::string& name) {
    return openat(dirFd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
}

std::vector<std::string> DirectoryTree::entries(int folderFd, int& error) {
    std::vector<std::string> names;
    error = 0;
    const int fd = fcntl(folderFd, F_DUPFD_CLOEXEC, 0);
    DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
    if (!dir) {
        error = errno;
        if (fd >= 0)
            close(fd);
        return names;
    }
    rewinddir(dir);
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..")
            names.emplace_back(name);
        errno = 0;
    }
    error = errno;
    closedir(dir);
    return names;
}

int DirectoryTree::remove(int dirFd, const std::string& name) {
    if (unlinkat(dirFd, name.c_str(), 0) == 0)
        return 0;
    if (errno != EISDIR && errno != EPERM)
        return errno == ENOENT ? 0 : errno;
    FileDescriptor folder(openFolder(dirFd, name));
    if (!folder.valid())
        return errno;
    int error = 0;
    for (const std::string& entry : entries(folder.get(), error)) {
        if (const int failed = remove(folder.get(), entry))
            return failed;
    }
    if (error)
        return error;
    return unlinkat(dirFd, name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno;
}

void DirectoryTree::measure(int dirFd, const std::string& name, std::uint64_t& items,
                            std::uint64_t& bytes) {
    struct stat st {};
    if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return;
    ++items;
    if (S_ISREG(st.st_mode))
        bytes += static_cast<std::uint64_t>(st.st_size);
    if (!S_ISDIR(st.st_mode))
        return;
    FileDescriptor folder(openFolder(dirFd, name));
    int error = 0;
    if (folder.valid())
        for (const std::string& entry : entries(folder.get(), error))
            measure(folder.get(), entry, items, bytes);
}

bool DirectoryTree::sameShape(int dirA, const std::string& nameA, int dirB,
                              const std::string& nameB) {
    struct stat a {
    }, b{};
    if (fstatat(dirA, nameA.c_str(), &a, AT_SYMLINK_NOFOLLOW) != 0 ||
        fstatat(dirB, nameB.c_str(), &b, AT_SYMLINK_NOFOLLOW) != 0 ||
        (a.st_mode & S_IFMT) != (b.st_mode & S_IFMT))
        return false;
    if (S_ISREG(a.st_mode))
        return a.st_size == b.st_size;
    if (S_ISLNK(a.st_mode))
        return linkTarget(dirA, nameA) == linkTarget(dirB, nameB);
    if (!S_ISDIR(a.st_mode))
        return true;
    FileDescriptor folderA(openFolder(dirA, nameA)), folderB(openFolder(dirB, nameB));
    int errorA = 0, errorB = 0;
    if (!folderA.valid() || !folderB.valid())
        return false;
    const auto entriesA = entries(folderA.get(), errorA);
    if (errorA || entries(folderB.get(), errorB).size() != entriesA.size() || errorB)
        return false;
    for (const std::string& entry : entriesA)
        if (!sameShape(folderA.get(), entry, folderB.get(), entry))
            return false;
    return true;
}

std::string DirectoryTree::freeName(int dirFd, const std::string& name) {
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0 && name.size() - dot <= 16;
    const std::string stem = hasExtension ? name.substr(0, dot) : name;
    const std::string extension = hasExtension ? name.substr(dot) : std::string();
    std::string candidate;
    // A folder that cannot be looked into answers every name as taken: the last candidate
    // is then returned, and creating it reports why.
    for (unsigned n = 2; n < kMaxTries; ++n) {
        const std::string suffix = " (" + std::to_string(n) + ")" + extension;
        candidate = cutTo(stem, kNameMax - suffix.size()) + suffix;
        if (!exists(dirFd, candidate))
            break;
    }
    return candidate;
}

std::string DirectoryTree::temporaryName(int dirFd) {
    static std::atomic<unsigned> counter{0};
    std::string candidate;
    for (unsigned tries = 0; tries < kMaxTries; ++tries) {
        candidate =
            ".tavrin-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".part";
        if (!exists(dirFd, candidate))
            break;
    }
    return candidate;
}
