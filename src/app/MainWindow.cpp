#include "app/MainWindow.h"

#include "app/Application.h"
#include "app/FolderBrowser.h"
#include "app/ShutdownStep.h"
#include "platform/MessageBox.h"
#include "platform/UiLoop.h"
#include "settings/ValueText.h"

MainWindow::MainWindow(Application& application, MainWindowView& view, UiLoop& loop,
                       FolderBrowser& browser)
    : application_(application), view_(view), loop_(loop), browser_(browser) {}

void MainWindow::show() {
    load();
    if (!unloaded_)
        view_.show();
}

void MainWindow::load() {
    if (loaded_)
        return;
    loaded_ = true;
    try {
        loadWindow();
    } catch (...) {
        loadFinished_ = true; // a later termination request must still end the program
        throw;
    }
    loadFinished_ = true;
    if (unloadAsked_)
        unload(askedEnding_);
}

void MainWindow::loadWindow() {
    WaitCursor busy(loop_);
    noArrange = true;
    retreatedToTray = false;
    browser_.attachHost(*this);
    workAreaRect = view_.workArea();
    browser_.setFilter("");
    browser_.loadParameters(application_.ini(), options);
    syncActiveFolder();
    placeAtLeftEdge();
    noArrange = false;
    loop_.processEvents();
}

int MainWindow::widthTwips() const {
    return static_cast<int>(
        ValueText::roundHalfEven(view_.frameGeometry().width() * view_.twipsPerPixelX()));
}

void MainWindow::setWidthTwips(int twips) {
    PixelRect frame = view_.frameGeometry();
    frame.right =
        frame.left + static_cast<int>(ValueText::roundHalfEven(twips / view_.twipsPerPixelX()));
    view_.setFrameGeometry(frame);
}

ToolPlace MainWindow::toolPlace() const {
    const PixelRect frame = view_.frameGeometry();
    const double tppX = view_.twipsPerPixelX();
    const double tppY = view_.twipsPerPixelY();
    ToolPlace place;
    place.left = widthTwips();
    place.top = static_cast<std::int32_t>(ValueText::roundHalfEven(frame.top * tppY));
    place.width = static_cast<std::int32_t>(ValueText::roundHalfEven(workAreaRect.right * tppX)) -
                  widthTwips();
    place.height = static_cast<std::int32_t>(ValueText::roundHalfEven(frame.height() * tppY));
    return place;
}

void MainWindow::placeAtLeftEdge() {
    const PixelRect current = view_.frameGeometry();
    PixelRect placed;
    placed.left = workAreaRect.left;
    placed.top = workAreaRect.top;
    placed.right = workAreaRect.left + current.width();
    placed.bottom = workAreaRect.bottom;
    view_.setFrameGeometry(placed);
}

void MainWindow::unload(Ending ending) {
    if (unloaded_)
        return;
    if (!loadFinished_) {
        unloadAsked_ = true;
        if (ending == Ending::BySession)
            askedEnding_ = ending;
        return;
    }
    unloaded_ = true;
    const bool byUser = ending == Ending::ByUser;
    // Each step goes on whatever the one before did: the settings are always written and
    // the program always ends.
    shutdownStep([&] { browser_.storeParameters(application_.ini(), options); });
    if (byUser)
        shutdownStep([&] { offerToCloseViewers(); });
    shutdownStep([&] {
        application_.endRun(retreatedToTray, view_,
                            byUser ? Application::Notices::Shown : Application::Notices::None);
    });
}

// The kept viewers still shown may be closed with the program; on No they stay.
void MainWindow::offerToCloseViewers() {
    if (policy_)
        policy_->adoptViewersLeftRunning();
    const std::string names = openViewerNames();
    if (!names.empty() && application_.messages().ask(names + "を閉じて良いですか"))
        policy_->closeViewers();
}

std::string MainWindow::openViewerNames() const {
    return policy_ ? policy_->openViewerNames() : std::string();
}

void MainWindow::syncActiveFolder() {
    MenuArray& dir = menus_[MenuFamily::Dir];
    MenuArray& copy = menus_[MenuFamily::DirE];
    const int last = copy.upperBound();
    const int used = dir.upperBound();
    for (int i = 0; i <= used; ++i) {
        if (!copy.exists(i)) {
            copy.ensure(i);
            copy.setVisible(i, true);
        }
        if (copy.caption(i) != dir.caption(i))
            copy.setCaption(i, dir.caption(i));
    }
    // Menu items are never destroyed: the surplus ones are hidden.
    for (int j = used + 1; j <= last; ++j)
        copy.setVisible(j, false);
}

void MainWindow::showMainWindow(bool shown) {
    noArrange = true;
    const bool tray = application_.trayAvailable();
    if (!shown && !retreatedToTray && tray) {
        application_.addTrayIcon("Tavrin");
        retreatedToTray = true;
    }
    if (view_.minimized() && shown)
        view_.restore();
    if (shown || tray)
        view_.setShown(shown);
    else
        view_.minimize();
    if (shown)
        application_.bringMainWindowForward(view_);
    noArrange = false;
}

void MainWindow::trayRightClicked() {
    application_.bringMainWindowForward(view_);
    loop_.processEvents();
    view_.popupOpenMenu();
}

void MainWindow::setOpenPolicy(OpenPolicy* policy) {
    policy_ = policy;
}

void MainWindow::resized() {
    if (noArrange || view_.minimized())
        return;
    // The browser fills the client area by itself; documents placed beside the window
    // follow its new width.
    if (policy_)
        policy_->placeDocumentWindow();
}

MessageBox::SaveChoice MainWindow::askToSave(std::string_view text) {
    return application_.messages().askToSave(text);
}

bool MainWindow::handlerBusy() const {
    return browser_.state().busy;
}

void MainWindow::setWaitCursor(bool on) {
    loop_.setWaitCursor(on);
}
