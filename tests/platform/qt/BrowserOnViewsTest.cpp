#include "actions/ActionsFixture.h"
#include "actions/RecordingService.h"
#include "platform/qt/BrowserWidget.h"
#include "platform/qt/QtListModel.h"
#include "platform/qt/QtListView.h"
#include "platform/qt/QtPaneInput.h"
#include "platform/qt/QtTreeModel.h"
#include "platform/qt/QtTreeView.h"
#include "platform/qt/ViewEvents.h"

#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <filesystem>

namespace {

// The browser's logic driven through its real views, on a real folder: presses, keys and
// editors as the window system delivers them. The file-operation service does its work
// on the disk at once; `during` runs where it would ask its question.
class BrowserOnViewsTest : public ActionsFixture {
  protected:
    BrowserOnViewsTest() {
        dir.mkdir("r/a/inner");
        dir.mkdir("r/b/old");
        dir.write("r/note.txt", "n");
        dir.write("r/taken.txt", "t");
        dir.mkdir("out/pasted");
        service.effect = [this](const FileOperationRequest& request) { work(request); };
        browser.setFileOperationService(&service);
        browser.setFileActions(browser.fileOperations());
        browser.showList(true);
        browser.setRoot(dir / "r");
        widget.resize(300, 600);
        widget.show();
        ViewEvents::settle();
    }

    void work(const FileOperationRequest& request) {
        if (during)
            during();
        namespace fs = std::filesystem;
        for (const std::string& source : request.sources) {
            if (!service.result)
                return;
            const fs::path to = fs::path(request.destination) / fs::path(source).filename();
            if (request.kind == FileOperationKind::Delete)
                fs::remove_all(source);
            else if (request.kind == FileOperationKind::Move)
                fs::rename(source, to);
            else
                fs::copy(source, to, fs::copy_options::recursive);
        }
    }

    QtTreeView* tree() { return widget.treeView(); }
    QtListView* list() { return widget.listView(); }
    QPoint nodeCentre(const std::string& relative) {
        const QModelIndex index = tree()->treeModel()->indexOf(nodeAtPath(dir / relative));
        tree()->scrollTo(index);
        return tree()->visualRect(index).center();
    }
    QPoint rowCentre(const std::string& name) {
        return list()->visualRect(list()->listModel()->indexOf(row(name))).center();
    }
    void clickNode(const std::string& relative, Qt::MouseButton button = Qt::LeftButton) {
        ViewEvents::click(tree()->viewport(), nodeCentre(relative), button);
        ViewEvents::settle();
    }
    std::string selectedPath() {
        const TreeNode* selected = browser.controls().treeControl.selected();
        return selected ? browser.tree().fullPath(selected) : std::string();
    }
    // Types `text` into the open name editor and ends it with Return.
    void typeName(QWidget* pane, const std::string& text) {
        auto* editor = pane->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr) << "a name editor is open";
        editor->setText(QString::fromStdString(text));
        ViewEvents::key(editor, Qt::Key_Return);
        ViewEvents::settle();
    }

    RecordingService service;
    std::function<void()> during;
    BrowserWidget widget{browser.controls(), browser};
};

TEST_F(BrowserOnViewsTest, ReturnThatEndsANameEditOnlyEndsIt) {
    struct Case {
        const char* what;
        std::function<QWidget*()> start;
        const char* typed;
        const char* onDisk;
    };
    const Case cases[] = {
        {"rename in the list",
         [&] {
             ViewEvents::click(list()->viewport(), rowCentre("note.txt"));
             ViewEvents::key(list(), Qt::Key_F2);
             return list();
         },
         "renamed.txt", "r/renamed.txt"},
        {"rename to a taken name",
         [&] {
             ViewEvents::click(list()->viewport(), rowCentre("renamed.txt"));
             ViewEvents::key(list(), Qt::Key_F2);
             return list();
         },
         "taken.txt", "r/renamed.txt"},
        {"new folder in the list",
         [&] {
             browser.perform(BrowserCommand::NewFolder, Pane::List);
             return list();
         },
         "made", "r/made"},
        {"rename in the tree",
         [&] {
             clickNode("r/b");
             ViewEvents::key(tree(), Qt::Key_F2);
             return tree();
         },
         "bee", "r/bee"},
    };
    for (const Case& c : cases) {
        QWidget* pane = c.start();
        ViewEvents::settle();
        typeName(pane, c.typed);
        EXPECT_TRUE(std::filesystem::exists(dir / c.onDisk)) << c.what;
        EXPECT_EQ(opened, std::vector<std::string>{}) << c.what;
        opened.clear();
    }
}

TEST_F(BrowserOnViewsTest, F2SelectsAFilesNameWithoutItsTypeAndAFoldersWholeName) {
    dir.mkdir("r/v1.2");
    browser.setRoot(dir / "r");
    ViewEvents::settle();
    const auto selectedInEditor = [](QWidget* pane) {
        ViewEvents::key(pane, Qt::Key_F2);
        ViewEvents::settle();
        auto* editor = pane->findChild<QLineEdit*>();
        const std::string selected = editor ? editor->selectedText().toStdString() : "<none>";
        if (editor)
            ViewEvents::key(editor, Qt::Key_Escape);
        ViewEvents::settle();
        return selected;
    };
    ViewEvents::click(list()->viewport(), rowCentre("note.txt"));
    EXPECT_EQ(selectedInEditor(list()), "note");
    clickNode("r/v1.2");
    EXPECT_EQ(selectedInEditor(tree()), "v1.2");
}

