#include "platform/process/ProcessInfo.h"

#include "platform/fs/FileSystem.h"

#include <climits>
#include <unistd.h>

std::string ProcessInfo::executablePath() {
    std::string buffer(PATH_MAX, '\0');
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n <= 0)
        return {};
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
}

std::string ProcessInfo::executableFolder() {
    return FileSystem::parentOf(executablePath());
}

std::string ProcessInfo::executableName() {
    std::string name = FileSystem::nameOf(executablePath());
    if (const auto dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.resize(dot);
    return name;
}
