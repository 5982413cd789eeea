#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program started by a test with its own argument vector and extra environment;
// killed at the end of the test if it is still running.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv,
                 const std::string& stdoutFile = "/dev/null");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    void signal(int sig) const;
    // Exit status, or nullopt when it did not end within the time.
    std::optional<int> wait(int timeoutMs);

  private:
    pid_t pid_ = -1;
    std::optional<int> status_;
};
