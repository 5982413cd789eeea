#include "platform/qt/QtListView.h"

#include "controls/BrowserControls.h"
#include "platform/qt/QtImageCache.h"
#include "platform/qt/QtListModel.h"
#include "platform/qt/RecordingBrowserInput.h"
#include "platform/qt/ViewEvents.h"

#include <QBrush>
#include <QHeaderView>
#include <QIcon>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

ListItemData row(std::string key, std::string name, std::string sortKey) {
    ListItemData data;
    data.key = std::move(key);
    data.text = std::move(name);
    data.icon = "new";
    data.column1 = "24/01/02 10:00";
    data.column3 = std::move(sortKey);
    return data;
}

// Counts the paint events a widget gets.
class PaintCounter : public QObject {
  public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int count = 0;
};

class QtListViewTest : public ::testing::Test {
  protected:
    QtListViewTest() : cache(controls.imgLst), view(controls.listControl, cache, input) {
        ListItemData file = row("L003", "b.txt", "Lb.txt");
        file.column2 = "       2 KB";
        file.toolTip = "更新:2024/01/02 作成:2024/01/01 ｻｲｽﾞ:1,500";
        file.foreColour = rgb(0, 64, 64);
        list().addItems({row("L001", "sub", "Dsub"), row("L002", "a.txt", "La.txt"), file});
        view.resize(400, 300);
        view.show();
    }

    ListControl& list() { return controls.listControl; }
    QPoint centreOf(const std::string& key) {
        return view.visualRect(view.listModel()->indexOf(list().find(key))).center();
    }

    BrowserControls controls;
    RecordingBrowserInput input;
    QtImageCache cache;
    QtListView view;
};

} // namespace

TEST_F(QtListViewTest, ShowsColumnsTooltipsAndColours) {
    QtListModel* model = view.listModel();
    ASSERT_EQ(model->rowCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "名前");
    EXPECT_EQ(model->headerData(2, Qt::Horizontal, Qt::DisplayRole).toString(), "ｻｲｽﾞ");
    EXPECT_TRUE(view.isColumnHidden(3));
    EXPECT_FALSE(view.isColumnHidden(2));
    EXPECT_EQ(view.header()->sectionSize(0), controls.listControl.column(0).width);
    const QModelIndex size = model->index(2, 2);
    EXPECT_EQ(model->data(size, Qt::DisplayRole).toString(), "       2 KB");
    EXPECT_TRUE(model->data(size, Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_EQ(model->data(model->index(2, 0), Qt::ToolTipRole).toString(),
              "更新:2024/01/02 作成:2024/01/01 ｻｲｽﾞ:1,500");
    EXPECT_EQ(model->data(model->index(2, 0), Qt::ForegroundRole).value<QBrush>().color(),
              QColor(0, 64, 64));
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::ForegroundRole).isValid());
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::DecorationRole).value<QIcon>().isNull());

    EXPECT_FALSE(model->headerData(0, Qt::Horizontal, Qt::DecorationRole).isValid());
    list().setColumnHeaderImage(0, "Up");
    EXPECT_FALSE(model->headerData(0, Qt::Horizontal, Qt::DecorationRole).value<QIcon>().isNull());
    list().setColumnWidth(1, 123);
    EXPECT_EQ(view.header()->sectionSize(1), 123);
    view.header()->resizeSection(2, 77);
    EXPECT_EQ(list().column(2).width, 77);
}

TEST_F(QtListViewTest, ABulkAddOfAHundredThousandRowsIsOneInsertion) {
    list().clear();
    int insertions = 0;
    QObject::connect(view.listModel(), &QAbstractItemModel::rowsInserted,
                     [&](const QModelIndex&, int first, int last) {
                         ++insertions;
                         EXPECT_EQ(first, 0);
                         EXPECT_EQ(last, 99999);
                     });
    std::vector<ListItemData> items;
    items.reserve(100000);
    for (int i = 1; i <= 100000; ++i) {
        ListItemData data;
        data.key = "L" + std::to_string(i);
        data.text = "file" + std::to_string(i) + ".txt";
        items.push_back(std::move(data));
    }
    list().addItems(std::move(items));
    EXPECT_EQ(insertions, 1);
    EXPECT_EQ(view.listModel()->rowCount(), 100000);
    EXPECT_EQ(view.listModel()->data(view.listModel()->index(99999, 0), Qt::DisplayRole),
              "file100000.txt");
}

