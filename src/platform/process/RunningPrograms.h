#pragma once

#include <string>
#include <sys/types.h>

// The programs of this user that run now, as /proc shows them.
class RunningPrograms {
  public:
    // The process id of a running program of this user whose executable's path ends in
    // `program` and one of whose arguments is exactly `argument`, other than `except`;
    // 0 for none. A program that has ended but was not yet reaped is not running.
    static pid_t find(const std::string& program, const std::string& argument, pid_t except);
};
