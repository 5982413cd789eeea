#pragma once

#include "history/RecentList.h"

#include <string>
#include <string_view>

class MenuArray;
class SettingsStore;

// The browser's three histories: folders that became the root ("Recent", submenu
// recentFoldersMenu), executed programs ("RcntEx", recentProgramsMenu) and other used files ("RcntFL", recentFilesMenu).
// The busy flag of the browser is the caller's to set around the Add calls.
class RecentLists {
  public:
    RecentLists();
    // The host's three submenus; null until the host is known.
    void setMenus(MenuArray* recentFoldersMenu, MenuArray* recentProgramsMenu, MenuArray* recentFilesMenu);

    // A recorded file goes to the executed list when its name ends in ".exe" in any
    // letter case, else to the used-files list.
    void recordOpenedFile(std::string_view path);
    static bool isExecutable(std::string_view path);
    void addRecentFolder(std::string_view path) { folders_.add(path); }
    void addRecentProgram(std::string_view path) { executed_.add(path); }
    void addRecentFile(std::string_view path) { files_.add(path); }

    std::string savedRecentFolders() const { return folders_.saved(); }
    std::string savedRecentPrograms() const { return executed_.saved(); }
    std::string savedRecentFiles() const { return files_.saved(); }

    // Reads the three keys of the group the caller has selected and fills the two file
    // submenus; the folder submenu fills when the restored root is set.
    void load(SettingsStore& ini);
    // Writes the three keys, in the order "Recent", "RcntEx", "RcntFL", into the group
    // the caller has selected.
    void store(SettingsStore& ini) const;

    const RecentList& folders() const { return folders_; }
    const RecentList& executed() const { return executed_; }
    const RecentList& files() const { return files_; }

  private:
    RecentList folders_{MustExist::Folder};
    RecentList executed_{MustExist::File};
    RecentList files_{MustExist::File};
};