TEST_F(QtListViewTest, SelectionFollowsTheControlAndSurvivesSorting) {
    list().setCurrent(list().find("L002"));
    list().setSelected(list().find("L003"), true);
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 2);
    list().setSortKey(3);
    list().setSortOrder(SortOrder::Descending);
    list().setSorted(true);
    // L003 (Lb.txt), L002 (La.txt), L001 (Dsub)
    const QModelIndex current = view.currentIndex();
    EXPECT_EQ(current.row(), 1);
    EXPECT_EQ(view.listModel()->itemOf(current)->key(), "L002");
    EXPECT_TRUE(view.selectionModel()->isRowSelected(0, {}));
    EXPECT_FALSE(view.selectionModel()->isRowSelected(2, {}));

    ViewEvents::click(view.viewport(), centreOf("L001"));
    ASSERT_EQ(list().selectedItems().size(), 1u);
    EXPECT_EQ(list().selectedItems()[0]->key(), "L001");
    EXPECT_EQ(list().current()->key(), "L001");
    ViewEvents::click(view.viewport(), centreOf("L003"), Qt::LeftButton, Qt::ControlModifier);
    EXPECT_EQ(list().selectedItems().size(), 2u);
    EXPECT_EQ(input.callsStartingWith("list press"),
              (std::vector<std::string>{"list press L001 1 0", "list press L003 1 2"}));
}

TEST_F(QtListViewTest, HeaderClicksDoubleClicksAndKeysReachTheLogic) {
    QHeaderView* header = view.header();
    const QPoint onName(header->sectionViewportPosition(0) + 10, header->height() / 2);
    ViewEvents::click(header->viewport(), onName);
    const QPoint onSize(header->sectionViewportPosition(2) + 10, header->height() / 2);
    ViewEvents::click(header->viewport(), onSize);
    EXPECT_EQ(input.callsStartingWith("list header"),
              (std::vector<std::string>{"list header 1", "list header 3"}));
    // The list does not sort by itself.
    EXPECT_EQ(list().itemAt(1)->key(), "L001");

    ViewEvents::doubleClick(view.viewport(), centreOf("L002"));
    EXPECT_EQ(input.callsStartingWith("list double-click"),
              (std::vector<std::string>{"list double-click L002"}));
    ViewEvents::key(&view, Qt::Key_Return);
    ViewEvents::key(&view, Qt::Key_Delete);
    EXPECT_EQ(input.callsStartingWith("list key"),
              (std::vector<std::string>{"list key 1", "list key 0"}));
}

TEST_F(QtListViewTest, LabelEditsGoToTheLogic) {
    list().startLabelEdit(list().find("L002"));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("c.txt");
    ViewEvents::key(editor, Qt::Key_Return);
    ViewEvents::settle();
    EXPECT_EQ(list().find("L002")->text(), "c.txt");
    EXPECT_EQ(input.callsStartingWith("list edited"),
              (std::vector<std::string>{"list edited L002 c.txt"}));
}

TEST_F(QtListViewTest, RemovalsAndResetsKeepTheScreenInStep) {
    list().setCurrent(list().find("L002"));
    list().remove("L002");
    EXPECT_EQ(view.listModel()->rowCount(), 2);
    EXPECT_FALSE(view.currentIndex().isValid());
    EXPECT_EQ(list().current(), nullptr);
    ViewEvents::settle();
    PaintCounter paints(view.viewport());
    list().clear();
    EXPECT_EQ(view.listModel()->rowCount(), 0);
    ViewEvents::settle();
    EXPECT_GT(paints.count, 0) << "the cleared list is drawn again, not left showing its rows";
    EXPECT_TRUE(input.calls.empty());
}

TEST_F(QtListViewTest, TheFirstVisibleRowIsKeptAndCanBeRestored) {
    std::vector<ListItemData> more;
    for (int i = 4; i <= 500; ++i) {
        more.push_back(row("L" + std::to_string(i), "f" + std::to_string(i), "Lf"));
    }
    list().addItems(std::move(more));
    list().setTopItem(list().find("L300"));
    EXPECT_EQ(view.listModel()->itemOf(view.indexAt(QPoint(1, 1)))->key(), "L300");
    view.scrollToTop();
    EXPECT_EQ(list().topItem()->key(), "L001");
    list().ensureVisible(list().find("L450"));
    EXPECT_TRUE(view.viewport()->rect().intersects(
        view.visualRect(view.listModel()->indexOf(list().find("L450")))));
    EXPECT_NE(list().topItem()->key(), "L001");
}

TEST_F(QtListViewTest, ABatchOfChangedRowsRepaintsTheRowsInSight) {
    std::vector<ListItemData> more;
    for (int i = 4; i <= 1000; ++i) {
        more.push_back(row("L" + std::to_string(i), "f" + std::to_string(i), "Lf"));
    }
    list().addItems(std::move(more));
    ViewEvents::settle();
    for (const int rows : {3, 1000}) {
        PaintCounter paints(view.viewport());
        list().beginChanges();
        for (int i = 1; i <= rows; ++i) {
            list().setColumnTexts(list().itemAt(i), "25/12/31 23:59", std::to_string(rows) + "B");
        }
        list().endChanges();
        ViewEvents::settle();
        EXPECT_GT(paints.count, 0) << rows << " changed rows";
        EXPECT_EQ(view.listModel()
                      ->data(view.listModel()->index(rows - 1, 2), Qt::DisplayRole)
                      .toString(),
                  QString::number(rows) + "B");
    }
}
