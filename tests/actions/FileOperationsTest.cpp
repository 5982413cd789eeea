#include "actions/FileOperations.h"
#include "actions/RecordingService.h"
#include "browser/BrowserFixture.h"
#include "controls/ListObserver.h"
#include "controls/TreeObserver.h"
#include "platform/FileOperationService.h"

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Which label edits the logic asked the views for, and which part of the name each selects.
class EditRequests : public TreeObserver, public ListObserver {
  public:
    void labelEditRequested(const TreeNode* node, LabelPart part) override {
        keys.push_back(node->key());
        parts.push_back(part);
    }
    void labelEditRequested(const ListItem* item, LabelPart part) override {
        keys.emplace_back(item->key());
        parts.push_back(part);
    }
    std::vector<std::string> keys;
    std::vector<LabelPart> parts;
};

bool isFolder(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

class FileOperationsTest : public BrowserFixture {
  protected:
    void SetUp() override {
        dir.mkdir("f/a/inner");
        dir.mkdir("f/b");
        dir.mkdir("f/c");
        for (const char* name : {"f/b/1.txt", "f/b/2.txt", "f/b/3.txt", "f/b/4.txt", "f/b/5.txt"})
            dir.write(name, name);
        browser.setRoot(dir / "f");
        service.busy = &browser.state().busy;
        ops().setService(&service);
        controls().treeControl.addObserver(&edits);
        controls().listControl.addObserver(&edits);
    }
    void TearDown() override {
        controls().treeControl.removeObserver(&edits);
        controls().listControl.removeObserver(&edits);
    }
    FileOperations& ops() { return browser.fileOperations(); }
    BrowserControls& controls() { return browser.controls(); }
    // Stands for the list press that records the row under the mouse.
    void pressRow(const std::string& name) {
        const_cast<BrowserState&>(browser.state()).trackedItem =
            controls().listControl.indexOf(row(name));
    }
    void selectRows(const std::vector<std::string>& names, const std::string& current) {
        auto& list = controls().listControl;
        list.clearSelection();
        for (const std::string& name : names)
            list.setSelected(row(name), true);
        list.setCurrent(row(current), true);
    }

    RecordingService service;
    EditRequests edits;
};

TEST_F(FileOperationsTest, EachKindRunsBusy) {
    for (FileOperationKind kind :
         {FileOperationKind::Move, FileOperationKind::Copy, FileOperationKind::Delete}) {
        service.requests.clear();
        EXPECT_TRUE(ops().runFileOperation(kind, {dir / "f/a"}, dir / "f/c"));
        ASSERT_EQ(service.requests.size(), 1u);
        EXPECT_EQ(service.requests[0].kind, kind);
        EXPECT_EQ(service.requests[0].sources, std::vector<std::string>{dir / "f/a"});
        EXPECT_TRUE(service.busyDuringRun);
    }
    EXPECT_EQ(service.requests[0].destination, "") << "delete has no destination";
    EXPECT_FALSE(browser.state().busy);
    service.requests.clear();
    service.result = false;
    EXPECT_FALSE(ops().runFileOperation(FileOperationKind::Copy, {dir / "f/a"}, dir / "f/c"));
    EXPECT_EQ(service.requests.size(), 1u);
}

TEST_F(FileOperationsTest, AnEmptySelectionDoesNothing) {
    EXPECT_FALSE(ops().runFileOperation(FileOperationKind::Delete, {}, {}));
    EXPECT_FALSE(ops().runFileOperation(FileOperationKind::Copy, {""}, dir / "f/c"));
    EXPECT_TRUE(service.requests.empty());
}

TEST_F(FileOperationsTest, NewFolderInTheTreeUnderThePressedNode) {
    press(dir / "f/c");
    ops().makeNewFolder(Pane::Tree);
    TreeNode* fresh = nodeAtPath(dir / "f/c")->lastChild();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->text(), "新規ﾌｫﾙﾀﾞ");
    EXPECT_EQ(fresh->tag(), "NW");
    EXPECT_EQ(fresh->image(), "FoldC");
    EXPECT_EQ(controls().treeControl.selected(), fresh);
    EXPECT_EQ(edits.keys, std::vector<std::string>{fresh->key()});
    EXPECT_FALSE(timer.on);
    EXPECT_TRUE(browser.treeLabelEdited(fresh->key(), std::string("made")));
    EXPECT_TRUE(timer.on);
    EXPECT_TRUE(isFolder(dir / "f/c/made"));
    EXPECT_EQ(childTexts(nodeAtPath(dir / "f/c")), std::vector<std::string>{"made"});
}

