#pragma once

#include "platform/FileOperationDialogs.h"
#include "platform/FileOperationProgress.h"
#include "platform/FileOperationService.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

class Trash;

// The file work of copy, move and delete over POSIX calls, run on the calling thread
// (the worker of the service). Nothing is ever half done under a real name:
// - a copy is built under a temporary name in the target folder and renamed into place
//   when complete; a replaced entry is removed only once its successor is in place;
// - a move renames within a file system; across file systems it copies, checks that the
//   copy has the source's shape, and only then removes the source, so a cancel or error
//   leaves each source untouched or completely at the target;
// - symbolic links are copied as links and never followed; FIFOs, sockets and devices
//   are reported, not read; permissions and modification times are kept.
class FileOperationEngine {
  public:
    FileOperationEngine(FileOperationDialogs& dialogs, FileOperationProgress& progress,
                        Trash& trash);

    // True only when everything asked was done.
    bool run(const FileOperationRequest& request);
    // Asks the running operation to stop at the next safe point; any thread.
    void cancel() { cancelled_ = true; }

  private:
    enum class Step { Done, Skipped, Cancelled };
    // An entry named relative to an open folder, with its path for the questions.
    struct Entry {
        int dir;
        std::string name;
        std::string path;
    };

    bool runDelete(const FileOperationRequest& request);
    Step deleteOne(const std::string& path);
    bool runTransfer(const FileOperationRequest& request);
    bool refusedNesting(const FileOperationRequest& request);
    Step transferSource(const std::string& source, int destDir, const std::string& destPath,
                        bool move);
    Step transferEntry(const Entry& source, const struct stat& st, int destDir,
                       const std::string& destPath, bool move);
    std::optional<ConflictChoice> conflictChoice(const std::string& source,
                                                 const std::string& target);
    Step merge(const Entry& source, int destDir, const std::string& targetName,
               const std::string& destPath, bool move);
    // Renames within the file system; `crossDevice` when it cannot.
    Step moveByRename(const Entry& source, int destDir, const std::string& target, bool replace,
                      bool& crossDevice);
    Step copyThenPlace(const Entry& source, const struct stat& st, int destDir,
                       const std::string& target, const std::string& targetPath, bool replace,
                       bool move);
    Step removeMovedSource(const Entry& source, int destDir, const std::string& target);
    Step copyTree(const Entry& source, const struct stat& st, int destDir,
                  const std::string& destName, bool sync);
    Step copyFolder(const Entry& source, const struct stat& st, int destDir,
                    const std::string& destName);
    // Runs `act` on every entry `names` lists of the folder open as `fromDir`: Done when
    // it did each, Skipped when some were left, Cancelled at once on a cancel.
    Step forEachChild(const Entry& folder, int fromDir, const std::vector<std::string>& names,
                      const std::function<Step(const Entry&, const struct stat&)>& act);
    int copyFile(const Entry& source, int destDir, const std::string& destName, bool sync);
    int copyLink(const Entry& source, const struct stat& st, int destDir,
                 const std::string& destName);
    int copyData(int in, int out);

    // Runs `attempt` (0 or an errno) until it succeeds, asking what to do after each
    // failure; `cancellable` false for work that must be finished once begun.
    template <typename Attempt>
    Step retrying(const std::string& path, Attempt&& attempt, bool cancellable = true);
    void report(const std::string& path);

    FileOperationDialogs& dialogs_;
    FileOperationProgress& progress_;
    Trash& trash_;
    std::atomic<bool> cancelled_{false};
    std::optional<ConflictChoice> conflictForAll_;
    FileOperationStatus status_;
    std::vector<char> buffer_;
};
