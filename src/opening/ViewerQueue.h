#pragma once

#include "platform/BackgroundWork.h"

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <utility>

class Timer;

// The requests for the kept viewers, taken one at a time. A request is a chain: calls to
// the viewers made away from the window's thread (a start takes up to 30 s, an open up to
// 15 s), each followed by a step on the window's thread that places windows, asks the user
// or makes the next calls. The calls of one request run at a time, so each viewer is used
// by one thread at a time; a request waiting for its turn gives way to a newer one of the
// same kind.
// Threads: every member on the window's thread.
class ViewerQueue {
  public:
    using Begin = std::function<void()>;
    using Calls = std::function<void()>;
    using Step = std::function<void()>;

    // A step that finds the window busy looks again this often.
    static constexpr int kRetryMs = 100;
    // The longest chain of viewer calls between two steps: a start (30 s) after a look at
    // the old viewer and its document (5 s each), with room to spare.
    static constexpr std::chrono::seconds kLongestCalls{60};

    // Without work of its own (no event loop), calls are made on the spot.
    ViewerQueue(std::unique_ptr<BackgroundWork> work, std::unique_ptr<Timer> retry);
    // Waits for the calls under way, which use the viewers.
    ~ViewerQueue();
    ViewerQueue(const ViewerQueue&) = delete;
    ViewerQueue& operator=(const ViewerQueue&) = delete;

    // While `held` answers true (a handler uses what the steps change), a step waits.
    void holdWhile(std::function<bool()> held) { held_ = std::move(held); }
    // Begins the request now, or when the one before it ended.
    void submit(int kind, Begin begin);
    // Inside a request: makes `calls` away from the window's thread, then `then` on it.
    void call(Calls calls, Step then);
    // Inside a request: it ended, and the next one waiting begins.
    void done();
    // Whether a request runs: the viewers are its own until it ends.
    bool busy() const { return running_; }
    // Before the viewers are used elsewhere (the program ends): the waiting requests are
    // dropped, the running one's calls are waited for at most `budget` and the rest of it
    // is dropped. False when its calls still run.
    bool settle(std::chrono::milliseconds budget);

  private:
    void arrive(Step then);
    void runHeld();

    std::unique_ptr<BackgroundWork> work_;
    std::unique_ptr<Timer> retry_;
    std::function<bool()> held_;
    std::deque<std::pair<int, Begin>> waiting_;
    Step heldStep_;
    BackgroundWork::Ticket ticket_ = 0;
    bool running_ = false;
    bool inFlight_ = false;
    bool calling_ = false; // inside call(): work done on the spot steps at once
    bool closing_ = false;
};
