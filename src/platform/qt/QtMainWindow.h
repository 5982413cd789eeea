#pragma once

#include "platform/MainWindowView.h"

#include "platform/qt/QtMenuBuilder.h"

#include <QMainWindow>

class QMenu;
#include <functional>
#include <map>
#include <memory>
#include <optional>

// The main window "Tavrin". Closing it (close box, window manager, session end) calls
// the unload handler; the window is only really destroyed by closeAll().
class QtMainWindow : public QMainWindow, public MainWindowView {
    Q_OBJECT

  public:
    explicit QtMainWindow(int clientWidthTwips, int clientHeightTwips);

    void setUnloadHandler(std::function<void()> handler) { onUnload_ = std::move(handler); }

    PixelRect workArea() const override;
    double twipsPerPixelX() const override;
    double twipsPerPixelY() const override;
    PixelRect frameGeometry() const override;
    void setFrameGeometry(const PixelRect& rect) override;
    std::uintptr_t handle() const override;
    void show() override;
    bool minimized() const override { return isMinimized(); }
    void setShown(bool shown) override { setVisible(shown); }
    void minimize() override { showMinimized(); }
    void restore() override { showNormal(); }
    void popupOpenMenu() override;
    void popupFolderMenu(int index) override;
    // The menu bar and the tray's menu come from the menu model.
    void setMenus(MainMenu& menus, MenuInput& input);
    void setResizeHandler(std::function<void()> handler) { onResize_ = std::move(handler); }
    void bringToFront() override;
    void showWorking(bool on) override;
    void closeAll() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void applyFrameGeometry();

    std::function<void()> onUnload_;
    std::function<void()> onResize_;
    std::unique_ptr<QtMenuBuilder> menus_;
    QMenu* openPopup_ = nullptr;
    std::map<int, QMenu*> folderPopups_;
    std::optional<PixelRect> wantedFrame_;
    bool closing_ = false;
    bool shownOnce_ = false;
};
