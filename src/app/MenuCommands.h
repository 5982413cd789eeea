#pragma once

#include "platform/controls/MainMenu.h"
#include "platform/controls/MenuInput.h"

#include <functional>
#include <memory>
#include <string>

class FileOpenDialog;
class Fld;
class ProgramStarter;
class SettingsDialogView;
class zKtl;
class OpenPolicy;
class fmTree;
class uFile;

// What the items of the main window's menus do.
class MenuCommands : public MenuInput {
  public:
    MenuCommands(fmTree& main, uFile& browser, Fld& shell, OpenPolicy& policy);
    ~MenuCommands() override;

    // Registering a folder (with the chooser, or the current one).
    std::function<void(bool choose)> registerFolder;
    // What the settings dialog and the sibling tools need; without it those items do
    // nothing.
    void setTools(SettingsDialogView& settings, FileOpenDialog& fileDialog, ProgramStarter& starter,
                  std::string programFolder, std::string userDataFolder);

    void chosen(MenuFamily family, int index);
    void menuChosen(MenuFamily family, int index) override { chosen(family, index); }

  private:
    void switchView(int index);
    void showSettings();
    void startTool(int index);
    std::string caption(MenuFamily family, int index);

    fmTree& main_;
    uFile& browser_;
    Fld& shell_;
    OpenPolicy& policy_;
    SettingsDialogView* settings_ = nullptr;
    FileOpenDialog* fileDialog_ = nullptr;
    ProgramStarter* starter_ = nullptr;
    std::string programFolder_;
    std::string userDataFolder_;
    std::unique_ptr<zKtl> tools_; // created on first use
};
