#include "platform/desktop/SystemFolders.h"

#include "platform/desktop/XdgDirs.h"

std::string SystemFolders::path(int number) {
    switch (number) {
    case 0:
        return XdgDirs::userDir("DESKTOP");
    case 5:
        return XdgDirs::userDir("DOCUMENTS");
    case 6:
        return XdgDirs::dataHome() + "/Quorvale/Favorites";
    case 8:
        return XdgDirs::dataHome() + "/Quorvale/Recent";
    case 9:
        return XdgDirs::dataHome() + "/Quorvale/SendTo";
    case 11:
        return XdgDirs::dataHome() + "/applications";
    case 21:
        return XdgDirs::userDir("TEMPLATES");
    case 22:
        return "/usr/share/applications";
    case 26:
        return XdgDirs::configHome();
    case 35:
        return "/etc/xdg";
    default:
        return {};
    }
}
