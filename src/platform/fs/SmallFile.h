#pragma once

#include "platform/fs/FileFault.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Reads files of a known kind (shortcuts, internet shortcuts, settings) without trusting
// them: only regular files up to a size limit are read, so a named pipe or a huge file
// under such a name can neither block nor exhaust the program.
class SmallFile {
  public:
    // The whole content, or nullopt for anything that is not a regular file of at most
    // `limit` bytes, or when it cannot be read.
    static std::optional<std::string> read(std::string_view path, std::size_t limit);
    // The same, telling why nothing came: error ENOENT when there is no such file,
    // EFBIG when it is larger than `limit`.
    static std::optional<std::string> read(std::string_view path, std::size_t limit,
                                           FileFault& fault);
};
