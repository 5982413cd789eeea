#pragma once

#include "platform/ProgramStarter.h"
#include "platform/process/DetachedProcess.h"

// Starts programs that live on by themselves (see DetachedProcess).
class DetachedProgramStarter : public ProgramStarter {
  public:
    bool start(const std::vector<std::string>& argv) override {
        return DetachedProcess::start(argv, {});
    }
};
