#pragma once

#include "platform/controls/MainMenu.h"
#include "platform/controls/MenuInput.h"

#include <functional>

class Fld;
class OpenPolicy;
class fmTree;
class uFile;

// What the items of the main window's menus do.
class MenuCommands : public MenuInput {
public:
    MenuCommands(fmTree& main, uFile& browser, Fld& shell, OpenPolicy& policy);

    // Commands that other parts provide: registering a folder (with the chooser or the
    // current one), the settings dialog, starting sibling tool i.
    std::function<void(bool choose)> registerFolder;
    std::function<void()> showSettings;
    std::function<void(int tool)> startTool;

    void chosen(MenuFamily family, int index);
    void menuChosen(MenuFamily family, int index) override { chosen(family, index); }

    // The system folder behind an item of the system-folder menu; -1 for separators.
    static int systemFolderOf(int index);

private:
    void openSystemFolder(int index);
    void switchView(int index);
    std::string caption(MenuFamily family, int index);

    fmTree& main_;
    uFile& browser_;
    Fld& shell_;
    OpenPolicy& policy_;
};
