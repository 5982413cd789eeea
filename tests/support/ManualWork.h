#pragma once

#include "platform/BackgroundWork.h"

#include <vector>

// Background work that ends only when the test says so, as a file system that is slow to
// answer: no job ends within a budget, and each runs with its step when the test ends it,
// as the event loop would run the step.
class ManualWork : public BackgroundWork {
  public:
    Ticket start(Job job) override {
        jobs.push_back(std::move(job));
        return ++last_;
    }
    bool finishWithin(Ticket, std::chrono::milliseconds) override { return false; }
    // Ends the job started at `index` (0: the oldest still running).
    void finish(std::size_t index = 0) {
        Job job = std::move(jobs.at(index));
        jobs.erase(jobs.begin() + static_cast<std::ptrdiff_t>(index));
        if (Step step = job())
            step();
    }
    void finishAll() {
        while (!jobs.empty())
            finish();
    }

    std::vector<Job> jobs;

  private:
    Ticket last_ = 0;
};
