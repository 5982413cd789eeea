#pragma once

#include <string>
#include <vector>

// Records what the process forces to disk: the test executable puts its own fsync and
// syncfs in front of the C library's, which log the flushed path and then do the real
// call. A test can so see that a promised flush really happens, and in which order.
class SyncLog {
  public:
    // Starts a fresh log; flushes before are forgotten.
    static void start();
    // The paths flushed since start(): "fsync <path>" or "syncfs <path>".
    static std::vector<std::string> entries();
    static bool contains(const std::string& entry);
};
