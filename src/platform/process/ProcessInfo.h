#pragma once

#include <string>

// Where the running program lies, from /proc/self/exe.
class ProcessInfo {
  public:
    static std::string executablePath();
    static std::string executableFolder(); // without a trailing "/" (except "/")
    static std::string executableName();   // base name without its extension
};
