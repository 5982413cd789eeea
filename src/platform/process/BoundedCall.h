#pragma once

#include <functional>
#include <optional>

// Runs a call that may hang (a request to another process) on a thread of its own and
// waits for it a bounded time only. The call must own everything it uses (capture by
// value): when it is abandoned, it may still finish later.
class BoundedCall {
  public:
    struct Outcome {
        std::optional<int> value; // nothing when the call did not finish in time
        bool abandoned = false;   // still running even after onTimeout and a grace period
    };

    // When `work` has not finished within timeoutMs, `onTimeout` runs (it should make the
    // call fail, e.g. by ending the other process) and the call gets graceMs more to
    // return before it is abandoned.
    static Outcome run(std::function<int()> work, int timeoutMs,
                       const std::function<void()>& onTimeout, int graceMs = 3000);
};
