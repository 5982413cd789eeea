#pragma once

#include <string>
#include <vector>

// Starts a program with an argument vector, no shell in between; argv[0] without a "/"
// is looked up on PATH. True when the program was executed (false when it is missing).
// Threads: any thread; returns once the program is started, never waits for it to end.
class ProgramStarter {
  public:
    virtual ~ProgramStarter() = default;
    virtual bool start(const std::vector<std::string>& argv) = 0;
};
