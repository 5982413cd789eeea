#include "platform/process/BoundedCall.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

struct CallState {
    std::mutex mutex;
    std::condition_variable finished;
    std::optional<int> value;
    bool done = false;

    bool waitFor(int ms) {
        std::unique_lock lock(mutex);
        return finished.wait_for(lock, std::chrono::milliseconds(ms), [this] { return done; });
    }
};

} // namespace

BoundedCall::Outcome BoundedCall::run(std::function<int()> work, int timeoutMs,
                                      const std::function<void()>& onTimeout, int graceMs) {
    auto state = std::make_shared<CallState>();
    std::thread thread([state, work = std::move(work)] {
        std::optional<int> value;
        try {
            value = work();
        } catch (...) {
        }
        std::lock_guard lock(state->mutex);
        state->value = value;
        state->done = true;
        state->finished.notify_all();
    });
    if (state->waitFor(timeoutMs)) {
        thread.join();
        return Outcome{state->value, false};
    }
    if (onTimeout)
        onTimeout();
    if (state->waitFor(graceMs)) {
        thread.join();
        return Outcome{std::nullopt, false};
    }
    thread.detach();
    return Outcome{std::nullopt, true};
}
