#include "platform/process/ThreadedWork.h"

#include "platform/UiLoop.h"

#include <condition_variable>
#include <cstdio>
#include <exception>
#include <map>
#include <mutex>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>

// What the window's thread and the workers share; the last of them closes the descriptor.
struct ThreadedWork::Shared {
    std::mutex mutex;
    std::condition_variable finished;
    std::map<Ticket, Step> steps; // of jobs done, not yet run
    bool closed = false;
    int descriptor = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

    ~Shared() {
        if (descriptor >= 0)
            close(descriptor);
    }
    void deliver(Ticket ticket, Step step) {
        {
            std::lock_guard lock(mutex);
            if (closed)
                return;
            steps.emplace(ticket, std::move(step));
        }
        finished.notify_all();
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(descriptor, &one, sizeof one);
    }
};

ThreadedWork::ThreadedWork(UiLoop& loop) : shared_(std::make_shared<Shared>()) {
    if (shared_->descriptor >= 0)
        watch_ = loop.watchReadable(shared_->descriptor, [this] { runFinished(); });
}

ThreadedWork::~ThreadedWork() {
    watch_.reset();
    std::map<Ticket, Step> dropped;
    {
        std::lock_guard lock(shared_->mutex);
        shared_->closed = true;
        dropped.swap(shared_->steps);
    }
}

BackgroundWork::Ticket ThreadedWork::start(Job job) {
    const Ticket ticket = ++last_;
    if (!watch_) {
        runStep(job());
        return ticket;
    }
    std::thread([shared = shared_, ticket, job = std::move(job)] {
        Step step;
        try {
            step = job();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "tavrin: background job failed: %s\n", e.what());
        }
        shared->deliver(ticket, step ? std::move(step) : Step([] {}));
    }).detach();
    return ticket;
}

bool ThreadedWork::finishWithin(Ticket ticket, std::chrono::milliseconds budget) {
    if (!watch_)
        return true;
    Step step;
    {
        std::unique_lock lock(shared_->mutex);
        if (!shared_->finished.wait_for(lock, budget,
                                        [&] { return shared_->steps.count(ticket) != 0; }))
            return false;
        auto found = shared_->steps.find(ticket);
        step = std::move(found->second);
        shared_->steps.erase(found);
    }
    runStep(step);
    return true;
}

void ThreadedWork::runFinished() {
    std::uint64_t count = 0;
    [[maybe_unused]] const ssize_t read = ::read(shared_->descriptor, &count, sizeof count);
    std::map<Ticket, Step> steps;
    {
        std::lock_guard lock(shared_->mutex);
        steps.swap(shared_->steps);
    }
    for (auto& [ticket, step] : steps)
        runStep(step);
}

// A step's failure ends that step only: nothing reaches the event loop.
void ThreadedWork::runStep(const Step& step) {
    try {
        if (step)
            step();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tavrin: applying a background result failed: %s\n", e.what());
    }
}
