#pragma once

#include <optional>
#include <string_view>

// Whether a folder or file is there, asked on a thread of its own and waited for a bounded
// time only: a file system that does not answer (a hung network share) never holds the
// caller. Nothing when the answer did not come in time.
class ExistenceCheck {
  public:
    static std::optional<bool> within(std::string_view path, bool folder, int timeoutMs);
};
