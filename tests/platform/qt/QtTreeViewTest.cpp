#include "platform/qt/QtTreeView.h"

#include "controls/ImageList.h"
#include "controls/TreeControl.h"
#include "platform/qt/QtImageCache.h"
#include "platform/qt/QtTreeModel.h"
#include "platform/qt/RecordingBrowserInput.h"
#include "platform/qt/ViewEvents.h"

#include <QBrush>
#include <QDragEnterEvent>
#include <QFont>
#include <QIcon>
#include <QLineEdit>
#include <QMimeData>
#include <QPalette>
#include <QTest>
#include <QToolTip>
#include <gtest/gtest.h>

namespace {

class QtTreeViewTest : public ::testing::Test {
  protected:
    QtTreeViewTest() : cache(images), view(tree, cache, input) {
        images.add("ICON:folder", "folder");
        tree.add("", TreeRelation::Child, "N0000", "/home/u", "ICON:folder");
        tree.add("N0000", TreeRelation::Child, "N0001", "a", "ICON:folder");
        tree.add("N0001", TreeRelation::Child, "N0002", "?");
        tree.add("N0000", TreeRelation::Child, "N0003", "b, <c> & d", "ICON:folder");
        view.resize(300, 400);
        view.show();
    }

    QModelIndex indexOf(const std::string& key) const {
        return view.treeModel()->indexOf(tree.find(key));
    }
    QPoint centreOf(const std::string& key) const { return view.visualRect(indexOf(key)).center(); }

    ImageList images;
    TreeControl tree;
    RecordingBrowserInput input;
    QtImageCache cache;
    QtTreeView view;
};

} // namespace

TEST_F(QtTreeViewTest, ShowsTheNodesWithTheirAttributes) {
    QtTreeModel* model = view.treeModel();
    ASSERT_EQ(model->rowCount(), 1);
    const QModelIndex root = model->index(0, 0);
    EXPECT_EQ(model->data(root, Qt::DisplayRole).toString(), "/home/u");
    EXPECT_EQ(model->rowCount(root), 2);
    EXPECT_EQ(model->data(model->index(1, 0, root), Qt::DisplayRole).toString(), "b, <c> & d");
    EXPECT_FALSE(model->data(root, Qt::DecorationRole).value<QIcon>().isNull());
    EXPECT_FALSE(
        model->data(model->index(0, 0, model->index(0, 0, root)), Qt::DecorationRole).isValid());

    tree.setBold(tree.find("N0003"), true);
    tree.setForeColour(tree.find("N0003"), rgb(0, 64, 64));
    tree.setBackColour(tree.find("N0003"), rgb(128, 128, 128));
    const QModelIndex b = indexOf("N0003");
    EXPECT_TRUE(model->data(b, Qt::FontRole).value<QFont>().bold());
    EXPECT_EQ(model->data(b, Qt::ForegroundRole).value<QBrush>().color(), QColor(0, 64, 64));
    EXPECT_EQ(model->data(b, Qt::BackgroundRole).value<QBrush>().color(), QColor(128, 128, 128));
    EXPECT_FALSE(model->data(indexOf("N0001"), Qt::ForegroundRole).isValid());
}

TEST_F(QtTreeViewTest, FollowsInsertionsRemovalsAndClearing) {
    QtTreeModel* model = view.treeModel();
    tree.add("N0003", TreeRelation::Previous, "N0004", "a2");
    EXPECT_EQ(model->data(model->index(1, 0, indexOf("N0000")), Qt::DisplayRole).toString(), "a2");
    tree.remove("N0001");
    EXPECT_EQ(model->rowCount(indexOf("N0000")), 2);
    EXPECT_EQ(indexOf("N0003").row(), 1);
    EXPECT_EQ(model->parent(indexOf("N0003")), indexOf("N0000"));
    tree.clear();
    EXPECT_EQ(model->rowCount(), 0);
}

