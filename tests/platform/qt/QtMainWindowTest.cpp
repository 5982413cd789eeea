#include "platform/qt/QtMainWindow.h"
#include "platform/controls/MainMenu.h"
#include "platform/controls/MenuInput.h"
#include "platform/qt/QtTrayIcon.h"

#include <QMenu>
#include <QMenuBar>
#include <gtest/gtest.h>

namespace {

class RecordingMenuInput : public MenuInput {
  public:
    void menuChosen(MenuFamily family, int index) override { chosen.emplace_back(family, index); }
    std::vector<std::pair<MenuFamily, int>> chosen;
};

QStringList texts(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QMenu* submenu(QMenu* menu, const QString& caption) {
    for (QAction* a : menu->actions())
        if (a->text() == caption)
            return a->menu();
    return nullptr;
}

TEST(QtMainWindow, MenuBarShowsTheCaptionsAndItemsReachTheLogic) {
    MainMenu menus;
    RecordingMenuInput input;
    QtMainWindow window(2730, 3990);
    window.setMenus(menus, input);
    const QList<QAction*> tops = window.menuBar()->actions();
    ASSERT_EQ(tops.size(), 3);
    EXPECT_EQ(texts(tops), (QStringList{"ﾌｫﾙﾀﾞ(&F)", "開く(&O)", "表示(&D)"}));

    QMenu* folders = tops[0]->menu();
    EXPECT_EQ(texts(folders->actions()), (QStringList{"ﾌｫﾙﾀﾞの指定", "-", "最近開いたﾌｫﾙﾀﾞ",
                                                      "登録ﾌｫﾙﾀﾞ", "tvTools", "-", "終了(&X)"}));
    QMenu* registered = submenu(folders, "登録ﾌｫﾙﾀﾞ");
    ASSERT_TRUE(registered);
    EXPECT_EQ(texts(registered->actions()),
              (QStringList{"現在のﾌｫﾙﾀﾞを登録", "ﾌｫﾙﾀﾞを指定して登録"}))
        << "the placeholder and the separator are hidden while nothing is registered";

    // A folder registered meanwhile shows the next time the menu opens.
    menus[MenuFamily::Dir].setCaption(0, "/srv/data");
    menus[MenuFamily::Dir].setVisible(0, true);
    menus[MenuFamily::New].setVisible(0, true);
    emit registered->aboutToShow();
    EXPECT_EQ(texts(registered->actions()),
              (QStringList{"/srv/data", "-", "現在のﾌｫﾙﾀﾞを登録", "ﾌｫﾙﾀﾞを指定して登録"}));
    registered->actions()[0]->trigger();
    folders->actions()[6]->trigger();
    EXPECT_EQ(input.chosen, (std::vector<std::pair<MenuFamily, int>>{{MenuFamily::Dir, 0},
                                                                     {MenuFamily::Fold, 6}}));

    QMenu* view = submenu(tops[2]->menu(), "ﾌｫﾙﾀﾞｰの表示");
    ASSERT_TRUE(view);
    EXPECT_TRUE(view->actions()[1]->isChecked());
    EXPECT_FALSE(view->actions()[0]->isChecked());
}

TEST(QtTrayIcon, LeftAndRightClicksReachTheirHandlers) {
    QtTrayIcon tray;
    int left = 0;
    int right = 0;
    tray.setClickHandlers([&] { ++left; }, [&] { ++right; });
    emit tray.icon().activated(QSystemTrayIcon::Trigger);
    emit tray.icon().activated(QSystemTrayIcon::Context);
    emit tray.icon().activated(QSystemTrayIcon::Context);
    emit tray.icon().activated(QSystemTrayIcon::MiddleClick);
    EXPECT_EQ(left, 1);
    EXPECT_EQ(right, 2);
}

} // namespace
