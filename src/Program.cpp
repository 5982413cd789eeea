#include "Program.h"

#include "actions/ActionServices.h"
#include "opening/FindFiles.h"
#include "platform/desktop/XdgDirs.h"
#include "platform/process/ProcessInfo.h"
#include "platform/qt/BrowserWidget.h"
#include "platform/qt/Guarded.h"
#include "platform/qt/QtFindWindow.h"
#include "platform/x11/XcbWindowList.h"

#include <QApplication>
#include <QScreen>

namespace {

// Where no X server is at hand (the offscreen platform) there are no windows to place.
class NoWindows : public WindowList {
  public:
    std::vector<Handle> shownWindows() override { return {}; }
    bool move(Handle, const ScreenRect&) override { return false; }
    bool activate(Handle) override { return false; }
    std::vector<Handle> windowsOf(int) override { return {}; }
};

std::string viewerProfile(const char* name) {
    return XdgDirs::cacheHome() + "/tavrin/" + name;
}

// The device pixels of the primary screen, whose work area the viewers are placed in, to
// one of the program's.
double screenDeviceRatio() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

std::unique_ptr<WindowList> windowListOfThisDisplay() {
    if (auto xcb = XcbWindowList::forApplication())
        return xcb;
    return std::make_unique<NoWindows>();
}

} // namespace

Program::Program()
    : shellOpener_(&messages_), windowList_(windowListOfThisDisplay()),
      placement_(*windowList_, loop_, clock_),
      shell_(shellOpener_, folderPicker_, loop_, &placement_),
      wordViewer_(OfficeKind::Writer, viewerProfile("office-writer"), screenDeviceRatio()),
      sheetViewer_(OfficeKind::Calc, viewerProfile("office-calc"), screenDeviceRatio()),
      browserViewer_(viewerProfile("browser"), screenDeviceRatio()),
      policy_(
          shell_, &placement_, [this](const std::string& path) { browser_.recordOpenedFile(path); },
          KeptViewers{&wordViewer_, &sheetViewer_, &browserViewer_}, &loop_),
      application_(messages_, loop_, tray_),
      browser_(messages_, loop_, icons_, refreshTimer_, folderPicker_, policy_),
      window_(MainWindow::kDesignedWidthTwips, MainWindow::kDesignedHeightTwips),
      main_(application_, window_, loop_, browser_), commands_(main_, browser_, shell_, policy_) {
    browser_.setFileOperationService(&fileOperations_);
    commands_.registerFolder = [this](bool choose) {
        browser_.registerChosenFolder(choose, application_.ini());
    };
    window_.setCentralWidget(new BrowserWidget(browser_.controls(), browser_, &window_));
    window_.setMenus(main_.menus(), commands_);
    window_.setUnloadHandler([this] { unload(MainWindow::Ending::ByUser); });
    window_.setResizeHandler([this] { main_.resized(); });
    tray_.setClickHandlers([this] { guarded("tray", [&] { main_.trayLeftClicked(); }); },
                           [this] { guarded("tray", [&] { main_.trayRightClicked(); }); });
    policy_.attachHost(main_);
    main_.setOpenPolicy(&policy_);
    ActionServices services;
    services.shell = &shell_;
    services.clipboard = &clipboard_;
    services.popup = &popupMenu_;
    services.findFiles = [this] { findFiles(); };
    services.placeStarted = [this] { return main_.options.fileOpenMode == 1; };
    browser_.setActionServices(services);
    watcher_ =
        std::make_unique<TerminationWatcher>([this] { unload(MainWindow::Ending::BySession); });
}

Program::~Program() = default;

void Program::findFiles() {
    if (!findWindow_)
        findWindow_ = std::make_unique<QtFindWindow>();
    FindFiles finder(programStarter_, *findWindow_, placement_, browser_.activePath(),
                     [this](const std::string& path) {
                         std::string opened = path;
                         policy_.open(opened, OpenMode::Document);
                     });
    finder.findFiles();
}

void Program::unload(MainWindow::Ending ending) {
    // A termination asked for while a start-up notice is open: the notices give way, the
    // load finishes and the unload runs after it.
    if (!main_.loadFinished())
        messages_.closeAll();
    guarded("shutdown", [&] { main_.unload(ending); });
}

int Program::run() {
    guarded("start-up", [&] {
        application_.start(ProcessInfo::executableName(), ProcessInfo::executableFolder(), main_);
        // Pickers and started programs belong to the main window once it is loaded.
        shell_.setOwnerWindow(window_.handle());
        commands_.setTools(settingsDialog_, fileDialog_, programStarter_,
                           ProcessInfo::executableFolder(), application_.ini().userData());
    });
    if (main_.unloaded())
        return 0;
    return QApplication::exec();
}
