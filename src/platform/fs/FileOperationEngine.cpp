#include "platform/fs/FileOperationEngine.h"

#include "platform/Trash.h"
#include "platform/fs/DirectoryTree.h"
#include "platform/fs/EntryRename.h"
#include "platform/fs/FileDescriptor.h"
#include "platform/fs/FileMetadata.h"
#include "platform/fs/FileSystem.h"
#include "platform/text/PathText.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace {

using Step = FileStep;

// Whether `path` is `folder` or lies below it, both resolved.
bool within(const std::string& path, const std::string& folder) {
    char* real = realpath(path.c_str(), nullptr);
    char* base = realpath(folder.c_str(), nullptr);
    bool inside = false;
    if (real && base) {
        inside = PathText::within(real, base);
    }
    std::free(real);
    std::free(base);
    return inside;
}

} // namespace

FileOperationEngine::FileOperationEngine(FileOperationDialogs& dialogs,
                                         FileOperationProgress& progress, Trash& trash)
    : dialogs_(dialogs), progress_(progress), trash_(trash),
      copier_(cancelled_, [this](std::int64_t bytes) {
          status_.bytesDone += static_cast<std::uint64_t>(bytes);
          progress_.update(status_);
      }) {}

bool FileOperationEngine::run(const FileOperationRequest& request) {
    if (request.sources.empty())
        return false;
    cancelled_ = false;
    conflictForAll_.reset();
    cleanedFolders_.clear();
    status_ = {};
    result_ = {};
    result_.allDone =
        request.kind == FileOperationKind::Delete ? deletion_.run(request) : runTransfer(request);
    return result_.allDone;
}

