#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

// A program started by this one and owned by it: it is reaped when it ends (no zombie),
// and killed and reaped when the owner lets it go while it still runs.
class SpawnedProgram {
  public:
    // Starts argv[0] (looked up on PATH when it has no "/") with standard input and output
    // on /dev/null and `inherited[i]` placed at descriptor 3 + i; no other descriptor of
    // this program reaches it. Nothing when it could not be executed.
    static std::unique_ptr<SpawnedProgram> start(const std::vector<std::string>& argv,
                                                 const std::vector<int>& inherited);
    ~SpawnedProgram();
    SpawnedProgram(const SpawnedProgram&) = delete;
    SpawnedProgram& operator=(const SpawnedProgram&) = delete;

    pid_t pid() const { return pid_; }
    // Whether it still runs; collects its exit status once it has ended.
    bool running();
    // Waits at most `timeout` for it to end by itself; true when it has ended.
    bool waitForExit(std::chrono::milliseconds timeout);
    // Ends it at once (SIGKILL) and collects its exit status.
    void kill();

  private:
    explicit SpawnedProgram(pid_t pid) : pid_(pid) {}

    pid_t pid_;
    bool ended_ = false;
};
