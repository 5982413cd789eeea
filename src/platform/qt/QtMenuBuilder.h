#pragma once

#include "controls/MainMenu.h"

#include <vector>

class MenuInput;
class QMenu;
class QMenuBar;
class QString;
class QWidget;

// Builds the main window's menus from the menu model. Each menu is filled anew every time
// it opens, so the arrays the program fills (recent lists, registered folders, check
// marks) always show as they are; a chosen item becomes a MenuInput call.
class QtMenuBuilder {
  public:
    QtMenuBuilder(MainMenu& menus, MenuInput& input) : menus_(menus), input_(input) {}

    void fillBar(QMenuBar* bar);
    // A menu listing the families of top menu `top` (1: the open menu of the tray).
    QMenu* makeTopMenu(int top, QWidget* parent);
    // The submenu that item `index` of `family` opens; null for a command.
    QMenu* makeSubmenu(MenuFamily family, int index, QWidget* parent);

  private:
    QMenu* makeMenu(const QString& title, std::vector<MenuFamily> families, QWidget* parent);
    void fill(QMenu* menu, const std::vector<MenuFamily>& families);
    static void clearEntries(QMenu* menu);

    MainMenu& menus_;
    MenuInput& input_;
    // Choices being handled (pending events may run inside a handler).
    int handling_ = 0;
};
