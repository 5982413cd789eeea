#include "app/Usr.h"
#include "app/fmTree.h"
#include "browser/uFile.h"
#include "opening/Fld.h"
#include "platform/ProcessInfo.h"
#include "platform/qt/BrowserWidget.h"
#include "platform/qt/Guarded.h"
#include "platform/qt/QtIconTheme.h"
#include "platform/qt/LinuxShellOpener.h"
#include "platform/qt/QtFolderPicker.h"
#include "platform/qt/QtMainWindow.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtTimer.h"
#include "platform/qt/QtTrayIcon.h"
#include "platform/qt/QtUiLoop.h"
#include "platform/qt/TerminationWatcher.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

// The program places its own window and those of the programs it starts, which needs
// X11 (under Wayland through XWayland).
bool chooseX11() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    qputenv("QT_QPA_PLATFORM", "xcb");
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::fprintf(stderr, "tavrin: no X display (DISPLAY is not set); "
                             "start it on a virtual one with: xvfb-run -a build/tavrin\n");
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (!chooseX11())
        return 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tavrin"));
    QApplication::setQuitOnLastWindowClosed(false);

    QtIconTheme::ensureThemeName();

    QtMessageBox messages;
    QtUiLoop loop;
    QtTrayIcon tray;
    QtIconTheme icons;
    QtTimer refreshTimer;
    LinuxShellOpener shellOpener;
    QtFolderPicker folderPicker;
    Fld shellServices(shellOpener, folderPicker, loop); // the window placement joins it
    Usr usr(messages, loop, tray);
    QtMainWindow window(fmTree::kDesignedWidthTwips, fmTree::kDesignedHeightTwips);
    uFile browser(messages, loop, icons, refreshTimer);
    window.setCentralWidget(new BrowserWidget(browser.controls(), browser, &window));
    fmTree mainWindow(usr, window, loop, browser);
    const auto unload = [&] { guarded("shutdown", [&] { mainWindow.unload(); }); };
    window.setUnloadHandler(unload);
    TerminationWatcher watcher(unload);

    guarded("start-up", [&] {
        usr.Main(ProcessInfo::executableName(), ProcessInfo::executableFolder(), mainWindow);
    });
    if (mainWindow.unloaded())
        return 0;
    return QApplication::exec();
}
