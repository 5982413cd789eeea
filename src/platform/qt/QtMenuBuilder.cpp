#include "platform/qt/QtMenuBuilder.h"

#include "controls/MenuInput.h"
#include "platform/qt/Guarded.h"

#include <QMenu>
#include <QMenuBar>

namespace {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

} // namespace

void QtMenuBuilder::fillBar(QMenuBar* bar) {
    for (int top = 0; top < 3; ++top)
        bar->addMenu(makeTopMenu(top, bar));
}

QMenu* QtMenuBuilder::makeTopMenu(int top, QWidget* parent) {
    const std::string_view caption = MainMenu::topCaption(top);
    return makeMenu(text(std::string(caption)), MainMenu::topFamilies(top), parent);
}

QMenu* QtMenuBuilder::makeSubmenu(MenuFamily family, int index, QWidget* parent) {
    const auto families = MainMenu::submenuOf(family, index);
    if (families.empty())
        return nullptr;
    return makeMenu(text(menus_[family].caption(index)), families, parent);
}

QMenu* QtMenuBuilder::makeMenu(const QString& title, std::vector<MenuFamily> families,
                               QWidget* parent) {
    auto* menu = new QMenu(title, parent);
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     [this, menu, families] { fill(menu, families); });
    // A menu that is never opened still needs its entries for keyboard shortcuts.
    fill(menu, families);
    return menu;
}

void QtMenuBuilder::clearEntries(QMenu* menu) {
    // The old entries and submenus go once the event loop is back: the entry being
    // chosen may still be handling its click.
    for (QAction* action : menu->actions()) {
        menu->removeAction(action);
        if (QMenu* sub = action->menu())
            sub->deleteLater();
        else if (action->parent() == menu)
            action->deleteLater();
    }
}

void QtMenuBuilder::fill(QMenu* menu, const std::vector<MenuFamily>& families) {
    // A menu opened again while one of its choices is still being handled keeps its
    // entries as they are.
    if (handling_ > 0)
        return;
    clearEntries(menu);
    for (MenuFamily family : families) {
        const MenuArray& array = menus_[family];
        for (int index : array.indexes()) {
            if (!array.visible(index))
                continue;
            const std::string& caption = array.caption(index);
            if (caption == "-") {
                menu->addSeparator();
                continue;
            }
            const auto sub = MainMenu::submenuOf(family, index);
            if (!sub.empty()) {
                menu->addMenu(makeMenu(text(caption), sub, menu));
                continue;
            }
            QAction* action = menu->addAction(text(caption));
            action->setCheckable(array.checked(index));
            action->setChecked(array.checked(index));
            action->setEnabled(array.enabled(index));
            QObject::connect(action, &QAction::triggered, menu, [this, family, index] {
                ++handling_;
                guarded("menu", [&] { input_.menuChosen(family, index); });
                --handling_;
            });
        }
    }
}
