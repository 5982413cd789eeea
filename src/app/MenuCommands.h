#pragma once

#include "controls/MainMenu.h"
#include "controls/MenuInput.h"

#include <functional>
#include <memory>
#include <string>

class FileOpenDialog;
class ShellServices;
class ProgramStarter;
class SettingsDialogView;
class ToolLauncher;
class OpenPolicy;
class MainWindow;
class FolderBrowser;

// What the items of the main window's menus do.
class MenuCommands : public MenuInput {
  public:
    MenuCommands(MainWindow& main, FolderBrowser& browser, ShellServices& shell, OpenPolicy& policy);
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

    MainWindow& main_;
    FolderBrowser& browser_;
    ShellServices& shell_;
    OpenPolicy& policy_;
    SettingsDialogView* settings_ = nullptr;
    FileOpenDialog* fileDialog_ = nullptr;
    ProgramStarter* starter_ = nullptr;
    std::string programFolder_;
    std::string userDataFolder_;
    std::unique_ptr<ToolLauncher> tools_; // created on first use
};
