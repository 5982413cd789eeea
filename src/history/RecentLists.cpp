#include "history/RecentLists.h"

#include "settings/SettingsStore.h"

RecentLists::RecentLists() = default;

void RecentLists::setMenus(MenuArray* mnRcFd, MenuArray* mnRcEx, MenuArray* mnRcFL) {
    folders_.setMenu(mnRcFd);
    executed_.setMenu(mnRcEx);
    files_.setMenu(mnRcFL);
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

void RecentLists::RcntExFL(std::string_view path) {
    if (isExecutable(path))
        AddRcEx(path);
    else
        AddRcFL(path);
}

void RecentLists::load(SettingsStore& ini) {
    folders_.load(ini.vGtVal("Recent", ""));
    executed_.load(ini.vGtVal("RcntEx", ""));
    files_.load(ini.vGtVal("RcntFL", ""));
    AddRcEx("");
    AddRcFL("");
}

void RecentLists::store(SettingsStore& ini) const {
    ini.SetVal("Recent", sLstRcFd());
    ini.SetVal("RcntEx", sLstRcEx());
    ini.SetVal("RcntFL", sLstRcFL());
}
