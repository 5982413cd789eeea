#pragma once

#include <string>
#include <string_view>

// Whether hidden entries are shown, kept across runs in a file of its own in the user data
// folder, beside "User.xml", whose layout stays as it is. The file holds one line, "shown"
// or "hidden", and is replaced whole (a temporary file renamed into place). No file, one
// that cannot be read or one holding anything else means shown.
class HiddenEntriesChoice {
  public:
    static constexpr std::string_view kFileName = "HiddenEntries.txt";

    // `userData` ends with "/".
    static bool shown(std::string_view userData);
    // False when the file could not be written.
    static bool store(std::string_view userData, bool shown);

  private:
    static std::string pathIn(std::string_view userData);
};