TEST_F(FileOperationsTest, RefusedNamesCancelTheEditAndResumeTheTimer) {
    press(dir / "f/c");
    ops().makeNewFolder(Pane::Tree);
    const std::string key = nodeAtPath(dir / "f/c")->lastChild()->key();
    const std::optional<std::string> refused[] = {std::string("../a"), std::string("x/y"),
                                                  std::string(""), std::nullopt};
    for (const auto& text : refused) {
        timer.on = false;
        EXPECT_FALSE(browser.treeLabelEdited(key, text));
        EXPECT_TRUE(timer.on);
    }
    dir.mkdir("f/c/taken");
    EXPECT_FALSE(browser.treeLabelEdited(key, std::string("taken")));
    EXPECT_EQ(node(key)->text(), "新規ﾌｫﾙﾀﾞ");
    EXPECT_EQ(node(key)->tag(), "NW");
    EXPECT_FALSE(isFolder(dir / "f/x"));
    EXPECT_FALSE(isFolder(dir / "x"));
    TreeNode* dummy = nodeAtPath(dir / "f/a")->firstChild();
    ASSERT_EQ(dummy->tag(), "DM");
    EXPECT_FALSE(browser.treeLabelEdited(dummy->key(), std::string("z")));
}

TEST_F(FileOperationsTest, RenameInTheTreeRenamesTheFolderAndKeepsTheNode) {
    press(dir / "f/b");
    const std::string key = nodeAtPath(dir / "f/b")->key();
    ops().renameSelected(Pane::Tree);
    EXPECT_EQ(edits.keys, std::vector<std::string>{key});
    EXPECT_EQ(edits.parts, std::vector<LabelPart>{LabelPart::Whole}) << "a folder's whole name";
    EXPECT_FALSE(timer.on);
    EXPECT_TRUE(browser.treeLabelEdited(key, std::string("b2")));
    EXPECT_TRUE(isFolder(dir / "f/b2"));
    EXPECT_EQ(childTexts(node("N0000")), (std::vector<std::string>{"a", "b2", "c"}));
    EXPECT_FALSE(browser.treeLabelEdited(key, std::string("c"))) << "never over another folder";
    EXPECT_TRUE(isFolder(dir / "f/c"));
}

TEST_F(FileOperationsTest, RenameAndNewFolderInTheList) {
    press(dir / "f/b");
    pressRow("2.txt");
    const std::string key(row("2.txt")->key());
    ops().renameSelected(Pane::List);
    EXPECT_EQ(edits.keys, std::vector<std::string>{key});
    EXPECT_EQ(edits.parts, std::vector<LabelPart>{LabelPart::Stem})
        << "a file's name less its type";
    EXPECT_TRUE(browser.listLabelEdited(key, std::string("two.txt")));
    EXPECT_EQ(TempDir::read(dir / "f/b/two.txt"), "f/b/2.txt");
    EXPECT_EQ(row("two.txt")->columnText(3), "L2.txt") << "the sort key keeps the old name";
    EXPECT_FALSE(browser.listLabelEdited(key, std::string("3.txt")));
    EXPECT_EQ(TempDir::read(dir / "f/b/3.txt"), "f/b/3.txt");

    ops().makeNewFolder(Pane::List);
    ListItem* fresh = controls().listControl.current();
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->tag(), "NW");
    EXPECT_EQ(fresh->text(), "新規ﾌｫﾙﾀﾞ");
    const std::string freshKey(fresh->key());
    EXPECT_TRUE(browser.listLabelEdited(freshKey, std::string("sub")));
    fresh = controls().listControl.find(freshKey);
    EXPECT_EQ(fresh->tag(), "FD");
    EXPECT_EQ(fresh->columnText(3), "Dsub");
    EXPECT_EQ(fresh->columnText(1).size(), 14u);
    EXPECT_TRUE(isFolder(dir / "f/b/sub"));
}

