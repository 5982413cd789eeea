#pragma once

#include <string>

// The system's reasons for a failed call in the interface's language: a Japanese text for
// the common error numbers, followed by the system's own text in brackets, so the reason
// can still be looked up; an uncommon number gives its number and the system's text. The
// wording is that of the program's notices (FileFault).
class SystemErrorText {
  public:
    static std::string text(int error);
    // The Japanese text alone; null for an uncommon number.
    static const char* phrase(int error);
};
