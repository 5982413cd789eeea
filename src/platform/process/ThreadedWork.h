#pragma once

#include "platform/BackgroundWork.h"

#include <memory>

class ReadableWatch;
class UiLoop;

// Background work on threads of its own: each job on a detached thread, its step handed
// back through an event descriptor that the window's loop watches. Where the loop cannot
// watch descriptors, jobs run on the spot.
class ThreadedWork final : public BackgroundWork {
  public:
    explicit ThreadedWork(UiLoop& loop);
    // Steps of jobs still running are dropped; their threads are left to end on their own,
    // so a job blocked on a file system that never answers does not hold the exit.
    ~ThreadedWork() override;
    ThreadedWork(const ThreadedWork&) = delete;
    ThreadedWork& operator=(const ThreadedWork&) = delete;

    Ticket start(Job job) override;
    bool finishWithin(Ticket ticket, std::chrono::milliseconds budget) override;

  private:
    struct Shared;
    void runFinished();
    static void runStep(const Step& step);

    std::shared_ptr<Shared> shared_;
    std::unique_ptr<ReadableWatch> watch_;
    Ticket last_ = 0;
};
