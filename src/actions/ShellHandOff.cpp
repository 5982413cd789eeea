#include "actions/ShellHandOff.h"

#include "opening/ShellServices.h"

void ShellHandOff::runPaths(const std::vector<std::string>& paths, std::string_view link,
                            Mode mode) {
    opener_.prepareForStart();
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
        if (!piece.empty())
            opener_.open(piece, mode == Mode::Explore ? OpenMode::Explore : OpenMode::Plain);
    }
}

void ShellHandOff::exploreSystemFolder(SystemFolderChoice choice) {
    if (!services_ || !services_->shell)
        return;
    std::string path = services_->shell->systemFolderPath(choice.folder);
    if (path.empty())
        return; // the chooser was cancelled
    if (choice.familyFolder)
        path += "/Quorvale";
    runPaths({path}, {}, Mode::Explore);
}
