#include "platform/qt/QtPopupMenu.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QScreen>
#include <algorithm>

namespace {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The top-left corner of a menu of `size` opened at `point`, moved so that the whole menu
// lies on the screen that holds the point.
QPoint onScreen(QPoint point, QSize size) {
    const QScreen* screen = QGuiApplication::screenAt(point);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return point;
    const QRect area = screen->availableGeometry();
    const int x =
        std::clamp(point.x(), area.left(), std::max(area.left(), area.right() - size.width()));
    const int y =
        std::clamp(point.y(), area.top(), std::max(area.top(), area.bottom() - size.height()));
    return {x, y};
}

} // namespace

QPoint QtPopupMenu::anchor(PopupPlace place) {
    if (place == PopupPlace::FocusItem) {
        if (auto* view = qobject_cast<QAbstractItemView*>(QApplication::focusWidget())) {
            const QRect item = view->visualRect(view->currentIndex());
            const QRect shown =
                item.isValid() ? item.intersected(view->viewport()->rect()) : QRect();
            const QPoint local =
                shown.isValid() ? shown.center() : view->viewport()->rect().center();
            return view->viewport()->mapToGlobal(local);
        }
    }
    return QCursor::pos();
}

void QtPopupMenu::fill(QMenu& menu, const std::vector<PopupEntry>& entries) {
    for (const PopupEntry& entry : entries) {
        if (entry.caption == "-") {
            menu.addSeparator();
        } else if (!entry.submenu.empty()) {
            QMenu* sub = menu.addMenu(text(entry.caption));
            fill(*sub, entry.submenu);
        } else {
            QAction* action = menu.addAction(text(entry.caption));
            action->setEnabled(entry.enabled);
            action->setData(entry.id);
        }
    }
}

std::optional<int> QtPopupMenu::popUp(const std::vector<PopupEntry>& entries, PopupPlace place) {
    QMenu menu(parent_);
    menu.setObjectName(QStringLiteral("ContextMenu"));
    fill(menu, entries);
    const QPoint at = onScreen(anchor(place), menu.sizeHint());
    const QAction* chosen = menu.exec(at);
    if (!chosen || !chosen->data().isValid())
        return std::nullopt;
    return chosen->data().toInt();
}
