#pragma once

#include <string>

// Why a file could not be read or written: an errno value, or a file of the wrong kind
// (a folder, a named pipe or a device where a regular file belongs).
struct FileFault {
    int error = 0;
    bool notRegular = false;

    bool any() const { return error != 0 || notRegular; }
    // The reason as the program's notices put it.
    std::string reason() const;
};
