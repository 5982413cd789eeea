#pragma once

#include <string>
#include <string_view>
#include <vector>

// Opening things the way the desktop does. Paths are byte strings and reach the started
// program unchanged; nothing runs through a shell.
// Threads: the user-interface thread; a call returns once the program is started (or
// handed to the desktop) and never waits for it to end.
class ShellOpener {
  public:
    virtual ~ShellOpener() = default;
    // A program file is started directly; any other file or folder, and an address such
    // as "https://...", goes to its default application. True when something started.
    virtual bool open(std::string_view target) = 0;
    // Shows a folder in the file manager (a file: its folder with the file selected).
    virtual bool explore(std::string_view path) = 0;
    // Starts a program file with each argument as its own argument, in the working
    // directory ("" keeps the program's own). A target that is not a program file is
    // opened in its default application instead, without the arguments.
    virtual bool start(std::string_view program, const std::vector<std::string>& arguments,
                       std::string_view workingDirectory) = 0;
};