void FileOperationEngine::recordPlaced(const Entry& source, int destDir,
                                       const std::string& destPath, const Target& target) {
    struct stat st {};
    if (fstatat(destDir, target.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        result_.placed.push_back(
            {source.path, PathText::child(destPath, target.name), FileSystem::identityOf(st)});
}

void FileOperationEngine::report(const std::string& path) {
    status_.current = path;
    progress_.update(status_);
}

void FileOperationEngine::reached(Checkpoint checkpoint) {
    if (checkpoint_)
        checkpoint_(checkpoint);
}

std::string FileOperationEngine::temporaryIn(int dir) {
    struct stat st {};
    if (fstat(dir, &st) == 0 && cleanedFolders_.insert({st.st_dev, st.st_ino}).second)
        DirectoryTree::removeStaleTemporaries(dir);
    return DirectoryTree::temporaryName(dir);
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
                        request.destination + "\r" + FailureQuestions::reasonOf(errno));
        return false;
    }
    if (refusedNesting(request))
        return false;
    for (const std::string& source : request.sources) {
        const auto parts = PathText::folderAndName(source);
        FileDescriptor dir(open(parts.first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (dir.valid())
            DirectoryTree::measure(dir.get(), parts.second, status_.itemsTotal, status_.bytesTotal);
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
    const auto parts = PathText::folderAndName(source);
    const std::string& name = parts.second;
    FileDescriptor dir;
    struct stat st {};
    const Step step = questions_.retrying(source, [&] {
        if (name.empty() || name == "." || name == ".." || name == "/")
            return FailureQuestions::kBadName;
        dir = FileDescriptor(open(parts.first.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        if (!dir.valid())
            return errno;
        return fstatat(dir.get(), name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : errno;
    });
    if (step != Step::Done)
        return step;
    topLevel_ = true;
    return transferEntry(Entry{dir.get(), name, source}, st, destDir, destPath, move);
}

FileOperationEngine::Step FileOperationEngine::transferEntry(const Entry& source,
                                                             const struct stat& st, int destDir,
                                                             const std::string& destPath,
                                                             bool move) {
    const bool topLevel = std::exchange(topLevel_, false);
    struct stat from {
    }, into{};
    Step step = questions_.retrying(source.path, [&] {
        return fstat(source.dir, &from) == 0 && fstat(destDir, &into) == 0 ? 0 : errno;
    });
    if (step != Step::Done)
        return step;
    const bool ownFolder = EntryRename::sameEntry(from, into);
    if (ownFolder && move)
        return Step::Done;
    for (bool again = false;; again = true) {
        Target target{ownFolder ? DirectoryTree::freeName(destDir, source.name) : source.name,
                      std::nullopt, false};
        if (!ownFolder &&
            (step = chooseTarget(source, st, destDir, destPath,
                                 again ? Asking::Again : Asking::First, target)) != Step::Done)
            return step;
        step = target.merge ? merge(source, destDir, target.name, destPath, move)
                            : place(source, st, destDir, destPath, target, move);
        if (step == Step::Done && topLevel && !target.merge && !target.replaced)
            recordPlaced(source, destDir, destPath, target);
        if (step != Step::Retarget)
            return step;
    }
}

// Where `source` goes in the folder: its own name, or after a question the name of
// another item, replaced or merged into, or a free name beside it.
FileOperationEngine::Step FileOperationEngine::chooseTarget(const Entry& source,
                                                            const struct stat& st, int destDir,
                                                            const std::string& destPath,
                                                            Asking asking, Target& target) {
    const bool again = asking != Asking::First;
    const bool mayMerge = asking != Asking::AgainAfterCopy;
    target = Target{source.name, std::nullopt, false};
    struct stat old {};
    if (!EntryRename::exists(destDir, source.name, &old))
        return Step::Done;
    const bool folders = S_ISDIR(st.st_mode) && S_ISDIR(old.st_mode);
    const bool replaceable = S_ISDIR(st.st_mode) == S_ISDIR(old.st_mode) && (mayMerge || !folders);
    const ReplaceOffer offer = replaceable ? ReplaceOffer::Offered : ReplaceOffer::KindsDiffer;
    switch (conflictChoice(source.path, PathText::child(destPath, source.name), offer, again)) {
    case ConflictChoice::Skip:
        return Step::Skipped;
    case ConflictChoice::Cancel:
        cancelled_ = true;
        return Step::Cancelled;
    case ConflictChoice::KeepBoth:
        target.name = DirectoryTree::freeName(destDir, source.name);
        return Step::Done;
    case ConflictChoice::Replace:
        if (!replaceable)
            return Step::Skipped; // not offered
        target.merge = folders;
        if (!folders)
            target.replaced = old;
        return Step::Done;
    }
    return Step::Skipped;
}

ConflictChoice FileOperationEngine::conflictChoice(const std::string& source,
                                                   const std::string& target, ReplaceOffer offer,
                                                   bool again) {
    // A replace agreed for all never applies where it is not offered, and after a change
    // under way the user sees the new state.
    if (!again && conflictForAll_ &&
        !(offer == ReplaceOffer::KindsDiffer && *conflictForAll_ == ConflictChoice::Replace))
        return *conflictForAll_;
    const ConflictAnswer answer = dialogs_.askConflict(source, target, offer);
    if (answer.applyToAll)
        conflictForAll_ = answer.choice;
    return answer.choice;
}

FileOperationEngine::Step FileOperationEngine::place(const Entry& source, const struct stat& st,
                                                     int destDir, const std::string& destPath,
                                                     Target& target, bool move) {
    if (move) {
        bool crossDevice = false;
        const Step step = moveByRename(source, destDir, target, crossDevice);
        if (!crossDevice)
            return step;
    }
    return copyThenPlace(source, st, destDir, destPath, target, move);
}

FileOperationEngine::Step FileOperationEngine::merge(const Entry& source, int destDir,
                                                     const std::string& targetName,
                                                     const std::string& destPath, bool move) {
    FileDescriptor from, into;
    std::vector<std::string> names;
    const std::string targetPath = PathText::child(destPath, targetName);
    Step step = questions_.retrying(source.path, [&] {
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
    if (step != Step::Done || !move)
        return step;
    return questions_.retrying(
        source.path,
        [&] { return unlinkat(source.dir, source.name.c_str(), AT_REMOVEDIR) == 0 ? 0 : errno; },
        false);
}

FileOperationEngine::Step FileOperationEngine::forEachChild(
    const Entry& folder, int fromDir, const std::vector<std::string>& names,
    const std::function<Step(const Entry&, const struct stat&)>& act) {
    bool allDone = true;
    for (const std::string& name : names) {
        const Entry child{fromDir, name, PathText::child(folder.path, name)};
        struct stat st {};
        Step step = questions_.retrying(child.path, [&] {
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
                                                            const Target& target,
                                                            bool& crossDevice) {
    std::uint64_t items = 0, bytes = 0;
    DirectoryTree::measure(source.dir, source.name, items, bytes);
    report(source.path);
    reached(Checkpoint::BeforeInstall);
    // A replace is one exchange, so the moved item is under its real name at every moment;
    // the replaced one then lies where the source was, and is removed there.
    bool replacedAtSource = false;
    const Step step = questions_.retrying(source.path, [&] {
        const int error =
            target.replaced ? EntryRename::exchange(source.dir, source.name, destDir, target.name,
                                                    *target.replaced, replacedAtSource)
                            : EntryRename::noReplace(source.dir, source.name, destDir, target.name);
        crossDevice = error == EXDEV;
        return crossDevice ? 0 : error;
    });
    if (step != Step::Done || crossDevice)
        return step;
    status_.itemsDone += items;
    status_.bytesDone += bytes;
    if (!replacedAtSource)
        return step;
    reached(Checkpoint::AfterExchange);
    return removeReplaced(source.dir, source.name, source.path);
}

FileOperationEngine::Step FileOperationEngine::copyThenPlace(const Entry& source,
                                                             const struct stat& st, int destDir,
                                                             const std::string& destPath,
                                                             Target& target, bool move) {
    const std::string temp = temporaryIn(destDir);
    const bool folder = S_ISDIR(st.st_mode);
    // The copy is forced to disk where a crash could otherwise cost the user something:
    // before it takes an existing item's place and before a moved source is removed. A new
    // copy beside its intact source is left to the kernel's writeback, as cp and GLib do.
    const bool durable = move || target.replaced.has_value();
    copier_.startTree(destDir);
    Step step = copyTree(source, st, destDir, temp, temp, durable && !folder);
    const bool whole = step == Step::Done;
    // A folder keeps what was copied of it when the user skipped some of its entries.
    if (step == Step::Skipped && folder && EntryRename::exists(destDir, temp))
        step = Step::Done;
    if (step == Step::Done && durable && folder)
        step = questions_.retrying(source.path, [&] { return syncfs(destDir) == 0 ? 0 : errno; });
    bool installed = false;
    if (step == Step::Done)
        step = installCopy(source, st, destDir, destPath, temp, target, installed);
    if (!installed) {
        DirectoryTree::remove(destDir, temp);
        return step;
    }
    const Step placed = whole ? step : Step::Skipped;
    if (!move || step == Step::Cancelled)
        return placed;
    // The rename into place reaches the disk before the source can go.
    const std::string targetPath = PathText::child(destPath, target.name);
    step = questions_.retrying(
        targetPath, [&] { return fsync(destDir) == 0 ? 0 : errno; }, false);
    if (step != Step::Done)
        return step;
    reached(Checkpoint::BeforeSourceRemoval);
    step = removeMovedSource(source, whole);
    return step == Step::Done ? placed : step;
}

// Renames the complete copy `temp` into place, asking again where the target changed
// since the question; `installed` once it is there.
FileOperationEngine::Step FileOperationEngine::installCopy(const Entry& source,
                                                           const struct stat& st, int destDir,
                                                           const std::string& destPath,
                                                           const std::string& temp, Target& target,
                                                           bool& installed) {
    for (;;) {
        reached(Checkpoint::BeforeInstall);
        bool replacedAtTemp = false;
        Step step = questions_.retrying(PathText::child(destPath, target.name), [&] {
            return target.replaced ? EntryRename::exchange(destDir, temp, destDir, target.name,
                                                           *target.replaced, replacedAtTemp)
                                   : EntryRename::noReplace(destDir, temp, destDir, target.name);
        });
        if (step == Step::Retarget &&
            (step = chooseTarget(source, st, destDir, destPath, Asking::AgainAfterCopy, target)) ==
                Step::Done)
            continue;
        if (step != Step::Done)
            return step;
        installed = true;
        if (!replacedAtTemp)
            return step;
        reached(Checkpoint::AfterExchange);
        return removeReplaced(destDir, temp, PathText::child(destPath, temp));
    }
}

// The item a replace put aside is removed; where that fails it is reported, never put
// back: its successor is in place.
FileOperationEngine::Step FileOperationEngine::removeReplaced(int dir, const std::string& name,
                                                              const std::string& path) {
    for (;;) {
        const int error = DirectoryTree::remove(dir, name);
        if (error == 0)
            return Step::Done;
        if (auto step = questions_.afterFailure(
                path, FailureQuestions::reasonOf(FailureQuestions::kReplacedNotRemoved) + "\r" +
                          FailureQuestions::reasonOf(error)))
            return *step;
    }
}

FileOperationEngine::Step FileOperationEngine::removeMovedSource(const Entry& source,
                                                                 bool copiedWhole) {
    bool kept = false;
    const Step step = questions_.retrying(
        source.path,
        [&] {
            kept = false;
            return copier_.snapshots().removeUnchanged(source.dir, source.name, kept);
        },
        false);
    if (step != Step::Done || !kept)
        return step;
    // What the user skipped stays without a word; what changed under way is reported.
    if (copiedWhole &&
        questions_.afterFailure(source.path,
                                FailureQuestions::reasonOf(FailureQuestions::kSourceChanged)) ==
            Step::Cancelled)
        return Step::Cancelled;
    return Step::Skipped;
}

FileOperationEngine::Step FileOperationEngine::copyTree(const Entry& source, const struct stat& st,
                                                        int destDir, const std::string& destName,
                                                        const std::string& destRelative,
                                                        bool sync) {
    report(source.path);
    if (S_ISDIR(st.st_mode))
        return copyFolder(source, st, destDir, destName, destRelative);
    const std::uint64_t bytesBefore = status_.bytesDone;
    const Step step = questions_.retrying(source.path, [&] {
        status_.bytesDone = bytesBefore;
        return copier_.copy(source.dir, source.name, st, destDir, destName, destRelative, sync);
    });
    if (step == Step::Done)
        ++status_.itemsDone;
    else
        status_.bytesDone = bytesBefore;
    return step;
}

FileOperationEngine::Step FileOperationEngine::copyFolder(const Entry& source,
                                                          const struct stat& st, int destDir,
                                                          const std::string& destName,
                                                          const std::string& destRelative) {
    FileDescriptor from, into;
    std::vector<std::string> names;
    Step step = questions_.retrying(source.path, [&] {
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
            return copyTree(child, st, into.get(), child.name, destRelative + "/" + child.name,
                            false);
        });
    if (children == Step::Cancelled)
        return children;
    step = questions_.retrying(source.path,
                               [&] { return FileMetadata::copy(from.get(), st, into.get()); });
    return children == Step::Done ? step : (step == Step::Cancelled ? step : Step::Skipped);
}
