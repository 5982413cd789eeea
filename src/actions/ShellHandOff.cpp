#include "actions/ShellHandOff.h"

#include "opening/ShellServices.h"

#include <array>

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

std::optional<SystemFolder> ShellHandOff::systemFolderOf(int index) {
    using enum SystemFolder;
    // The items of the system-folder menu in order; none for its separators.
    static constexpr std::array<std::optional<SystemFolder>, 17> kFolders{
        Desktop,      Documents,     AppData,       AppData,         std::nullopt,   Computer,
        Network,      Favorites,     StartMenu,     Recent,          SendTo,         Templates,
        std::nullopt, CommonDesktop, CommonAppData, CommonFavorites, CommonStartMenu};
    return index >= 0 && index < static_cast<int>(kFolders.size()) ? kFolders[index] : std::nullopt;
}

void ShellHandOff::openSystemFolder(int index) {
    const std::optional<SystemFolder> folder = systemFolderOf(index);
    if (!folder || !services_ || !services_->shell)
        return;
    std::string path = services_->shell->systemFolderPath(*folder);
    if (path.empty())
        return; // the chooser was cancelled
    if (index == 3)
        path += "/Quorvale";
    runPaths({path}, {}, Mode::Explore);
}
