#pragma once

#include <string>
#include <string_view>

// Per-user program settings shared with the sibling tools: a string store addressed by
// application, section and key. Each application has one INI file,
// $XDG_CONFIG_HOME/<application>/settings.ini ("[section]", "key=value", UTF-8), rewritten
// atomically. Backslashes, line breaks, "=" in keys and a "[" starting a key are written as
// escapes so any path travels whole.
class ProgramSettings {
  public:
    static std::string get(std::string_view application, std::string_view section,
                           std::string_view key);
    static bool set(std::string_view application, std::string_view section, std::string_view key,
                    std::string_view value);
    static std::string fileOf(std::string_view application);
};
