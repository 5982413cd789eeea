#pragma once

#include "platform/ShellOpener.h"

#include <string>
#include <vector>

// Records every request to the desktop and answers with `result`; nothing is started.
class ScriptedShellOpener : public ShellOpener {
  public:
    struct Call {
        std::string kind; // "open", "explore" or "start"
        std::string target;
        std::vector<std::string> arguments;
        std::string workingDirectory;
    };

    bool open(std::string_view target) override {
        return record({"open", std::string(target), {}, {}});
    }
    bool explore(std::string_view path) override {
        return record({"explore", std::string(path), {}, {}});
    }
    bool start(std::string_view program, const std::vector<std::string>& arguments,
               std::string_view workingDirectory) override {
        return record({"start", std::string(program), arguments, std::string(workingDirectory)});
    }

    std::vector<Call> calls;
    bool result = true;

  private:
    bool record(Call call) {
        calls.push_back(std::move(call));
        return result;
    }
};
