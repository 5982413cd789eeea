#pragma once

#include "browser/FolderSnapshot.h"
#include "platform/Timer.h"

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class BackgroundWork;
class FolderSnapshots;
class HiddenEntries;

// Reads folders away from the window's thread and applies each result on it, with the
// folder's snapshot answering every look at the folder meanwhile. A read that ends within
// its budget is applied at once, as if it had been made on the spot; a later one when it
// ends, each request only if it is still wanted then. One read of a folder runs at a
// time; requests for a folder being read wait for it, and a request replaces a waiting one
// of the same purpose.
// Threads: the window's thread only.
class FolderReads {
  public:
    using Depth = FolderSnapshot::Depth;
    using Apply = std::function<void()>;
    using Wanted = std::function<bool()>;
    enum class Purpose {
        Root,
        TreeLoad,
        OpenPath,
        TreeRefresh,
        TreeFollow,
        ExpandButton,
        ListFill,
        ListRefresh,
        Exists,
    };
    // What the window waits for a read before it shows that the folder is being read.
    static constexpr std::chrono::milliseconds kBudget{30};
    // A read taking longer than this marks its folder as not answering.
    static constexpr std::chrono::seconds kNotAnsweringAfter{3};
    // A result held while a handler is busy is looked at again this often.
    static constexpr int kRetryMs = 50;

    // A peek looks for subfolders and files as `hidden` shows them at its start.
    FolderReads(BackgroundWork& work, FolderSnapshots& snapshots,
                const HiddenEntries* hidden = nullptr)
        : work_(work), snapshots_(snapshots), hidden_(hidden) {}

    enum class Outcome { Applied, Pending };
    // Runs `apply` with the folder's snapshot served: now when the read ends within the
    // budget (or the folder is being served already), else when the read ends, if
    // `wanted` says so then.
    Outcome whenRead(const std::string& folder, Depth depth, Purpose purpose, Apply apply,
                     Wanted wanted, std::chrono::milliseconds budget = kBudget);
    bool reading(std::string_view folder) const {
        return pending_.count(std::string(folder)) || waiting_.count(std::string(folder));
    }
    // False while a handler of the window is in the middle of something (a menu, a file
    // operation, a fill): a result that ends then waits for `applyWaiting`, so that nothing a
    // handler still uses changes under it.
    std::function<bool()> mayApply;
    void applyWaiting();
    // Looks at held results with `retry` as soon as the handler is done, not only when
    // applyWaiting is called (the browser's tick); without one, they wait for the tick.
    void setRetryTimer(std::unique_ptr<Timer> retry) { retry_ = std::move(retry); }
    // No read running, none waiting to be applied.
    bool idle() const { return pending_.empty() && waiting_.empty(); }
    // Whether the folder is there, if the disk answers within the budget.
    std::optional<bool> folderExistsWithin(const std::string& folder,
                                           std::chrono::milliseconds budget = kBudget);

    // Told when a read has been running for kNotAnsweringAfter, and when it ends after
    // that. Looked at by `lookForSlowReads`, which the browser's tick calls.
    std::function<void(const std::string& folder)> notAnswering;
    std::function<void(const std::string& folder)> answeredAgain;
    void
    lookForSlowReads(std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());

  private:
    struct Request {
        Purpose purpose;
        Apply apply;
        Wanted wanted;
    };
    struct Pending {
        Depth depth;
        std::vector<Request> requests;
        std::chrono::steady_clock::time_point started;
        bool toldSlow = false;
        // Ended after its request returned: each request is applied only if still wanted.
        bool late = false;
    };
    void finished(const std::string& folder, std::shared_ptr<const FolderSnapshot> snapshot);
    void apply(const std::string& folder, Pending done,
               std::shared_ptr<const FolderSnapshot> snapshot);
    struct Waiting {
        Pending done;
        std::shared_ptr<const FolderSnapshot> snapshot;
    };
    bool served(const std::string& folder, Depth depth) const;
    void startRead(const std::string& folder, Depth depth, bool sorted,
                   std::chrono::milliseconds budget);

    BackgroundWork& work_;
    FolderSnapshots& snapshots_;
    const HiddenEntries* hidden_;
    std::map<std::string, Pending> pending_;
    std::map<std::string, Waiting> waiting_; // read, not yet applied
    std::unique_ptr<Timer> retry_;
};