TEST_F(QtTreeViewTest, ProgramExpansionAndSelectionShowWithoutCallingTheLogic) {
    tree.expand(tree.find("N0000"));
    tree.select(tree.find("N0003"));
    EXPECT_TRUE(view.isExpanded(indexOf("N0000")));
    EXPECT_EQ(view.currentIndex(), indexOf("N0003"));
    EXPECT_TRUE(view.selectionModel()->isSelected(indexOf("N0003")));
    EXPECT_TRUE(input.calls.empty());
    // A node expanded before it has children opens when they come.
    tree.add("N0003", TreeRelation::Child, "N0005", "inner");
    tree.expand(tree.find("N0003"));
    EXPECT_TRUE(view.isExpanded(indexOf("N0003")));
    // Removing the selected node leaves no selection rather than a neighbour.
    tree.remove("N0003");
    EXPECT_EQ(tree.selected(), nullptr);
    EXPECT_FALSE(view.currentIndex().isValid());
    EXPECT_TRUE(input.calls.empty());
}

TEST_F(QtTreeViewTest, UserExpansionReachesTheControlAndTheLogic) {
    tree.expand(tree.find("N0000"));
    view.expand(indexOf("N0001"));
    EXPECT_TRUE(tree.find("N0001")->expanded());
    view.collapse(indexOf("N0001"));
    EXPECT_FALSE(tree.find("N0001")->expanded());
    EXPECT_EQ(input.calls,
              (std::vector<std::string>{"tree expanding N0001", "tree collapsed N0001"}));
}

TEST_F(QtTreeViewTest, PressesReportTheNodeAndOnlyTheLeftButtonSelects) {
    tree.expand(tree.find("N0000"));
    tree.select(tree.find("N0000"));
    ViewEvents::click(view.viewport(), centreOf("N0003"), Qt::RightButton, Qt::ShiftModifier);
    EXPECT_EQ(tree.selected()->key(), "N0000");
    ViewEvents::click(view.viewport(), centreOf("N0001"));
    EXPECT_EQ(tree.selected()->key(), "N0001");
    ViewEvents::click(view.viewport(), QPoint(150, 390));
    EXPECT_EQ(input.callsStartingWith("tree press"),
              (std::vector<std::string>{"tree press N0003 2 1", "tree press N0001 1 0",
                                        "tree press  1 0"}));
    EXPECT_EQ(input.callsStartingWith("tree release").size(), 3u);
}

TEST_F(QtTreeViewTest, DoubleClickIsReportedAndTheViewLeavesTheToggleToTheLogic) {
    tree.expand(tree.find("N0000"));
    ViewEvents::doubleClick(view.viewport(), centreOf("N0001"));
    EXPECT_FALSE(view.isExpanded(indexOf("N0001")));
    EXPECT_FALSE(tree.find("N0001")->expanded());
    EXPECT_EQ(input.callsStartingWith("tree double-click"),
              (std::vector<std::string>{"tree double-click N0001"}));
    EXPECT_EQ(input.callsStartingWith("tree expanding"), std::vector<std::string>{});
}

TEST_F(QtTreeViewTest, MarksFollowTheThemesColours) {
    tree.setForeColour(tree.find("N0000"), systemColour(SystemColour::WindowBackground));
    tree.setBackColour(tree.find("N0000"), systemColour(SystemColour::MenuText));
    const QModelIndex root = indexOf("N0000");
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Base, QColor(20, 20, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 200));
    QApplication::setPalette(dark);
    EXPECT_EQ(view.model()->data(root, Qt::ForegroundRole).value<QBrush>().color(),
              QColor(20, 20, 30));
    EXPECT_EQ(view.model()->data(root, Qt::BackgroundRole).value<QBrush>().color(),
              QColor(230, 230, 200));
    QApplication::setPalette(original);
}

TEST_F(QtTreeViewTest, ASelectedNodeIsScrolledIntoSightAlsoWhenSelectedBeforeShowing) {
    for (int i = 0; i < 200; ++i)
        tree.add("N0000", TreeRelation::Child, "M" + std::to_string(i), "m" + std::to_string(i));
    const auto inSight = [&](const std::string& key) {
        return view.viewport()->rect().contains(view.visualRect(indexOf(key)));
    };
    tree.select(tree.find("M150"));
    EXPECT_TRUE(inSight("M150"));

    view.hide();
    tree.select(tree.find("M10"));
    view.show();
    ViewEvents::settle();
    EXPECT_TRUE(inSight("M10"));
}

