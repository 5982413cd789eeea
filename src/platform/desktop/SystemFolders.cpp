#include "platform/desktop/SystemFolders.h"

#include "platform/desktop/XdgDirs.h"

std::string SystemFolders::path(SystemFolder folder) {
    switch (folder) {
    case SystemFolder::Desktop:
        return XdgDirs::userDir("DESKTOP");
    case SystemFolder::Documents:
        return XdgDirs::userDir("DOCUMENTS");
    case SystemFolder::Favorites:
        return XdgDirs::dataHome() + "/Quorvale/Favorites";
    case SystemFolder::Recent:
        return XdgDirs::dataHome() + "/Quorvale/Recent";
    case SystemFolder::SendTo:
        return XdgDirs::dataHome() + "/Quorvale/SendTo";
    case SystemFolder::StartMenu:
        return XdgDirs::dataHome() + "/applications";
    case SystemFolder::Templates:
        return XdgDirs::userDir("TEMPLATES");
    case SystemFolder::CommonStartMenu:
        return "/usr/share/applications";
    case SystemFolder::AppData:
        return XdgDirs::configHome();
    case SystemFolder::CommonAppData:
        return "/etc/xdg";
    default:
        return {};
    }
}
