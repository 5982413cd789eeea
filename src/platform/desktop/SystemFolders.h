#pragma once

#include <string>

// Paths of the system folders the program knows by their old numbers (0 desktop,
// 5 documents, 26 application data ...). Folders that have no path on this system
// (17 computer, 18 network, 25 common desktop, 31 common favourites) give "".
class SystemFolders {
  public:
    static std::string path(int number);
};