TEST_F(QtTreeViewTest, ASelectionMovedByKeysReachesTheLogicAsAPressOnceTheKeysRest) {
    tree.expand(tree.find("N0000"));
    tree.select(tree.find("N0000"));
    view.setFocus();
    ViewEvents::key(&view, Qt::Key_Down);
    ViewEvents::key(&view, Qt::Key_Down);
    EXPECT_EQ(tree.selected()->key(), "N0003");
    EXPECT_TRUE(input.callsStartingWith("tree press").empty()) << "not while keys move on";
    QTest::qWait(QtTreeView::kKeyFollowMs * 2);
    EXPECT_EQ(input.callsStartingWith("tree press"),
              (std::vector<std::string>{"tree press N0003 1 0"}));
}

TEST_F(QtTreeViewTest, ANameCutOffByThePaneShowsWholeAsTheTooltip) {
    const std::string name(80, 'x');
    tree.add("N0000", TreeRelation::Child, "N0009", name);
    tree.expand(tree.find("N0000"));
    view.resize(120, 200);
    const auto tipAt = [&](const std::string& key) {
        QHelpEvent help(QEvent::ToolTip, centreOf(key),
                        view.viewport()->mapToGlobal(centreOf(key)));
        QApplication::sendEvent(view.viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text().toStdString() : std::string();
    };
    EXPECT_EQ(tipAt("N0001"), "") << "a name that fits has no tooltip";
    EXPECT_EQ(tipAt("N0009"), name);
}

TEST_F(QtTreeViewTest, LabelEditsGoToTheLogicWhichAcceptsOrRefuses) {
    tree.expand(tree.find("N0000"));
    tree.startLabelEdit(tree.find("N0003"));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("renamed");
    ViewEvents::key(editor, Qt::Key_Return);
    ViewEvents::settle();
    EXPECT_EQ(tree.find("N0003")->text(), "renamed");

    input.acceptLabelEdits = false;
    tree.startLabelEdit(tree.find("N0001"));
    editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("refused");
    ViewEvents::key(editor, Qt::Key_Return);
    ViewEvents::settle();
    EXPECT_EQ(tree.find("N0001")->text(), "a");

    tree.startLabelEdit(tree.find("N0001"));
    editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    ViewEvents::key(editor, Qt::Key_Escape);
    ViewEvents::settle();
    EXPECT_EQ(input.callsStartingWith("tree edited"),
              (std::vector<std::string>{"tree edited N0003 renamed", "tree edited N0001 refused",
                                        "tree edited N0001 <abandoned>"}));
}

TEST_F(QtTreeViewTest, KeysAndDropsReachTheLogic) {
    tree.expand(tree.find("N0000"));
    ViewEvents::key(&view, Qt::Key_Delete);
    ViewEvents::key(&view, Qt::Key_Return);
    EXPECT_EQ(input.callsStartingWith("tree key"),
              (std::vector<std::string>{"tree key 0", "tree key 1"}));

    auto* data = new QMimeData;
    data->setData("text/uri-list", "file:///tmp/a%20b\r\nfile:///tmp/c%0Ad\r\n");
    // Qt delivers a drop to the widget that accepted the drag's entry.
    QDragEnterEvent enter(centreOf("N0001"), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(view.viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(centreOf("N0003")), Qt::CopyAction | Qt::MoveAction, data,
                    Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(view.viewport(), &drop);
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(input.callsStartingWith("tree drag"),
              (std::vector<std::string>{"tree drag N0001 0"}));
    EXPECT_EQ(input.callsStartingWith("tree drop"),
              (std::vector<std::string>{"tree drop N0003 [/tmp/a b][/tmp/c\nd] 1"}));
    delete data;
}

namespace {

// A logic that loads children when a node opens and rebuilds a node after a rename, as
// the browser does: the tree changes inside the input calls.
class LoadingInput : public RecordingBrowserInput {
  public:
    explicit LoadingInput(TreeControl& tree) : tree_(tree) {}

    void treeNodeExpanding(const std::string& key) override {
        RecordingBrowserInput::treeNodeExpanding(key);
        TreeNode* node = tree_.find(key);
        if (node->firstChild() && node->firstChild()->text() == "?") {
            tree_.remove(node->firstChild());
            for (int i = 0; i < 3; ++i) {
                tree_.add(key, TreeRelation::Child, key + "-" + std::to_string(i), "c");
            }
        }
    }
    bool treeLabelEdited(const std::string& key, const std::optional<std::string>& text) override {
        RecordingBrowserInput::treeLabelEdited(key, text);
        TreeNode* node = tree_.find(key);
        const std::string parent = node->parent()->key();
        tree_.remove(node);
        tree_.add(parent, TreeRelation::Child, "fresh", *text);
        return true;
    }

  private:
    TreeControl& tree_;
};

} // namespace

TEST(QtTreeViewChangesTest, TheLogicMayRebuildNodesInsideItsInputCalls) {
    ImageList images;
    TreeControl tree;
    LoadingInput input(tree);
    QtImageCache cache(images);
    QtTreeView view(tree, cache, input);
    tree.add("", TreeRelation::Child, "R", "/");
    tree.add("R", TreeRelation::Child, "A", "a");
    tree.add("A", TreeRelation::Child, "D", "?");
    tree.expand(tree.find("R"));
    view.resize(200, 300);
    view.show();

    const QModelIndex a = view.treeModel()->indexOf(tree.find("A"));
    view.expand(a);
    EXPECT_EQ(view.treeModel()->rowCount(a), 3);
    EXPECT_TRUE(view.isExpanded(a));
    EXPECT_EQ(tree.find("D"), nullptr);

    tree.startLabelEdit(tree.find("A-1"));
    auto* editor = view.findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->setText("b");
    ViewEvents::key(editor, Qt::Key_Return);
    ViewEvents::settle();
    EXPECT_EQ(tree.find("A-1"), nullptr);
    EXPECT_EQ(tree.find("fresh")->text(), "b");
    EXPECT_EQ(view.treeModel()->rowCount(a), 3);
}

TEST_F(QtTreeViewTest, TheExpandButtonIsNotTheNode) {
    tree.expand(tree.find("N0000"));
    const QRect row = view.visualRect(indexOf("N0001"));
    // The branch area left of the item holds the expand button.
    ViewEvents::click(view.viewport(),
                      QPoint(row.left() - view.indentation() / 2, row.center().y()));
    EXPECT_TRUE(tree.find("N0001")->expanded());
    EXPECT_EQ(input.callsStartingWith("tree press"), (std::vector<std::string>{"tree press  1 0"}));
    EXPECT_EQ(input.callsStartingWith("tree expanding"),
              (std::vector<std::string>{"tree expanding N0001"}));
}

TEST_F(QtTreeViewTest, UndecidedRowsInSightAreReportedOnceThePaintIsOver) {
    tree.expand(tree.find("N0000"));
    tree.setUndecided(tree.find("N0003"), true);
    for (int i = 0; i < 200; ++i) {
        const std::string key = "M" + std::to_string(i);
        tree.add("N0000", TreeRelation::Child, key, key);
        tree.setUndecided(tree.find(key), true);
    }
    QApplication::processEvents(); // lays the rows out
    tree.setUndecided(tree.find("N0003"), true);
    input.calls.clear();
    view.viewport()->repaint();
    EXPECT_TRUE(input.calls.empty()) << "nothing is reported inside the paint";
    QApplication::processEvents();
    ASSERT_EQ(input.calls.size(), 1u);
    const std::string& shown = input.calls.front();
    EXPECT_EQ(shown.rfind("tree shown [N0003][M0]", 0), 0u) << shown;
    EXPECT_NE(shown.find("[M1]"), std::string::npos);
    EXPECT_EQ(shown.find("[M199]"), std::string::npos) << "rows out of sight are left undecided";
}
