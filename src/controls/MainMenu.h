#pragma once

#include "controls/MenuArray.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

// The families of the main window's menus; each is an indexed menu array.
enum class MenuFamily {
    Fold, // folders menu
    RcFd, // recently opened folders
    Dir,  // registered folders
    New,  // separator and the two registration commands
    Tool, // sibling tools
    Open, // open menu (also the tray's menu)
    RcEx, // recently executed files
    RcFL, // recently used files
    DirE, // registered folders to open in the file manager
    SyE,  // system folders to open in the file manager
    Task, // retreat to the task tray
    VwF,  // tree view / split view
    Dsp,  // folder display commands
};

// The main window's menu bar as data: every family's items (caption "-" is a separator)
// and which item opens which submenu. The view builds its menus from this each time a
// menu opens, so arrays the program fills are always shown as they are.
class MainMenu {
  public:
    static constexpr int kFamilies = 13;
    // The item of MenuFamily::Dsp that shows or hides hidden entries, checked while they
    // are shown.
    static constexpr int kHiddenEntriesItem = 7;

    MainMenu();

    MenuArray& operator[](MenuFamily family) { return arrays_[static_cast<int>(family)]; }
    const MenuArray& operator[](MenuFamily family) const {
        return arrays_[static_cast<int>(family)];
    }

    // Captions of the three menus of the bar and the families each one lists.
    static std::string_view topCaption(int menu);
    static std::vector<MenuFamily> topFamilies(int menu);
    // The families listed in the submenu that an item opens; empty for a command.
    static std::vector<MenuFamily> submenuOf(MenuFamily family, int index);

  private:
    void fill(MenuFamily family, std::vector<std::string_view> captions);

    std::array<MenuArray, kFamilies> arrays_;
};
