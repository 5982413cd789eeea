#include "platform/qt/QtMainWindow.h"

#include "platform/qt/Guarded.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <cmath>

namespace {

QScreen* primaryScreen() {
    return QGuiApplication::primaryScreen();
}

int pixelsOf(int twips, double twipsPerPixel) {
    return static_cast<int>(std::nearbyint(twips / twipsPerPixel));
}

} // namespace

QtMainWindow::QtMainWindow(int clientWidthTwips, int clientHeightTwips) {
    setWindowTitle(QStringLiteral("Tavrin"));
    resize(pixelsOf(clientWidthTwips, twipsPerPixelX()),
           pixelsOf(clientHeightTwips, twipsPerPixelY()));
}

PixelRect QtMainWindow::workArea() const {
    const QRect r = primaryScreen() ? primaryScreen()->availableGeometry() : QRect(0, 0, 800, 600);
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

double QtMainWindow::twipsPerPixelX() const {
    const double dpi = primaryScreen() ? primaryScreen()->logicalDotsPerInchX() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

double QtMainWindow::twipsPerPixelY() const {
    const double dpi = primaryScreen() ? primaryScreen()->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

PixelRect QtMainWindow::frameGeometry() const {
    const QRect r = QMainWindow::frameGeometry();
    return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void QtMainWindow::setFrameGeometry(const PixelRect& rect) {
    wantedFrame_ = rect;
    applyFrameGeometry();
}

void QtMainWindow::applyFrameGeometry() {
    if (!wantedFrame_)
        return;
    // The frame's size is known only once the window manager has decorated the window;
    // until then the client area takes the whole rectangle.
    const QRect frame = QMainWindow::frameGeometry();
    const int extraW = frame.width() - width();
    const int extraH = frame.height() - height();
    move(wantedFrame_->left, wantedFrame_->top);
    resize(std::max(1, wantedFrame_->width() - extraW),
           std::max(1, wantedFrame_->height() - extraH));
}

std::uintptr_t QtMainWindow::handle() const {
    return static_cast<std::uintptr_t>(winId());
}

void QtMainWindow::show() {
    QMainWindow::show();
}

void QtMainWindow::bringToFront() {
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void QtMainWindow::closeAll() {
    closing_ = true;
    QApplication::closeAllWindows();
    QCoreApplication::quit();
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (closing_) {
        event->accept();
        return;
    }
    event->ignore();
    if (onUnload_)
        onUnload_();
}

void QtMainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // Re-apply once the decorations are known, so the outer height is the work area's.
    // Later shows keep whatever size and place the user gave the window.
    QTimer::singleShot(200, this, [this] {
        applyFrameGeometry();
        wantedFrame_.reset();
    });
}

void QtMainWindow::setMenus(MainMenu& menus, MenuInput& input) {
    for (auto& [index, menu] : folderPopups_)
        delete menu;
    folderPopups_.clear();
    delete openPopup_;
    openPopup_ = nullptr;
    menuBar()->clear();
    menus_ = std::make_unique<QtMenuBuilder>(menus, input);
    menus_->fillBar(menuBar());
}

// The popups are kept for the window's life and refilled as they open: a choice may let
// pending events run, and the menu that delivers it must outlive its handling.
void QtMainWindow::popupOpenMenu() {
    if (!menus_)
        return;
    if (!openPopup_)
        openPopup_ = menus_->makeTopMenu(1, this);
    openPopup_->popup(QCursor::pos());
}

void QtMainWindow::popupFolderMenu(int index) {
    if (!menus_)
        return;
    QMenu*& menu = folderPopups_[index];
    if (!menu)
        menu = menus_->makeSubmenu(MenuFamily::Fold, index, this);
    if (menu)
        menu->popup(QCursor::pos());
}

void QtMainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (onResize_)
        guarded("resize", onResize_);
}

void QtMainWindow::showWorking(bool on) {
    if (on)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}
