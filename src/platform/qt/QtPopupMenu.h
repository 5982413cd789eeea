#pragma once

#include "platform/PopupMenuView.h"

class QMenu;
class QPoint;
class QWidget;

// Popup menus as QMenu, run modally with exec(): the menu lives on the stack of popUp()
// until after its chosen action has been read, so nothing deletes it while its own click
// is being handled.
class QtPopupMenu : public PopupMenuView {
  public:
    explicit QtPopupMenu(QWidget* parent) : parent_(parent) {}

    std::optional<int> popUp(const std::vector<PopupEntry>& entries, PopupPlace place) override;

    // The point where a menu opens: the pointer, or the current item of the focused view.
    static QPoint anchor(PopupPlace place);

  private:
    static void fill(QMenu& menu, const std::vector<PopupEntry>& entries);

    QWidget* parent_;
};
