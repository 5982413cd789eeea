#include "app/MenuCommands.h"

#include "app/FolderBrowser.h"
#include "app/MainWindow.h"
#include "opening/DisplaySettingsDialog.h"
#include "opening/OpenPolicy.h"
#include "opening/ShellServices.h"
#include "opening/ToolLauncher.h"

#include <array>
#include <optional>

namespace {

// The folders of the system-folder menu's items in order; none for its separators.
std::optional<SystemFolderChoice> systemFolderOf(int index) {
    using enum SystemFolder;
    static constexpr std::array<std::optional<SystemFolderChoice>, 17> kFolders{{
        {{Desktop}},
        {{Documents}},
        {{AppData}},
        {{AppData, true}},
        std::nullopt,
        {{Computer}},
        {{Network}},
        {{Favorites}},
        {{StartMenu}},
        {{Recent}},
        {{SendTo}},
        {{Templates}},
        std::nullopt,
        {{CommonDesktop}},
        {{CommonAppData}},
        {{CommonFavorites}},
        {{CommonStartMenu}},
    }};
    return index >= 0 && index < static_cast<int>(kFolders.size()) ? kFolders[index] : std::nullopt;
}

} // namespace

MenuCommands::MenuCommands(MainWindow& main, FolderBrowser& browser, ShellServices& shell,
                           OpenPolicy& policy)
    : main_(main), browser_(browser), shell_(shell), policy_(policy) {}

MenuCommands::~MenuCommands() = default;

void MenuCommands::setTools(SettingsDialogView& settings, FileOpenDialog& fileDialog,
                            ProgramStarter& starter, std::string programFolder,
                            std::string userDataFolder) {
    settings_ = &settings;
    fileDialog_ = &fileDialog;
    starter_ = &starter;
    programFolder_ = std::move(programFolder);
    userDataFolder_ = std::move(userDataFolder);
}

void MenuCommands::showSettings() {
    if (!settings_)
        return;
    DisplaySettingsDialog dialog(*settings_, main_.view());
    bool byExplorer = browser_.exploresFolderShortcuts();
    dialog.edit(main_.options, byExplorer);
    browser_.setExploreFolderShortcuts(byExplorer);
}

void MenuCommands::startTool(int index) {
    if (!fileDialog_ || !starter_)
        return;
    if (!tools_)
        tools_ = std::make_unique<ToolLauncher>(*fileDialog_, *starter_, programFolder_,
                                                userDataFolder_);
    const ToolPlace place = main_.toolPlace();
    tools_->startTool(index, place.left, place.top, place.width, place.height, browser_.root(),
                      browser_.activePath());
}

std::string MenuCommands::caption(MenuFamily family, int index) {
    return main_.menus()[family].caption(index);
}

void MenuCommands::chosen(MenuFamily family, int index) {
    switch (family) {
    case MenuFamily::Fold:
        if (index == 0)
            browser_.setRoot(shell_.chooseFolder(browser_.root()));
        else if (index == 6)
            main_.unload();
        break;
    case MenuFamily::RcFd:
    case MenuFamily::Dir:
        browser_.setRoot(caption(family, index));
        break;
    case MenuFamily::New:
        if ((index == 1 || index == 2) && registerFolder) {
            main_.noArrange = true;
            registerFolder(index == 2);
            main_.syncActiveFolder();
            main_.noArrange = false;
        }
        break;
    case MenuFamily::Tool:
        startTool(index);
        break;
    case MenuFamily::RcEx:
    case MenuFamily::RcFL: {
        std::string path = caption(family, index);
        policy_.open(path, family == MenuFamily::RcEx ? OpenMode::Plain : OpenMode::Document);
        break;
    }
    case MenuFamily::DirE:
        shell_.shellOpen(caption(family, index), true);
        break;
    case MenuFamily::SyE:
        if (const std::optional<SystemFolderChoice> folder = systemFolderOf(index))
            browser_.exploreSystemFolder(*folder);
        break;
    case MenuFamily::VwF:
        switchView(index);
        break;
    case MenuFamily::Dsp:
        if (index == 1)
            browser_.redrawTree();
        else if (index == 3)
            showSettings();
        else if (index == 5)
            browser_.perform(BrowserCommand::Undo, Pane::List);
        else if (index == MainMenu::kHiddenEntriesItem)
            browser_.toggleHiddenEntries();
        break;
    case MenuFamily::Task:
        if (index == 0)
            main_.showMainWindow(false);
        break;
    case MenuFamily::Open:
        break;
    }
}

void MenuCommands::switchView(int index) {
    MenuArray& view = main_.menus()[MenuFamily::VwF];
    view.setChecked(0, index == 0);
    view.setChecked(1, index == 1);
    browser_.showList(index == 1);
}
