#include "platform/qt/QtPopupMenu.h"
#include "actions/ActionsFixture.h"
#include "platform/qt/BrowserWidget.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtListModel.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtTreeModel.h"
#include "platform/qt/QtTreeView.h"
#include "platform/qt/ViewEvents.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// What a popup menu looked like when it came up: its captions with "+" for enabled, and
// whether it lay on the screen.
struct SeenMenu {
    std::vector<std::string> items;
    bool onScreen = false;
};

// Once a popup menu is up, records it and types `key` into it: an access key letter, or
// 0 for Escape.
void whenMenuShows(SeenMenu& seen, char key) {
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, &seen, key] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->stop();
        timer->deleteLater();
        for (const QAction* action : menu->actions())
            seen.items.push_back((action->isEnabled() ? "+" : "") + action->text().toStdString());
        seen.onScreen = menu->screen()->availableGeometry().contains(menu->geometry());
        if (key)
            QTest::keyClick(menu, key);
        else
            QTest::keyClick(menu, Qt::Key_Escape);
    });
    timer->start();
}

bool has(const SeenMenu& seen, const std::string& item) {
    return std::find(seen.items.begin(), seen.items.end(), item) != seen.items.end();
}

class QtPopupMenuTest : public ActionsFixture {
  protected:
    void SetUp() override {
        dir.mkdir("r/sub");
        dir.write("r/f.txt", "");
        browser.setRoot(dir / "r");
        ActionServices services;
        services.clipboard = &qtClipboard;
        services.popup = &qtPopup;
        browser.setActionServices(services);
        widget.resize(300, 500);
        widget.show();
        browser.showList(true);
    }
    QPoint rowCentre(const std::string& name) {
        QtListView* view = widget.listView();
        return view->visualRect(view->listModel()->indexOf(row(name))).center();
    }

    QtClipboard qtClipboard;
    BrowserWidget widget{browser.controls(), browser};
    QtPopupMenu qtPopup{&widget};
};

TEST_F(QtPopupMenuTest, ARightClickShowsTheMenuAndTheChosenItemIsDispatched) {
    selectRows({"sub"});
    SeenMenu seen;
    whenMenuShows(seen, 'c');
    ViewEvents::click(widget.listView()->viewport(), rowCentre("sub"), Qt::RightButton);
    EXPECT_TRUE(has(seen, "+貼り付け(&P)")) << "a folder row takes a paste";
    EXPECT_TRUE(has(seen, "+拡張ﾒﾆｭｰ"));
    EXPECT_TRUE(seen.onScreen);
    EXPECT_EQ(actions.calls, (std::vector<std::string>{"copy [" + (dir / "r/sub") + "]"}));
}

TEST_F(QtPopupMenuTest, EscapeDispatchesNothingAndTheTreeAsksTheClipboard) {
    SeenMenu onFile;
    whenMenuShows(onFile, 0);
    selectRows({"f.txt"});
    ViewEvents::click(widget.listView()->viewport(), rowCentre("f.txt"), Qt::RightButton);
    EXPECT_TRUE(has(onFile, "貼り付け(&P)")) << "disabled on a file row";
    EXPECT_TRUE(actions.calls.empty());

    auto* data = new QMimeData;
    data->setData(QStringLiteral("text/uri-list"), "file:///tmp/x\r\n");
    QGuiApplication::clipboard()->setMimeData(data);
    QtTreeView* tree = widget.treeView();
    const QPoint root =
        tree->visualRect(tree->treeModel()->indexOf(browser.controls().treeControl.firstNode()))
            .center();
    SeenMenu onNode;
    whenMenuShows(onNode, 0);
    ViewEvents::click(tree->viewport(), root, Qt::RightButton);
    EXPECT_TRUE(has(onNode, "+貼り付け(&P)")) << "files on the clipboard";
    EXPECT_TRUE(actions.calls.empty());
    EXPECT_FALSE(browser.state().busy);
}

} // namespace