TEST_F(BrowserOnViewsTest, ADoubleClickOnAFolderNodeOpensAndClosesItInBothViews) {
    for (const bool split : {true, false}) {
        browser.showList(split);
        ViewEvents::settle();
        const TreeNode* a = nodeAtPath(dir / "r/a");
        ASSERT_FALSE(a->expanded());
        ViewEvents::doubleClick(tree()->viewport(), nodeCentre("r/a"));
        ViewEvents::settle();
        EXPECT_TRUE(nodeAtPath(dir / "r/a")->expanded()) << (split ? "split" : "tree only");
        EXPECT_TRUE(tree()->isExpanded(tree()->treeModel()->indexOf(nodeAtPath(dir / "r/a"))));
        EXPECT_EQ(childTexts(nodeAtPath(dir / "r/a")), std::vector<std::string>{"inner"});
        ViewEvents::doubleClick(tree()->viewport(), nodeCentre("r/a"));
        ViewEvents::settle();
        EXPECT_FALSE(nodeAtPath(dir / "r/a")->expanded()) << (split ? "split" : "tree only");
    }
}

TEST_F(BrowserOnViewsTest, EveryItemOfAMenuOpenedOnANodeActsOnThatNode) {
    clipboard.setText("");
    struct Case {
        std::vector<std::string> choice;
        std::string expected; // what reached the service or the clipboard
    };
    const Case cases[] = {
        {{"削除(&D)"}, "delete " + (dir / "r/b")},
        {{"ｺﾋﾟｰ(&C)"}, "clipboard " + (dir / "r/b")},
        {{"開く(&O)"}, "open " + (dir / "r/b")},
        {{"拡張ﾒﾆｭｰ", "ﾊﾟｽ名をｺﾋﾟｰ"}, "text " + (dir / "r/b")},
    };
    for (const Case& c : cases) {
        clickNode("r/a");
        service.requests.clear();
        opened.clear();
        service.result = false; // "No" to the question
        popup.choice = c.choice;
        clickNode("r/b", Qt::RightButton);
        std::string reached;
        if (!service.requests.empty())
            reached = "delete " + service.requests.at(0).sources.at(0);
        else if (!clipboard.files.paths.empty())
            reached = "clipboard " + clipboard.files.paths.at(0);
        else if (!opened.empty())
            reached = opened.back().substr(opened.back().find("open "));
        else if (clipboard.text)
            reached = "text " + *clipboard.text;
        EXPECT_EQ(reached, c.expected) << c.choice.back();
        clipboard.setText("");
    }
    // On empty tree space the menu acts on the selected node.
    popup.choice = {"削除(&D)"};
    service.requests.clear();
    ViewEvents::click(tree()->viewport(), QPoint(5, tree()->viewport()->height() - 5),
                      Qt::RightButton);
    ASSERT_EQ(service.requests.size(), 1u);
    EXPECT_EQ(service.requests[0].sources, std::vector<std::string>{dir / "r/a"});
}

TEST_F(BrowserOnViewsTest, DeleteFromTheTreeMovesTheSelectionOnlyOnceTheNodeIsGone) {
    clickNode("r/a");
    std::string selectedDuringQuestion;
    during = [&] { selectedDuringQuestion = selectedPath(); };
    service.result = false;
    ViewEvents::key(tree(), Qt::Key_Delete);
    ViewEvents::settle();
    EXPECT_EQ(selectedDuringQuestion, dir / "r/a");
    EXPECT_EQ(selectedPath(), dir / "r/a") << "after No";
    EXPECT_EQ(browser.state().listFolder, dir / "r/a");

    service.result = true;
    ViewEvents::key(tree(), Qt::Key_Delete);
    ViewEvents::settle();
    EXPECT_EQ(selectedDuringQuestion, dir / "r/a");
    EXPECT_FALSE(std::filesystem::exists(dir / "r/a"));
    EXPECT_EQ(selectedPath(), dir / "r/b") << "the next node once it is gone";
    EXPECT_EQ(childTexts(nodeAtPath(dir / "r")), (std::vector<std::string>{"b"}));
}

TEST_F(BrowserOnViewsTest, APasteIntoANodeThatIsNotSelectedShowsUnderThatNode) {
    ViewEvents::doubleClick(tree()->viewport(), nodeCentre("r/b"));
    ViewEvents::settle();
    ASSERT_EQ(childTexts(nodeAtPath(dir / "r/b")), std::vector<std::string>{"old"});
    clickNode("r/a");
    clipboard.setFileList({dir / "out/pasted"}, ClipEffect::Copy);
    popup.choice = {"貼り付け(&P)"};
    clickNode("r/b", Qt::RightButton);
    EXPECT_TRUE(std::filesystem::exists(dir / "r/b/pasted"));
    EXPECT_EQ(childTexts(nodeAtPath(dir / "r/b")), (std::vector<std::string>{"old", "pasted"}));
}

