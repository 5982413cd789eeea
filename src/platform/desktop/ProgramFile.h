#pragma once

#include <string_view>

// Whether a path names a program that is started directly rather than handed to its
// default application: a regular file the user may execute that is an ELF binary or a
// script starting with "#!". Other files with an execute bit (documents copied from
// other file systems often have one) open in their application.
class ProgramFile {
  public:
    static bool is(std::string_view path);
};
