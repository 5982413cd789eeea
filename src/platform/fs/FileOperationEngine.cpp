#include "platform/fs/FileOperationEngine.h"

#include "platform/fs/DirectoryTree.h"
#include "platform/fs/FileDescriptor.h"
#include "platform/Trash.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/sendfile.h>
#include <unistd.h>

namespace {

// Failures of our own, beside the errno values.
constexpr int kSpecialFile = -1;
constexpr int kSourceChanged = -2;
constexpr int kBadName = -3;

constexpr std::size_t kChunk = 8 << 20;
constexpr std::size_t kBufferSize = 1 << 20;

std::string reasonOf(int error) {
    switch (error) {
    case kSpecialFile:
        return "名前付きパイプ、ソケット、デバイスは読み込みません";
    case kSourceChanged:
        return "移動中に移動元が変わったため、移動元を残しました";
    case kBadName:
        return "この名前は扱えません";
    default:
        return std::strerror(error);
    }
}

std::string join(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// Splits a path into its folder and last name; trailing separators are not part of it.
std::pair<std::string, std::string> split(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

bool exists(int dir, const std::string& name, struct stat* st = nullptr) {
    struct stat local {};
    return fstatat(dir, name.c_str(), st ? st : &local, AT_SYMLINK_NOFOLLOW) == 0;
}

int noReplaceRename(int fromDir, const std::string& from, int toDir, const std::string& to) {
    if (renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL || exists(toDir, to))
        return errno == EINVAL ? EEXIST : errno;
    return renameat(fromDir, from.c_str(), toDir, to.c_str()) == 0 ? 0 : errno;
}

// Puts the complete entry `temp` in place as `name`. A replaced file goes in the same
// rename; where a folder is involved the two are exchanged and the old one, now under the
// temporary name, is removed afterwards.
int install(int dir, const std::string& temp, const std::string& name, bool replace) {
    struct stat old {
    }, fresh{};
    if (!replace || !exists(dir, name, &old))
        return noReplaceRename(dir, temp, dir, name);
    if (!exists(dir, temp, &fresh))
        return errno;
    if (!S_ISDIR(old.st_mode) && !S_ISDIR(fresh.st_mode))
        return renameat(dir, temp.c_str(), dir, name.c_str()) == 0 ? 0 : errno;
    if (renameat2(dir, temp.c_str(), dir, name.c_str(), RENAME_EXCHANGE) != 0)
        return errno;
    return DirectoryTree::remove(dir, temp);
}

bool sameEntry(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether `path` is `folder` or lies below it, both resolved.
bool within(const std::string& path, const std::string& folder) {
    char* real = realpath(path.c_str(), nullptr);
    char* base = realpath(folder.c_str(), nullptr);
    bool inside = false;
    if (real && base) {
        const std::string p = real, f = base;
        inside = p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 &&
                            (f == "/" || p[f.size()] == '/'));
    }
    std::free(real);
    std::free(base);
    return inside;
}

} // namespace

FileOperationEngine::FileOperationEngine(FileOperationDialogs& dialogs,
                                         FileOperationProgress& progress, Trash& trash)
    : dialogs_(dialogs), progress_(progress), trash_(trash) {}

bool FileOperationEngine::run(const FileOperationRequest& request) {
    if (request.sources.empty())
        return false;
    cancelled_ = false;
    conflictForAll_.reset();
    status_ = {};
    if (request.kind == FileOperationKind::Delete)
        return runDelete(request);
    return runTransfer(request);
}

template <typename Attempt>
FileOperationEngine::Step FileOperationEngine::retrying(const std::string& path, Attempt&& attempt,
                                                        bool cancellable) {
    for (;;) {
        if (cancellable && cancelled_)
            return Step::Cancelled;
        const int error = attempt();
        if (error == 0)
            return Step::Done;
        if (cancellable && cancelled_)
            return Step::Cancelled;
        switch (dialogs_.askError(path, reasonOf(error))) {
        case ErrorChoice::Retry:
            continue;
        case ErrorChoice::Skip:
            return Step::Skipped;
        case ErrorChoice::Cancel:
            cancelled_ = true;
            return Step::Cancelled;
        }
    }
}

void FileOperationEngine::report(const std::string& path) {
    status_.current = path;
    progress_.update(status_);
}

bool FileOperationEngine::runDelete(const FileOperationRequest& request) {
    if (!request.noConfirmation && !dialogs_.confirmDelete(request.sources))
        return false;
    status_.itemsTotal = request.sources.size();
    bool allDone = true;
    for (const std::string& path : request.sources) {
        report(path);
        const Step step = deleteOne(path);
        if (step == Step::Cancelled)
            return false;
        allDone = allDone && step == Step::Done;
        ++status_.itemsDone;
    }
    return allDone && !cancelled_;
}

FileOperationEngine::Step FileOperationEngine::deleteOne(const std::string& path) {
    for (;;) {
        if (cancelled_)
            return Step::Cancelled;
        const Trash::Outcome outcome = trash_.moveToTrash(path);
        if (outcome.result == Trash::Result::Done)
            return Step::Done;
        if (outcome.result == Trash::Result::NoTrash) {
            if (!dialogs_.confirmDeleteForGood(path))
                return Step::Skipped;
            const auto [folder, name] = split(path);
            FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
            return retrying(path, [&] {
                return !dir.valid() ? errno : DirectoryTree::remove(dir.get(), name);
            });
        }
        switch (dialogs_.askError(path, outcome.reason)) {
        case ErrorChoice::Retry:
            continue;
        case ErrorChoice::Skip:
            return Step::Skipped;
        case ErrorChoice::Cancel:
            cancelled_ = true;
            return Step::Cancelled;
        }
    }
}

bool FileOperationEngine::refusedNesting(const FileOperationRequest& request) {
    for (const std::string& source : request.sources) {
        struct stat st {};
        if (lstat(source.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
            !within(request.destination, source))
            continue;
        const bool move = request.kind == FileOperationKind::Move;
        dialogs_.refuse(std::string(move ? "移動" : "複写") +
                        "先がフォルダーそのものかその中にあるため、" + (move ? "移動" : "複写") +
                        "できません。\r" + source);
        return true;
    }
    return false;
}

bool FileOperationEngine::runTransfer(const FileOperationRequest& request) {
    const bool move = request.kind == FileOperationKind::Move;
    FileDescriptor dest(open(request.destination.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dest.valid()) {
        dialogs_.refuse(std::string(move ? "移動" : "複写") + "先のフォルダーを開けません。\r" +
                        request.destination + "\r" + reasonOf(errno));
        return false;
    }
    if (refusedNesting(request))
        return false;
    for (const std::string& source : request.sources) {
        const auto [folder, name] = split(source);
        FileDescriptor dir(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.valid())
            DirectoryTree::measure(dir.get(), name, status_.itemsTotal, status_.bytesTotal);
    }
    bool allDone = true;
    for (const std::string& source : request.sources) {
        const Step step = transferSource(source, dest.get(), request.destination, move);
        if (step == Step::Cancelled)
            return false;
        allDone = allDone && step == Step::Done;
    }
    report({});
    return allDone && !cancelled_;
}

FileOperationEngine::Step FileOperationEngine::transferSource(const std::string& source,
                                                              int destDir,
                                                              const std::string& destPath,
                                                              bool move) {
    const auto [folder, name] = split(source);
    FileDescriptor dir;
    struct stat st {};
    const Step step = retrying(source, [&] {
        if (name.empty() || name == "." || name == ".." || name == "/")
            return kBadName;
        dir = FileDescriptor(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!dir.valid())
            return errno;
        return fstatat(dir.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
    });
    if (step != Step::Done)
        return step;
    return transferEntry(Entry{dir.get(), name, source}, st, destDir, destPath, move);
}

std::optional<ConflictChoice> FileOperationEngine::conflictChoice(const std::string& source,
                                                                  const std::string& target) {
    if (conflictForAll_)
        return conflictForAll_;
    const ConflictAnswer answer = dialogs_.askConflict(source, target);
    if (answer.applyToAll)
        conflictForAll_ = answer.choice;
    return answer.choice;
}

FileOperationEngine::Step FileOperationEngine::transferEntry(const Entry& source,
                                                             const struct stat& st, int destDir,
                                                             const std::string& destPath,
                                                             bool move) {
    struct stat from {
    }, into{};
    fstat(source.dir, &from);
    fstat(destDir, &into);
    std::string target = source.name;
    bool replace = false;
    struct stat old {};
    if (sameEntry(from, into)) {
        if (move)
            return Step::Done;
        target = DirectoryTree::freeName(destDir, source.name);
    } else if (exists(destDir, target, &old)) {
        switch (*conflictChoice(source.path, join(destPath, target))) {
        case ConflictChoice::Skip:
            return Step::Skipped;
        case ConflictChoice::Cancel:
            cancelled_ = true;
            return Step::Cancelled;
        case ConflictChoice::KeepBoth:
            target = DirectoryTree::freeName(destDir, source.name);
            break;
        case ConflictChoice::Replace:
            if (S_ISDIR(st.st_mode) && S_ISDIR(old.st_mode))
                return merge(source, destDir, target, destPath, move);
            replace = true;
            break;
        }
    }
    if (move) {
        bool crossDevice = false;
        const Step step = moveByRename(source, destDir, target, replace, crossDevice);
        if (!crossDevice)
            return step;
    }
    return copyThenPlace(source, st, destDir, target, join(destPath, target), replace, move);
}

FileOperationEngine::Step FileOperationEngine::merge(const Entry& source, int destDir,
                                                     const std::string& targetName,
                                                     const std::string& destPath, bool move) {
    FileDescriptor from, into;
    std::vector<std::string> names;
    const std::string targetPath = join(destPath, targetName);
    Step step = retrying(source.path, [&] {
        from = FileDescriptor(DirectoryTree::openFolder(source.dir, source.name));
        into = FileDescriptor(DirectoryTree::openFolder(destDir, targetName));
        if (!from.valid() || !into.valid())
            return errno;
        int error = 0;
        names = DirectoryTree::entries(from.get(), error);
        return error;
    });
    if (step != Step::Done)
        return step;
    ++status_.itemsDone;
    step = forEachChild(source, from.get(), names, [&](const Entry& child, const struct stat& st) {
        return transferEntry(child, st, into.get(), targetPath, move);
    });
    if (step != Step::Done)
        return step;
    if (!move)
        return Step::Done;
    return retrying(
        source.path,
        [&] { return unlinkat(source.dir, source.name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno; },
        false);
}

FileOperationEngine::Step FileOperationEngine::forEachChild(
    const Entry& folder, int fromDir, const std::vector<std::string>& names,
    const std::function<Step(const Entry&, const struct stat&)>& act) {
    bool allDone = true;
    for (const std::string& name : names) {
        const Entry child{fromDir, name, join(folder.path, name)};
        struct stat st {};
        Step step = retrying(child.path, [&] {
            return fstatat(fromDir, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
        });
        if (step == Step::Done)
            step = act(child, st);
        if (step == Step::Cancelled)
            return step;
        allDone = allDone && step == Step::Done;
    }
    return allDone ? Step::Done : Step::Skipped;
}

FileOperationEngine::Step FileOperationEngine::moveByRename(const Entry& source, int destDir,
                                                            const std::string& target, bool replace,
                                                            bool& crossDevice) {
    std::uint64_t items = 0, bytes = 0;
    DirectoryTree::measure(source.dir, source.name, items, bytes);
    report(source.path);
    const Step step = retrying(source.path, [&] {
        struct stat st {
        }, old{};
        int error = 0;
        if (!replace) {
            error = noReplaceRename(source.dir, source.name, destDir, target);
        } else if (exists(source.dir, source.name, &st) && exists(destDir, target, &old) &&
                   !S_ISDIR(st.st_mode) && !S_ISDIR(old.st_mode)) {
            error = renameat(source.dir, source.name.c_str(), destDir, target.c_str()) ? errno : 0;
        } else {
            const std::string temp = DirectoryTree::temporaryName(destDir);
            error = noReplaceRename(source.dir, source.name, destDir, temp);
            if (error == 0 && (error = install(destDir, temp, target, true)) != 0)
                noReplaceRename(destDir, temp, source.dir, source.name);
        }
        crossDevice = error == EXDEV;
        return crossDevice ? 0 : error;
    });
    if (step == Step::Done && !crossDevice) {
        status_.itemsDone += items;
        status_.bytesDone += bytes;
    }
    return step;
}

FileOperationEngine::Step FileOperationEngine::copyThenPlace(const Entry& source,
                                                             const struct stat& st, int destDir,
                                                             const std::string& target,
                                                             const std::string& targetPath,
                                                             bool replace, bool move) {
    const std::string temp = DirectoryTree::temporaryName(destDir);
    // The copy is forced to disk where a crash could otherwise cost the user something:
    // before it takes an existing item's place and before a moved source is removed. A new
    // copy beside its intact source is left to the kernel's writeback, as cp and GLib do.
    const bool durable = move || exists(destDir, target);
    Step step = copyTree(source, st, destDir, temp, durable && !S_ISDIR(st.st_mode));
    if (step == Step::Done && durable && S_ISDIR(st.st_mode))
        step = retrying(targetPath, [&] { return syncfs(destDir) == 0 ? 0 : errno; });
    if (step == Step::Done)
        step = retrying(targetPath, [&] { return install(destDir, temp, target, replace); });
    if (step != Step::Done && exists(destDir, temp)) {
        if (step == Step::Skipped && !move && S_ISDIR(st.st_mode) &&
            install(destDir, temp, target, replace) == 0)
            return step; // a copied folder keeps what was copied of it
        DirectoryTree::remove(destDir, temp);
        return step;
    }
    if (step != Step::Done || !move)
        return step;
    return removeMovedSource(source, destDir, target);
}

FileOperationEngine::Step FileOperationEngine::removeMovedSource(const Entry& source, int destDir,
                                                                 const std::string& target) {
    if (!DirectoryTree::sameShape(source.dir, source.name, destDir, target)) {
        const ErrorChoice choice = dialogs_.askError(source.path, reasonOf(kSourceChanged));
        if (choice == ErrorChoice::Cancel) {
            cancelled_ = true;
            return Step::Cancelled;
        }
        return Step::Skipped;
    }
    return retrying(
        source.path, [&] { return DirectoryTree::remove(source.dir, source.name); }, false);
}

FileOperationEngine::Step FileOperationEngine::copyTree(const Entry& source, const struct stat& st,
                                                        int destDir, const std::string& destName,
                                                        bool sync) {
    report(source.path);
    Step step = Step::Done;
    if (S_ISDIR(st.st_mode))
        return copyFolder(source, st, destDir, destName);
    if (S_ISREG(st.st_mode))
        step = retrying(source.path, [&] { return copyFile(source, destDir, destName, sync); });
    else if (S_ISLNK(st.st_mode))
        step = retrying(source.path, [&] { return copyLink(source, st, destDir, destName); });
    else
        step = retrying(source.path, [] { return kSpecialFile; });
    if (step == Step::Done)
        ++status_.itemsDone;
    return step;
}

FileOperationEngine::Step FileOperationEngine::copyFolder(const Entry& source,
                                                          const struct stat& st, int destDir,
                                                          const std::string& destName) {
    FileDescriptor from, into;
    std::vector<std::string> names;
    Step step = retrying(source.path, [&] {
        from = FileDescriptor(DirectoryTree::openFolder(source.dir, source.name));
        if (!from.valid())
            return errno;
        int error = 0;
        names = DirectoryTree::entries(from.get(), error);
        if (error)
            return error;
        if (mkdirat(destDir, destName.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
        into = FileDescriptor(DirectoryTree::openFolder(destDir, destName));
        return into.valid() ? 0 : errno;
    });
    if (step != Step::Done)
        return step;
    ++status_.itemsDone;
    const Step children =
        forEachChild(source, from.get(), names, [&](const Entry& child, const struct stat& st) {
            return copyTree(child, st, into.get(), child.name, false);
        });
    if (children == Step::Cancelled)
        return children;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    step = retrying(source.path, [&] {
        if (fchmod(into.get(), st.st_mode & 07777) != 0 || futimens(into.get(), times) != 0)
            return errno;
        return 0;
    });
    return children == Step::Done ? step : (step == Step::Cancelled ? step : Step::Skipped);
}

int FileOperationEngine::copyFile(const Entry& source, int destDir, const std::string& destName,
                                  bool sync) {
    FileDescriptor in(openat(source.dir, source.name.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!in.valid())
        return errno;
    struct stat st {};
    if (fstat(in.get(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return kSpecialFile;
    FileDescriptor out(openat(destDir, destName.c_str(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!out.valid())
        return errno;
    const std::uint64_t bytesBefore = status_.bytesDone;
    int error = copyData(in.get(), out.get());
    const timespec times[2] = {st.st_atim, st.st_mtim};
    if (!error && (fchmod(out.get(), st.st_mode & 07777) != 0 || futimens(out.get(), times) != 0))
        error = errno;
    if (!error && sync && fsync(out.get()) != 0)
        error = errno;
    if (!out.close() && !error)
        error = errno;
    if (error) {
        unlinkat(destDir, destName.c_str(), 0);
        status_.bytesDone = bytesBefore;
    }
    return error;
}

int FileOperationEngine::copyData(int in, int out) {
    enum class Way { Kernel, SendFile, Buffer } way = Way::Kernel;
    bool started = false;
    for (;;) {
        if (cancelled_)
            return ECANCELED;
        ssize_t n = 0;
        if (way == Way::Kernel) {
            n = copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
        } else if (way == Way::SendFile) {
            n = sendfile(out, in, nullptr, kChunk);
        } else {
            buffer_.resize(kBufferSize);
            n = read(in, buffer_.data(), buffer_.size());
            for (ssize_t written = 0; n > 0 && written < n;) {
                const ssize_t w = write(out, buffer_.data() + written, n - written);
                if (w < 0 && errno != EINTR)
                    return errno;
                written += w < 0 ? 0 : w;
            }
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && !started && way != Way::Buffer &&
            (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
            way = way == Way::Kernel ? Way::SendFile : Way::Buffer;
            continue;
        }
        if (n < 0)
            return errno;
        if (n == 0)
            return 0;
        started = true;
        status_.bytesDone += static_cast<std::uint64_t>(n);
        progress_.update(status_);
    }
}

int FileOperationEngine::copyLink(const Entry& source, const struct stat& st, int destDir,
                                  const std::string& destName) {
    std::string target(static_cast<std::size_t>(st.st_size) + PATH_MAX, '\0');
    const ssize_t n = readlinkat(source.dir, source.name.c_str(), target.data(), target.size());
    if (n < 0)
        return errno;
    target.resize(static_cast<std::size_t>(n));
    if (symlinkat(target.c_str(), destDir, destName.c_str()) != 0)
        return errno;
    const timespec times[2] = {st.st_atim, st.st_mtim};
    utimensat(destDir, destName.c_str(), times, AT_SYMLINK_NOFOLLOW);
    return 0;
}
