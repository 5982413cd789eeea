#pragma once

#include <string>
#include <string_view>

// Per-user program settings shared with the sibling tools: a string store addressed by
// application, section and key. Each application has one INI file,
// $XDG_CONFIG_HOME/<application>/settings.ini ("[section]", "key=value", UTF-8), rewritten
// atomically. Backslashes, line breaks, "=" in keys and a "[" starting a key are written as
// escapes so any path travels whole. The file is read only when it is a regular file (a
// named pipe under its name cannot block), and one that exists but cannot be read is never
// written over.
class ProgramSettings {
  public:
    static std::string get(std::string_view application, std::string_view section,
                           std::string_view key);
    // False, the file left as it is, when it cannot be read or written.
    static bool set(std::string_view application, std::string_view section, std::string_view key,
                    std::string_view value);
    static std::string fileOf(std::string_view application);
};
