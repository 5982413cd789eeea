#include "actions/ShellHandOff.h"

#include "opening/ShellServices.h"

#include <array>

void ShellHandOff::runPaths(const std::vector<std::string>& paths, std::string_view link, Mode mode) {
    if (beforeOpen_)
        beforeOpen_();
    if (mode == Mode::Find) {
        if (services_ && services_->findFiles)
            services_->findFiles();
        return;
    }
    if (mode == Mode::SendTo) {
        if (!services_ || !services_->shell)
            return;
        const bool place = services_->placeStarted && services_->placeStarted();
        // Only what really started goes into the recent lists.
        if (services_->shell->runShortcut(link, paths, place) && record_)
            for (const std::string& path : paths)
                record_(path);
        return;
    }
    for (const std::string& path : paths) {
        std::string piece = path;
        if (!piece.empty() && openPathRequested_)
            openPathRequested_(piece, true, mode == Mode::Explore);
    }
}

int ShellHandOff::systemFolderOf(int index) {
    static constexpr std::array<int, 17> kFolders{0, 5, 26, 26, -1, 17, 18, 6, 11,
                                                  8, 9, 21, -1, 25, 35, 31, 22};
    return index >= 0 && index < static_cast<int>(kFolders.size()) ? kFolders[index] : -1;
}

void ShellHandOff::openSystemFolder(int index) {
    const int number = systemFolderOf(index);
    if (number < 0 || !services_ || !services_->shell)
        return;
    std::string path = services_->shell->systemFolderPath(number);
    if (path.empty())
        return; // the chooser was cancelled
    if (index == 3)
        path += "/Quorvale";
    runPaths({path}, {}, Mode::Explore);
}
