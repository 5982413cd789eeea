#include "platform/process/ExistenceCheck.h"

#include "platform/fs/FileSystem.h"
#include "platform/process/BoundedCall.h"

#include <string>

std::optional<bool> ExistenceCheck::within(std::string_view path, bool folder, int timeoutMs) {
    const BoundedCall::Outcome outcome = BoundedCall::run(
        [whole = std::string(path), folder] {
            return (folder ? FileSystem::folderExists(whole) : FileSystem::fileExists(whole)) ? 1
                                                                                              : 0;
        },
        timeoutMs, [] {}, 0);
    if (!outcome.value)
        return std::nullopt;
    return *outcome.value == 1;
}
