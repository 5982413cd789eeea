#pragma once

#include "app/Application.h"
#include "app/FolderBrowser.h"
#include "app/MainWindow.h"
#include "app/MenuCommands.h"
#include "opening/OpenPolicy.h"
#include "opening/ShellServices.h"
#include "opening/WindowPlacement.h"
#include "platform/process/DetachedProgramStarter.h"
#include "platform/process/SteadyWaitClock.h"
#include "platform/qt/LinuxShellOpener.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtFileOpenDialog.h"
#include "platform/qt/QtFileOperations.h"
#include "platform/qt/QtFolderPicker.h"
#include "platform/qt/QtIconTheme.h"
#include "platform/qt/QtJapanese.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtPopupMenu.h"
#include "platform/qt/QtSettingsDialog.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/qt/QtUiLoop.h"
#include "platform/qt/TerminationWatcher.h"
#include "platform/viewers/ChromiumViewer.h"
#include "platform/viewers/LibreOfficeViewer.h"

#include <memory>

// The whole program put together: the Linux services, the windows and the logic that
// drives them. Created once by main() after the QApplication.
class QtFindWindow;

class Program {
  public:
    Program();
    ~Program();
    // Starts up and runs the event loop; returns the process's exit code.
    int run();

  private:
    void unload(MainWindow::Ending ending);
    // The find-files window, searching the active folder first.
    void findFiles();

    QtJapanese japanese_; // first: every window made after it speaks Japanese
    QtMessageBox messages_;
    QtUiLoop loop_;
    QtTrayIcon tray_;
    QtIconTheme icons_;
    QtTimer refreshTimer_;
    LinuxShellOpener shellOpener_;
    QtFolderPicker folderPicker_;
    QtSettingsDialog settingsDialog_;
    QtFileOpenDialog fileDialog_;
    DetachedProgramStarter programStarter_;
    std::unique_ptr<WindowList> windowList_;
    SteadyWaitClock clock_;
    WindowPlacement placement_;
    ShellServices shell_;
    // The kept document viewers, started on first need, each with a profile of its own.
    LibreOfficeViewer wordViewer_;
    LibreOfficeViewer sheetViewer_;
    ChromiumViewer browserViewer_;
    OpenPolicy policy_; // before the browser, which opens through it
    Application application_;
    FolderBrowser browser_; // before the window, so the views go before the controls they show
    QtMainWindow window_;
    QtFileOperations fileOperations_{&window_}; // its dialogs are owned by the window
    MainWindow main_;
    MenuCommands commands_;
    QtClipboard clipboard_;
    QtPopupMenu popupMenu_{&window_};
    std::unique_ptr<QtFindWindow> findWindow_; // created on first use
    std::unique_ptr<TerminationWatcher> watcher_;
};
