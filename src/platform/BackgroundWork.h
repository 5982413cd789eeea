#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

// Work done away from the window's thread, with its result brought back to it.
// Threads: start, finishWithin and the destructor on the window's thread. A job runs on a
// worker thread and may touch nothing the window's thread uses; the step it returns runs
// on the window's thread. A job may block for ever (a file system that never answers): it
// never holds the window's thread beyond a budget, nor the end of the program.
class BackgroundWork {
  public:
    using Step = std::function<void()>;
    using Job = std::function<Step()>;
    using Ticket = std::uint64_t;

    virtual ~BackgroundWork() = default;
    // Starts the job. Its step runs once the job is done: inside finishWithin when that
    // waits for it, else from the event loop, in the order the jobs ended.
    virtual Ticket start(Job job) = 0;
    // Waits at most `budget` for the job started last with `ticket`, before control went
    // back to the event loop; true when its step has run.
    virtual bool finishWithin(Ticket ticket, std::chrono::milliseconds budget) = 0;
};
