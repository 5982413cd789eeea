#pragma once

#include "history/RecentList.h"

#include <string>
#include <string_view>

class MenuArray;
class SettingsStore;

// The browser's three histories: folders that became the root ("Recent", submenu
// mnRcFd), executed programs ("RcntEx", mnRcEx) and other used files ("RcntFL", mnRcFL).
// The busy flag of the browser is the caller's to set around the Add calls.
class RecentLists {
  public:
    RecentLists();
    // The host's three submenus; null until the host is known.
    void setMenus(MenuArray* mnRcFd, MenuArray* mnRcEx, MenuArray* mnRcFL);

    // A recorded file goes to the executed list when its name ends in ".exe" in any
    // letter case, else to the used-files list.
    void RcntExFL(std::string_view path);
    static bool isExecutable(std::string_view path);
    void AddRcFd(std::string_view path) { folders_.add(path); }
    void AddRcEx(std::string_view path) { executed_.add(path); }
    void AddRcFL(std::string_view path) { files_.add(path); }

    std::string sLstRcFd() const { return folders_.saved(); }
    std::string sLstRcEx() const { return executed_.saved(); }
    std::string sLstRcFL() const { return files_.saved(); }

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
