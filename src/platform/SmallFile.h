#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Reads small files of a known kind (shortcuts, internet shortcuts) without trusting
// them: only regular files up to a size limit are read, so a named pipe or a huge file
// under a shortcut's name can neither block nor exhaust the program.
class SmallFile {
  public:
    // The whole content, or nullopt for anything that is not a regular file of at most
    // `limit` bytes, or when it cannot be read.
    static std::optional<std::string> read(std::string_view path, std::size_t limit);
};