TEST_F(BrowserOnViewsTest, ANameThatIsTakenIsRefusedWithAWordNamingIt) {
    struct Case {
        std::function<QWidget*()> start;
        const char* typed;
        std::function<std::string()> shown; // the name the pane shows after the edit
    };
    const Case cases[] = {
        {[&] {
             ViewEvents::click(list()->viewport(), rowCentre("note.txt"));
             ViewEvents::key(list(), Qt::Key_F2);
             return list();
         },
         "taken.txt",
         [&] { return std::string(browser.controls().listControl.current()->text()); }},
        {[&] {
             browser.perform(BrowserCommand::NewFolder, Pane::List);
             return list();
         },
         "a", [&] { return std::string(); }},
        {[&] {
             clickNode("r/b");
             ViewEvents::key(tree(), Qt::Key_F2);
             return tree();
         },
         "a", [&] { return browser.controls().treeControl.selected()->text(); }},
    };
    for (const Case& c : cases) {
        messages.shown.clear();
        QWidget* pane = c.start();
        ViewEvents::settle();
        typeName(pane, c.typed);
        EXPECT_EQ(messages.shown, std::vector<std::string>{"「" + std::string(c.typed) +
                                                           "」は既にあります。\r"
                                                           "別の名前を指定してください。"})
            << c.typed;
        EXPECT_NE(c.shown(), c.typed);
    }
    EXPECT_EQ(TempDir::read(dir / "r/taken.txt"), "t");
    EXPECT_EQ(TempDir::read(dir / "r/note.txt"), "n");
    EXPECT_EQ(childTexts(nodeAtPath(dir / "r")), (std::vector<std::string>{"a", "b"}));
}

TEST_F(BrowserOnViewsTest, CtrlZInEitherPaneUndoesTheLastRename) {
    for (QWidget* pane : {static_cast<QWidget*>(list()), static_cast<QWidget*>(tree())}) {
        ViewEvents::click(list()->viewport(), rowCentre("note.txt"));
        ViewEvents::key(list(), Qt::Key_F2);
        ViewEvents::settle();
        typeName(list(), "renamed.txt");
        ASSERT_EQ(TempDir::read(dir / "r/renamed.txt"), "n");
        ViewEvents::key(pane, Qt::Key_Z, Qt::ControlModifier);
        ViewEvents::settle();
        EXPECT_EQ(TempDir::read(dir / "r/note.txt"), "n");
        EXPECT_NE(row("note.txt"), nullptr);
        EXPECT_EQ(row("renamed.txt"), nullptr);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(BrowserOnViewsTest, CtrlHInEitherPaneHidesAndShowsDotEntries) {
    dir.mkdir("r/.hidden_dir");
    dir.write("r/.hidden_file", "h");
    clickNode("r");
    const std::vector<std::string> folders{"a", "b"};
    const std::vector<std::string> all{".hidden_dir", "a", "b"};
    ASSERT_EQ(childTexts(nodeAtPath(dir / "r")), all);
    for (QWidget* pane : {static_cast<QWidget*>(list()), static_cast<QWidget*>(tree())}) {
        ViewEvents::key(pane, Qt::Key_H, Qt::ControlModifier);
        ViewEvents::settle();
        EXPECT_EQ(childTexts(nodeAtPath(dir / "r")), folders);
        EXPECT_EQ(row(".hidden_file"), nullptr);
        ViewEvents::key(pane, Qt::Key_H, Qt::ControlModifier);
        ViewEvents::settle();
        EXPECT_EQ(childTexts(nodeAtPath(dir / "r")), all);
        EXPECT_NE(row(".hidden_file"), nullptr);
    }
}

TEST_F(BrowserOnViewsTest, ItemsDroppedOntoTheFolderTheyAreInStayAsTheyAre) {
    struct Case {
        std::vector<std::string> paths;
        std::function<QPoint()> at;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {{dir / "r/note.txt"},
         [&] { return QPoint(5, list()->viewport()->height() - 5); },
         Qt::NoModifier},
        {{dir / "r/note.txt", dir / "r/a"},
         [&] { return rowCentre("taken.txt"); },
         Qt::ShiftModifier},
        {{dir / "r/b/old"}, [&] { return rowCentre("b"); }, Qt::NoModifier},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QMimeData> data(QtPaneInput::mimeDataFor(c.paths));
        QDragEnterEvent enter(c.at(), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton,
                              c.modifiers);
        QApplication::sendEvent(list()->viewport(), &enter);
        QDropEvent drop(QPointF(c.at()), Qt::CopyAction | Qt::MoveAction, data.get(),
                        Qt::LeftButton, c.modifiers);
        QApplication::sendEvent(list()->viewport(), &drop);
        ViewEvents::settle();
        EXPECT_FALSE(drop.isAccepted()) << c.paths.front();
    }
    EXPECT_TRUE(service.requests.empty());
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"a", "b", "note.txt", "taken.txt"}));
}

} // namespace
