#pragma once

#include "browser/BrowserHost.h"
#include "controls/MainMenu.h"
#include "opening/OpenPolicy.h"
#include "platform/MainWindowView.h"
#include "settings/DocumentOptions.h"

#include <cstdint>
#include <string>

// Where a sibling tool's window goes: right of the main window, in twips.
struct ToolPlace {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
};

class Application;
class UiLoop;
class FolderBrowser;

// The main window's logic: load (browser parameters, placement at the left edge of the
// work area at full height), unload (parameters stored, settings written, program
// ended), the task tray, and the state other parts read. It hosts the browser control
// and the open policy.
class MainWindow : public BrowserHost, public PolicyHost {
  public:
    // Client area as designed, in twips.
    static constexpr int kDesignedWidthTwips = 2730;
    static constexpr int kDesignedHeightTwips = 3990;

    MainWindow(Application& application, MainWindowView& view, UiLoop& loop,
               FolderBrowser& browser);

    // Loads the window (once) and shows it.
    void show();
    void load();
    // Who ends the program: the user (close box, exit menu), or a signal or the end of the
    // desktop session, which will not wait for anybody to answer a question.
    enum class Ending { ByUser, BySession };
    // Runs once, however often the close box, the exit menu, a signal or the end of the
    // desktop session ask for it. Asked before the load has finished (from a start-up
    // notice's event loop), it runs when the load is complete, so nothing half-loaded is
    // ever stored. Ended by the session it asks and tells nothing: the settings are
    // written first and the kept viewers stay, as the answer No leaves them.
    void unload(Ending ending = Ending::ByUser);
    bool unloaded() const { return unloaded_; }
    bool loadFinished() const { return loadFinished_; }

    // Names of the office and browser programs left open, each followed by U+3000.
    std::string openViewerNames() const;

    // Shows the window, or retreats it to the task tray. Without a tray on the desktop
    // the window is minimised instead, so it can always be brought back.
    void showMainWindow(bool shown);
    void trayLeftClicked() { showMainWindow(true); }
    void trayRightClicked();
    // The window got a new size: the placed document window follows.
    void resized();
    // The policy that opens what the browser and the menus choose: its document window
    // follows the main window's width, and its viewers are offered to close at the end.
    void setOpenPolicy(OpenPolicy* policy);
    // Makes the file-manager menu of registered folders a copy of the registered ones.
    void syncActiveFolder();

    MainMenu& menus() { return menus_; }
    const MainWindowView& view() const { return view_; }
    ToolPlace toolPlace() const;

    // BrowserHost
    MenuArray& registeredFoldersMenu() override { return menus_[MenuFamily::Dir]; }
    MenuArray& registrationMenu() override { return menus_[MenuFamily::New]; }
    MenuArray& viewModeMenu() override { return menus_[MenuFamily::VwF]; }
    MenuArray* displayMenu() override { return &menus_[MenuFamily::Dsp]; }
    MenuArray& recentFoldersMenu() override { return menus_[MenuFamily::RcFd]; }
    MenuArray& recentProgramsMenu() override { return menus_[MenuFamily::RcEx]; }
    MenuArray& recentFilesMenu() override { return menus_[MenuFamily::RcFL]; }
    void popUpFolderMenu(FolderSubmenu menu) override {
        view_.popupFolderMenu(menu == FolderSubmenu::RecentFolders ? 2 : 3);
    }
    int widthTwips() const override;
    void setWidthTwips(int twips) override;
    bool minimized() const override { return view_.minimized(); }
    double twipsPerPixelX() const override { return view_.twipsPerPixelX(); }
    double twipsPerPixelY() const override { return view_.twipsPerPixelY(); }
    std::uintptr_t windowHandle() const override { return view_.handle(); }

    // PolicyHost
    const DocumentOptions& documentOptions() const override { return options; }
    void minimizeMain() override { view_.minimize(); }
    int mainWidthTwips() const override { return widthTwips(); }
    double mainTwipsPerPixelX() const override { return twipsPerPixelX(); }
    PixelRect workArea() const override { return workAreaRect; }
    void setWaitCursor(bool on) override;
    void showWorking(bool on) override { view_.showWorking(on); }
    bool handlerBusy() const override;
    MessageBox::SaveChoice askToSave(std::string_view text) override;

    bool noArrange = true;
    bool retreatedToTray = false;
    PixelRect workAreaRect;
    DocumentOptions options; // fileOpenMode, officeOpenMode, readOnly, minimiseExtensions

  private:
    void loadWindow();
    void placeAtLeftEdge();
    void offerToCloseViewers();

    Application& application_;
    MainWindowView& view_;
    UiLoop& loop_;
    FolderBrowser& browser_;
    OpenPolicy* policy_ = nullptr;
    MainMenu menus_;
    bool loaded_ = false;
    bool loadFinished_ = false;
    bool unloadAsked_ = false;
    Ending askedEnding_ = Ending::ByUser;
    bool unloaded_ = false;
};
