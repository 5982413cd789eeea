#include "opening/ViewerQueue.h"

#include "platform/InlineWork.h"
#include "platform/ScopedFlag.h"
#include "platform/Timer.h"

#include <algorithm>

ViewerQueue::ViewerQueue(std::unique_ptr<BackgroundWork> work, std::unique_ptr<Timer> retry)
    : work_(work ? std::move(work) : std::make_unique<InlineWork>()), retry_(std::move(retry)) {}

ViewerQueue::~ViewerQueue() {
    settle(kLongestCalls);
}

void ViewerQueue::submit(int kind, Begin begin) {
    if (closing_)
        return;
    if (!running_) {
        running_ = true;
        begin();
        return;
    }
    const auto same = std::find_if(waiting_.begin(), waiting_.end(),
                                   [kind](const auto& request) { return request.first == kind; });
    if (same != waiting_.end())
        same->second = std::move(begin);
    else
        waiting_.emplace_back(kind, std::move(begin));
}

void ViewerQueue::call(Calls calls, Step then) {
    if (closing_) {
        running_ = false;
        return;
    }
    inFlight_ = true;
    ScopedFlag calling(calling_);
    ticket_ = work_->start(
        [this, calls = std::move(calls), then = std::move(then)]() mutable -> BackgroundWork::Step {
            calls();
            // Only the step, on the window's thread, looks at this queue.
            return [this, then = std::move(then)] { arrive(then); };
        });
}

void ViewerQueue::done() {
    running_ = false;
    if (closing_ || waiting_.empty())
        return;
    Begin next = std::move(waiting_.front().second);
    waiting_.pop_front();
    running_ = true;
    next();
}

void ViewerQueue::arrive(Step then) {
    inFlight_ = false;
    if (closing_) {
        running_ = false;
        return;
    }
    // A step of calls made on the spot belongs to the handler that made them.
    if (!calling_ && held_ && held_() && retry_) {
        heldStep_ = std::move(then);
        retry_->start(kRetryMs, [this] { runHeld(); });
        return;
    }
    then();
}

void ViewerQueue::runHeld() {
    if (held_ && held_())
        return;
    retry_->stop();
    Step step = std::move(heldStep_);
    heldStep_ = nullptr;
    if (step)
        step();
}

bool ViewerQueue::settle(std::chrono::milliseconds budget) {
    ScopedFlag closing(closing_);
    waiting_.clear();
    heldStep_ = nullptr;
    if (retry_)
        retry_->stop();
    if (inFlight_ && !work_->finishWithin(ticket_, budget))
        return false;
    running_ = false;
    return true;
}
