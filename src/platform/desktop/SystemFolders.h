#pragma once

#include <string>

// The system folders the program knows. The numbers are the ones its menus have always
// given them.
enum class SystemFolder {
    Desktop = 0,
    Documents = 5,
    Favorites = 6,
    Recent = 8,
    SendTo = 9,
    StartMenu = 11,
    Computer = 17,
    Network = 18,
    Templates = 21,
    CommonStartMenu = 22,
    CommonDesktop = 25,
    AppData = 26,
    CommonFavorites = 31,
    CommonAppData = 35,
};

// Paths of the system folders. Those that have no path on this system (the computer, the
// network, the common desktop and the common favourites) give "".
class SystemFolders {
  public:
    static std::string path(SystemFolder folder);
};
