#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// The office program of one viewer: started in a session of its own (so it outlives
// this program when asked to), watched and reaped by its parent, ended on request.
class OfficeProcess {
  public:
    OfficeProcess() = default;
    ~OfficeProcess() = default; // the office lives on when the program ends
    OfficeProcess(const OfficeProcess&) = delete;
    OfficeProcess& operator=(const OfficeProcess&) = delete;

    // Starts argv[0] (a full path) with the extra environment entries ("NAME=value" sets,
    // "NAME" removes); false when it could not be executed.
    bool start(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv);
    // Whether the started program still runs; reaps it once it has ended.
    bool running();
    // Waits up to timeoutMs for the program to end, then kills it; reaps it either way.
    void end(int timeoutMs);
    void kill();
    pid_t pid() const { return pid_; }
    // The exit code of the last program that ended by itself, -1 when none did.
    int exitCode() const { return exitCode_; }

  private:
    pid_t pid_ = 0;
    int exitCode_ = -1;
};
