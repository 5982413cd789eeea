#pragma once

#include <string>
#include <string_view>

// The freedesktop.org base and user directories of the current user.
class XdgDirs {
  public:
    static std::string home();
    static std::string configHome(); // $XDG_CONFIG_HOME or ~/.config
    static std::string dataHome();   // $XDG_DATA_HOME or ~/.local/share
    static std::string cacheHome();  // $XDG_CACHE_HOME or ~/.cache
    // A user directory from user-dirs.dirs ("DESKTOP", "DOCUMENTS", "TEMPLATES" ...);
    // the variable XDG_<NAME>_DIR of the environment when the file has none; else the
    // documented fallback (~/Desktop for the desktop, the home folder for the others).
    static std::string userDir(std::string_view name);
    // Creates the folder and every missing folder above it.
    static bool makePath(std::string_view path);
};
