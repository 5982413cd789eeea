#include "actions/SendToScan.h"

#include "platform/fs/FileSystem.h"
#include "platform/text/TextCase.h"

std::vector<std::string> SendToScan::names(std::string_view folder) {
    std::vector<std::string> found;
    if (!FileSystem::folderExists(folder))
        return found;
    for (const FileRecord& file : FileSystem::files(folder)) {
        const std::string& name = file.name;
        const auto dot = name.rfind('.');
        if (dot == std::string::npos || dot == 0 || TextCase::lower(name.substr(dot)) != ".lnk")
            continue;
        found.push_back(name.substr(0, dot));
    }
    return found;
}
