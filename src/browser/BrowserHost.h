#pragma once

#include "history/FolderButtons.h"

#include <cstdint>
#include <string>

class MenuArray;

// What the browser control reads and sets of the window that holds it.
class BrowserHost {
  public:
    virtual ~BrowserHost() = default;
    // Registered folders; item 0 is the placeholder "?".
    virtual MenuArray& registeredFoldersMenu() = 0;
    // Item 0: the separator shown when at least one folder is registered.
    virtual MenuArray& registrationMenu() = 0;
    // View menu: item 0 tree view, item 1 split view.
    virtual MenuArray& viewModeMenu() = 0;
    // The display commands of the 表示 menu, when the window has that menu; the item
    // MainMenu::kHiddenEntriesItem is checked while hidden entries are shown.
    virtual MenuArray* displayMenu() { return nullptr; }
    // Recently opened folders, executed files and used files.
    virtual MenuArray& recentFoldersMenu() = 0;
    virtual MenuArray& recentProgramsMenu() = 0;
    virtual MenuArray& recentFilesMenu() = 0;
    // Pops up the recent-folders or registered-folders submenu at the pointer.
    virtual void popUpFolderMenu(FolderSubmenu menu) = 0;
    virtual int widthTwips() const = 0;
    virtual void setWidthTwips(int twips) = 0;
    virtual bool minimized() const = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
    // The window that owns the browser's dialogs (the folder chooser).
    virtual std::uintptr_t windowHandle() const = 0;
};
