#pragma once

#include "history/FolderButtons.h"

#include <string>

class MenuArray;

// What the browser control reads and sets of the window that holds it.
class BrowserHost {
  public:
    virtual ~BrowserHost() = default;
    // Registered folders; item 0 is the placeholder "?".
    virtual MenuArray& mnDir() = 0;
    // Item 0: the separator shown when at least one folder is registered.
    virtual MenuArray& mnNew() = 0;
    // View menu: item 0 tree view, item 1 split view.
    virtual MenuArray& mnVwF() = 0;
    // Recently opened folders, executed files and used files.
    virtual MenuArray& mnRcFd() = 0;
    virtual MenuArray& mnRcEx() = 0;
    virtual MenuArray& mnRcFL() = 0;
    // Pops up the recent-folders or registered-folders submenu at the pointer.
    virtual void popUpFolderMenu(FolderSubmenu menu) = 0;
    virtual int widthTwips() const = 0;
    virtual void setWidthTwips(int twips) = 0;
    virtual bool minimized() const = 0;
    virtual double twipsPerPixelX() const = 0;
    virtual double twipsPerPixelY() const = 0;
};

// How documents open: options the host keeps and the browser stores with its own.
struct DocumentOptions {
    short iTypF = 1;
    short iTypD = 2;
    bool bRed = false;
    std::string sMnFm = "EXE";
};
