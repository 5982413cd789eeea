#include "history/RecentLists.h"

#include "settings/SettingsStore.h"

RecentLists::RecentLists() = default;

void RecentLists::setMenus(MenuArray* recentFoldersMenu, MenuArray* recentProgramsMenu, MenuArray* recentFilesMenu) {
    folders_.setMenu(recentFoldersMenu);
    executed_.setMenu(recentProgramsMenu);
    files_.setMenu(recentFilesMenu);
}

bool RecentLists::isExecutable(std::string_view path) {
    if (path.size() < 4)
        return false;
    // The four characters are ASCII, so comparing the last four bytes is enough.
    std::string ending(path.substr(path.size() - 4));
    for (char& c : ending)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ending == ".exe";
}

void RecentLists::recordOpenedFile(std::string_view path) {
    if (isExecutable(path))
        addRecentProgram(path);
    else
        addRecentFile(path);
}

void RecentLists::load(SettingsStore& ini) {
    folders_.load(ini.valueOr("Recent", ""));
    executed_.load(ini.valueOr("RcntEx", ""));
    files_.load(ini.valueOr("RcntFL", ""));
    addRecentProgram("");
    addRecentFile("");
}

void RecentLists::store(SettingsStore& ini) const {
    ini.setValue("Recent", savedRecentFolders());
    ini.setValue("RcntEx", savedRecentPrograms());
    ini.setValue("RcntFL", savedRecentFiles());
}
