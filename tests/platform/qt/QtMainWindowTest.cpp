#include "platform/qt/QtMainWindow.h"
#include "controls/MainMenu.h"
#include "controls/MenuInput.h"
#include "platform/qt/QtTrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTest>
#include <functional>
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

namespace {

// A choice whose handling lets pending events run, deferred deletions included, as
// setting a root does; it notes whether the menu that delivered it still lives.
class EventRunningMenuInput : public MenuInput {
  public:
    void menuChosen(MenuFamily, int) override {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        menuAlive.push_back(!menu.isNull());
    }
    QPointer<QMenu> menu;
    std::vector<bool> menuAlive;
};

QAction* lastCommand(QMenu* menu) {
    QAction* found = nullptr;
    for (QAction* a : menu->actions())
        if (!a->isSeparator() && !a->menu() && a->isEnabled())
            found = a;
    return found;
}

} // namespace

TEST(QtMainWindow, APopupOutlivesTheHandlingOfItsOwnClickAndCanBeUsedAgain) {
    const std::vector<std::function<void(QtMainWindow&)>> popups = {
        [](QtMainWindow& w) { w.popupOpenMenu(); },     // the tray's menu
        [](QtMainWindow& w) { w.popupFolderMenu(2); },  // recent folders
        [](QtMainWindow& w) { w.popupFolderMenu(3); }}; // registered folders
    for (std::size_t kind = 0; kind < popups.size(); ++kind) {
        MainMenu menus;
        for (MenuFamily family : {MenuFamily::RcFd, MenuFamily::RcEx}) {
            menus[family].setCaption(0, "/home");
            menus[family].setVisible(0, true);
        }
        EventRunningMenuInput input;
        QtMainWindow window(2730, 3990);
        window.setMenus(menus, input);
        window.show();
        for (int round = 0; round < 2; ++round) {
            popups[kind](window);
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_TRUE(popup) << kind;
            input.menu = popup;
            // The tray's menu holds submenus only: the choice is made in the first one.
            QMenu* menu = kind == 0 ? popup->actions()[0]->menu() : popup;
            ASSERT_TRUE(menu) << kind;
            if (menu != popup)
                menu->popup(popup->geometry().topRight());
            QAction* command = lastCommand(menu);
            ASSERT_TRUE(command) << kind;
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(command).center());
            ASSERT_EQ(input.menuAlive.size(), static_cast<std::size_t>(round + 1)) << kind;
            EXPECT_TRUE(input.menuAlive.back()) << "popup " << kind << ", round " << round;
        }
    }
}

TEST(QtMainWindow, ReopeningAMenuDoesNotPileUpItsSubmenus) {
    MainMenu menus;
    RecordingMenuInput input;
    QtMainWindow window(2730, 3990);
    window.setMenus(menus, input);
    QMenu* open = window.menuBar()->actions()[1]->menu();
    const auto count = [&] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.findChildren<QMenu*>().size();
    };
    const auto before = count();
    for (int i = 0; i < 20; ++i)
        emit open->aboutToShow();
    EXPECT_EQ(count(), before);
}

TEST(QtMainWindow, ShowingAgainKeepsTheSizeAndPlaceTheUserGaveTheWindow) {
    QtMainWindow window(2730, 3990);
    window.setFrameGeometry({0, 0, 200, 500});
    window.show();
    QTest::qWait(300);
    window.setGeometry(40, 30, 320, 400);
    const QRect given = window.geometry();
    window.setShown(false);
    window.setShown(true);
    QTest::qWait(300);
    EXPECT_EQ(window.geometry(), given);
}
