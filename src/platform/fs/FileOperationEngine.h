#pragma once

#include "platform/FileOperationDialogs.h"
#include "platform/FileOperationProgress.h"
#include "platform/FileOperationService.h"
#include "platform/fs/EntryCopier.h"
#include "platform/fs/FailureQuestions.h"
#include "platform/fs/TrashDeletion.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

class Trash;

// The file work of copy, move and delete over POSIX calls, run on the calling thread
// (the worker of the service), which it blocks for as long as the disks take. At every
// moment each item the user has is whole under its real name, in the source or the target:
// - a copy is built under a temporary name in the target folder and renamed into place
//   when complete (RENAME_NOREPLACE: nothing that appeared meanwhile is overwritten);
// - a replaced item is exchanged with its successor in one rename, checked to be the very
//   item the user agreed to replace (else put back and asked about again), and only then
//   removed; a file never replaces a folder, nor a folder a file;
// - a move renames within a file system; across file systems it copies, forces the copy
//   and its folder to disk, and then removes only the source entries that did not change
//   since they were read;
// - the copy keeps what `cp -a` keeps (EntryCopier); symbolic links are never followed;
// - the work in progress that an ended run left in a folder is removed before working there.
class FileOperationEngine {
  public:
    // Moments at which a test can make a race or a fault happen.
    enum class Checkpoint { BeforeInstall, AfterExchange, BeforeSourceRemoval };

    FileOperationEngine(FileOperationDialogs& dialogs, FileOperationProgress& progress,
                        Trash& trash);

    // True only when everything asked was done.
    bool run(const FileOperationRequest& request);
    // What the last run placed or trashed (allDone as run returned).
    const FileOperationResult& result() const { return result_; }
    // Asks the running operation to stop at the next safe point; any thread.
    void cancel() { cancelled_ = true; }
    void setCheckpointHook(std::function<void(Checkpoint)> hook) { checkpoint_ = std::move(hook); }

  private:
    using Step = FileStep;
    // An entry named relative to an open folder, with its path for the questions.
    struct Entry {
        int dir;
        std::string name;
        std::string path;
    };
    // Where an entry goes: a name in the target folder, and the item it replaces there.
    struct Target {
        std::string name;
        std::optional<struct stat> replaced;
        bool merge = false;
    };

    bool runTransfer(const FileOperationRequest& request);
    bool refusedNesting(const FileOperationRequest& request);
    Step transferSource(const std::string& source, int destDir, const std::string& destPath,
                        bool move);
    Step transferEntry(const Entry& source, const struct stat& st, int destDir,
                       const std::string& destPath, bool move);
    // When the target of an entry is asked for: before the transfer, again after the target
    // changed under way, or again once a folder's copy is complete (no merge any more).
    enum class Asking { First, Again, AgainAfterCopy };
    Step chooseTarget(const Entry& source, const struct stat& st, int destDir,
                      const std::string& destPath, Asking asking, Target& target);
    ConflictChoice conflictChoice(const std::string& source, const std::string& target,
                                  ReplaceOffer offer, bool again);
    Step place(const Entry& source, const struct stat& st, int destDir, const std::string& destPath,
               Target& target, bool move);
    Step merge(const Entry& source, int destDir, const std::string& targetName,
               const std::string& destPath, bool move);
    // Renames within the file system; `crossDevice` when it cannot.
    Step moveByRename(const Entry& source, int destDir, const Target& target, bool& crossDevice);
    Step copyThenPlace(const Entry& source, const struct stat& st, int destDir,
                       const std::string& destPath, Target& target, bool move);
    Step installCopy(const Entry& source, const struct stat& st, int destDir,
                     const std::string& destPath, const std::string& temp, Target& target,
                     bool& installed);
    Step removeReplaced(int dir, const std::string& name, const std::string& path);
    Step removeMovedSource(const Entry& source, bool copiedWhole);
    Step copyTree(const Entry& source, const struct stat& st, int destDir,
                  const std::string& destName, const std::string& destRelative, bool sync);
    Step copyFolder(const Entry& source, const struct stat& st, int destDir,
                    const std::string& destName, const std::string& destRelative);
    // Runs `act` on every entry `names` lists of the folder open as `fromDir`: Done when
    // it did each, Skipped when some were left, Cancelled at once on a cancel.
    Step forEachChild(const Entry& folder, int fromDir, const std::vector<std::string>& names,
                      const std::function<Step(const Entry&, const struct stat&)>& act);
    // A temporary name in the folder, once the work an ended run left there is removed.
    std::string temporaryIn(int dir);

    // Lists a top-level item put in place whole at a free name.
    void recordPlaced(const Entry& source, int destDir, const std::string& destPath,
                      const Target& target);
    void report(const std::string& path);
    void reached(Checkpoint checkpoint);

    FileOperationDialogs& dialogs_;
    FileOperationProgress& progress_;
    Trash& trash_;
    std::atomic<bool> cancelled_{false};
    std::optional<ConflictChoice> conflictForAll_;
    FileOperationStatus status_;
    FileOperationResult result_;
    // Set for the top-level item about to be transferred; its nested entries see it clear.
    bool topLevel_ = false;
    FailureQuestions questions_{dialogs_, cancelled_};
    TrashDeletion deletion_{dialogs_,  trash_,  questions_,     cancelled_,
                            progress_, status_, result_.trashed};
    EntryCopier copier_;
    std::set<std::pair<dev_t, ino_t>> cleanedFolders_;
    std::function<void(Checkpoint)> checkpoint_;
};
