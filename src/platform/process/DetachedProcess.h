#pragma once

#include <string>
#include <string_view>
#include <vector>

// Starts a program that lives on by itself: its own session, default signal handling,
// no shell in between. Each element of the argument vector reaches the program as one
// argument exactly as given, whatever bytes it holds.
class DetachedProcess {
  public:
    // argv[0] is the program: a path, or a name looked up on PATH when it has no "/".
    // An empty working directory keeps the program's own. True when the program was
    // executed (a missing program or folder, or a denied execution, gives false).
    static bool start(const std::vector<std::string>& argv, std::string_view workingDirectory);
};
