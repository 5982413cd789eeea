#include "browser/FolderReads.h"

#include "browser/FolderSnapshots.h"
#include "browser/HiddenEntries.h"
#include "platform/BackgroundWork.h"
#include "platform/process/HeapPolicy.h"

#include <algorithm>
#include <memory>

bool FolderReads::served(const std::string& folder, Depth depth) const {
    return depth == Depth::Peek ? snapshots_.find(folder) != nullptr
                                : snapshots_.findFull(folder) != nullptr;
}

FolderReads::Outcome FolderReads::whenRead(const std::string& folder, Depth depth, Purpose purpose,
                                           Apply apply, Wanted wanted,
                                           std::chrono::milliseconds budget) {
    if (served(folder, depth)) {
        apply();
        return Outcome::Applied;
    }
    Request request{purpose, std::move(apply), std::move(wanted)};
    Pending* queued = nullptr;
    if (auto it = pending_.find(folder); it != pending_.end())
        queued = &it->second;
    else if (auto ready = waiting_.find(folder); ready != waiting_.end() && depth == Depth::Peek)
        queued = &ready->second.done;
    if (queued) {
        Pending& waiting = *queued;
        if (depth == Depth::Full)
            waiting.depth = Depth::Full;
        auto same = std::find_if(waiting.requests.begin(), waiting.requests.end(),
                                 [&](const Request& r) { return r.purpose == purpose; });
        if (same != waiting.requests.end())
            *same = std::move(request);
        else
            waiting.requests.push_back(std::move(request));
        return Outcome::Pending;
    }
    pending_[folder] = Pending{depth, {}, std::chrono::steady_clock::now(), false};
    pending_[folder].requests.push_back(std::move(request));
    startRead(folder, depth, purpose != Purpose::ListRefresh, budget);
    const auto it = pending_.find(folder);
    if (it == pending_.end())
        return Outcome::Applied;
    it->second.late = true;
    return Outcome::Pending;
}

void FolderReads::startRead(const std::string& folder, Depth depth, bool sorted,
                            std::chrono::milliseconds budget) {
    const FileSystem::NameTest skip = hidden_ ? hidden_->skipped() : nullptr;
    const BackgroundWork::Ticket ticket = work_.start([this, folder, depth, sorted, skip] {
        auto snapshot = std::make_shared<const FolderSnapshot>(
            FolderSnapshot::read(folder, depth, sorted, skip));
        // The step hands its snapshot on, so that it is gone once applied.
        return [this, folder, snapshot]() mutable { finished(folder, std::move(snapshot)); };
    });
    work_.finishWithin(ticket, budget);
}

void FolderReads::finished(const std::string& folder,
                           std::shared_ptr<const FolderSnapshot> snapshot) {
    auto it = pending_.find(folder);
    if (it == pending_.end())
        return;
    if (it->second.depth == Depth::Full && snapshot->depth == Depth::Peek) {
        // A full read was asked for while a peek ran: the folder is read again.
        startRead(folder, Depth::Full, true, std::chrono::milliseconds(0));
        return;
    }
    Pending done = std::move(it->second);
    pending_.erase(it);
    if (done.late && mayApply && !mayApply()) {
        waiting_[folder] = Waiting{std::move(done), std::move(snapshot)};
        if (retry_ && !retry_->running())
            retry_->start(kRetryMs, [this] { applyWaiting(); });
        return;
    }
    apply(folder, std::move(done), std::move(snapshot));
}

void FolderReads::apply(const std::string& folder, Pending done,
                        std::shared_ptr<const FolderSnapshot> snapshot) {
    if (done.toldSlow && answeredAgain)
        answeredAgain(folder);
    const std::size_t entries = snapshot->listing.folders.size() + snapshot->listing.files.size();
    {
        FolderSnapshots::Scope scope(snapshots_, std::move(snapshot));
        for (Request& request : done.requests)
            if (!done.late || !request.wanted || request.wanted())
                request.apply();
    }
    // The records of a large folder are gone now; the memory they held goes back too.
    if (entries >= HeapPolicy::kLargeList)
        HeapPolicy::giveBackFreed();
}

void FolderReads::applyWaiting() {
    while (!waiting_.empty() && (!mayApply || mayApply())) {
        auto first = waiting_.begin();
        const std::string folder = first->first;
        Waiting ready = std::move(first->second);
        waiting_.erase(first);
        apply(folder, std::move(ready.done), std::move(ready.snapshot));
    }
    if (waiting_.empty() && retry_)
        retry_->stop();
}

std::optional<bool> FolderReads::folderExistsWithin(const std::string& folder,
                                                    std::chrono::milliseconds budget) {
    auto answer = std::make_shared<std::optional<bool>>();
    auto asking = std::make_shared<bool>(true);
    whenRead(
        folder, Depth::Peek, Purpose::Exists,
        [this, folder, answer] {
            const FolderSnapshot* s = snapshots_.find(folder);
            *answer = s && s->record.has_value();
        },
        [asking] { return *asking; }, budget);
    *asking = false;
    return *answer;
}

void FolderReads::lookForSlowReads(std::chrono::steady_clock::time_point now) {
    std::vector<std::string> slow;
    for (auto& [folder, waiting] : pending_) {
        if (waiting.toldSlow || now - waiting.started < kNotAnsweringAfter)
            continue;
        waiting.toldSlow = true;
        slow.push_back(folder);
    }
    // Told after the look: whoever is told may ask for reads.
    for (const std::string& folder : slow)
        if (notAnswering)
            notAnswering(folder);
}