TEST_F(FileOperationsTest, RenameWithoutAPressedRowOrNodeDoesNothing) {
    ops().renameSelected(Pane::Tree);
    ops().renameSelected(Pane::List);
    EXPECT_TRUE(edits.keys.empty());
    EXPECT_TRUE(timer.on);
}

TEST_F(FileOperationsTest, DeleteInTheTreeMovesTheSelectionOnlyWhenDone) {
    struct Case {
        std::string selected;
        std::string next;
    } cases[] = {{dir / "f/a", dir / "f/b"}, {dir / "f/c", dir / "f"}, {dir / "f", dir / "f"}};
    for (const Case& c : cases) {
        for (const bool done : {false, true}) {
            service.result = done;
            controls().treeControl.select(nodeAtPath(c.selected));
            ops().deleteSelected({c.selected}, Pane::Tree);
            const std::string now = done ? c.next : c.selected;
            EXPECT_EQ(controls().treeControl.selected(), nodeAtPath(now)) << c.selected << done;
            if (done) {
                EXPECT_EQ(browser.tree().currentNode(), nodeAtPath(now)) << "the list follows";
            }
        }
    }
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"a", "b", "c"}));
    service.result = true;
    service.effect = [&](const FileOperationRequest&) { rmdir((dir / "f/c").c_str()); };
    controls().treeControl.select(nodeAtPath(dir / "f/c"));
    ops().deleteSelected({dir / "f/c"}, Pane::Tree);
    EXPECT_EQ(childTexts(node("N0000")), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(FileOperationsTest, DeleteOfThreeRowsSelectsTheRowAtTheFormerPlace) {
    press(dir / "f/b");
    controls().treeControl.select(nodeAtPath(dir / "f/b"));
    selectRows({"2.txt", "3.txt", "4.txt"}, "2.txt");
    service.effect = [&](const FileOperationRequest& request) {
        for (const std::string& path : request.sources)
            unlink(path.c_str());
    };
    ops().deleteSelected({dir / "f/b/2.txt", dir / "f/b/3.txt", dir / "f/b/4.txt"}, Pane::List);
    EXPECT_EQ(service.requests.size(), 1u);
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"1.txt", "5.txt"}));
    EXPECT_EQ(controls().listControl.current(), row("5.txt"));
    controls().listControl.setCurrent(nullptr, false);
    ops().deleteSelected({dir / "f/b/1.txt"}, Pane::List);
    EXPECT_EQ(service.requests.size(), 1u) << "no current row: nothing is deleted";
}

TEST_F(FileOperationsTest, RefreshOfAPathReconcilesOnlyAMatchingNode) {
    dir.mkdir("f/c/new");
    ops().refreshFolderNode(dir / "f/c/");
    EXPECT_EQ(childTexts(nodeAtPath(dir / "f/c")), std::vector<std::string>{"new"});
    press(dir / "f/b");
    ops().renameSelected(Pane::Tree);
    ASSERT_TRUE(browser.treeLabelEdited(nodeAtPath(dir / "f/b")->key(), std::string("b2")));
    dir.mkdir("f/b2/late");
    ops().refreshFolderNode(dir / "f/b"); // the index line of the old path is stale
    EXPECT_TRUE(childTexts(nodeAtPath(dir / "f/b")).empty());
    ops().refreshFolderNode(dir / "f/missing");
}

} // namespace
