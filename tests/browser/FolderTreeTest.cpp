#include "browser/BrowserFixture.h"
#include "browser/FileList.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

class FolderTreeTest : public BrowserFixture {
  protected:
    void SetUp() override {
        dir.mkdir("r/a/b");
        dir.mkdir("r/c");
        dir.mkdir("r/empty");
        dir.write("r/c/file.txt", "x");
        dir.write("r/top.txt", "12345");
    }
};

TEST_F(FolderTreeTest, RootBuildsKeysInCreationOrderWithDummiesForFoldersWithContent) {
    browser.setRoot(dir / "r/");
    EXPECT_EQ(browser.root(), dir / "r");
    auto& tree = browser.controls().treeControl;
    TreeNode* root = tree.firstNode();
    ASSERT_TRUE(root);
    EXPECT_EQ(root->key(), "N0000");
    EXPECT_EQ(root->text(), dir / "r");
    EXPECT_TRUE(root->expanded());
    EXPECT_EQ(tree.selected(), root);
    EXPECT_EQ(childTexts(root), (std::vector<std::string>{"a", "c", "empty"}));
    // a gets N0001 and its dummy N0002; c (files only) gets no dummy in the split view.
    EXPECT_EQ(root->child(0)->key(), "N0001");
    EXPECT_EQ(root->child(0)->firstChild()->key(), "N0002");
    EXPECT_EQ(root->child(0)->firstChild()->tag(), "DM");
    EXPECT_EQ(root->child(1)->key(), "N0003");
    EXPECT_EQ(root->child(1)->childCount(), 0);
    EXPECT_EQ(root->child(0)->tag(), "FD");
    EXPECT_EQ(browser.tree().keyOfPath(dir / "R/C"), "N0003") << "looked up ignoring case";
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"a", "c", "empty", "top.txt"}));
    EXPECT_EQ(browser.activePath(), dir / "r");
    EXPECT_EQ(loop.waitDepth, 0);
}

TEST_F(FolderTreeTest, RootWithActivePathOpensItLevelByLevel) {
    browser.setRoot(dir / "r" + "\r" + (dir / "r/a/b"));
    TreeNode* b = nodeAtPath(dir / "r/a/b");
    ASSERT_TRUE(b);
    EXPECT_EQ(browser.controls().treeControl.selected(), b);
    EXPECT_TRUE(nodeAtPath(dir / "r/a")->expanded());
    EXPECT_EQ(browser.state().listFolder, dir / "r/a/b");
    EXPECT_EQ(browser.activePath(), dir / "r/a/b");
}

TEST_F(FolderTreeTest, OpeningALoadedNodeAgainListsItsOwnSubfolders) {
    dir.mkdir("r/c/inner");
    browser.setRoot(dir / "r");
    browser.tree().openPathInTree(dir / "r/a");
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"b"}));
    browser.tree().openPathInTree(dir / "r/c");
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"inner", "file.txt"}));
    browser.tree().openPathInTree(dir / "r/a");
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"b"}));
}

TEST_F(FolderTreeTest, MissingActivePathSelectsWhatExistsAndKeepsTheList) {
    browser.setRoot(dir / "r/c");
    ASSERT_EQ(listTexts(), (std::vector<std::string>{"file.txt"}));
    browser.setRoot(dir / "r" + "\r" + (dir / "r/a/missing"));
    EXPECT_EQ(browser.controls().treeControl.selected(), nodeAtPath(dir / "r/a"));
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"file.txt"}))
        << "a missing folder is not listed";
}

TEST_F(FolderTreeTest, ARootThatIsNotAFolderChangesNothing) {
    browser.setRoot(dir / "r");
    browser.setRoot(dir / "r/top.txt");
    EXPECT_EQ(browser.root(), dir / "r");
    EXPECT_EQ(browser.controls().treeControl.firstNode()->text(), dir / "r");
    EXPECT_FALSE(browser.state().busy);
}

TEST_F(FolderTreeTest, OnlyAnExcludedSubfolderGivesADummyThatExpandsToNothing) {
    dir.mkdir("r/vol/System Volume Information");
    browser.setRoot(dir / "r");
    TreeNode* vol = nodeAtPath(dir / "r/vol");
    ASSERT_EQ(vol->childCount(), 1);
    browser.treeNodeExpanding(vol->key());
    EXPECT_EQ(nodeAtPath(dir / "r/vol")->childCount(), 0);
}

TEST_F(FolderTreeTest, TreeOnlyViewShowsFilesThatPassTheFilter) {
    dir.write("r/c/pic.JPG", "");
    browser.showList(false);
    browser.setFilter("jpg");
    browser.setRoot(dir / "r");
    TreeNode* c = nodeAtPath(dir / "r/c");
    EXPECT_TRUE(c->undecided()) << "a leaf folder is looked into when its row is shown";
    browser.treeRowsShown({c->key(), nodeAtPath(dir / "r/empty")->key()});
    ASSERT_EQ(c->childCount(), 1) << "files give a dummy in the tree-only view";
    EXPECT_EQ(nodeAtPath(dir / "r/empty")->childCount(), 0);
    EXPECT_FALSE(c->undecided());
    browser.treeNodeExpanding(c->key());
    c = nodeAtPath(dir / "r/c");
    EXPECT_EQ(childTexts(c), (std::vector<std::string>{"pic.JPG"}));
    EXPECT_EQ(c->firstChild()->tag(), "FL");
    EXPECT_EQ(browser.tree().nodePath(c->firstChild()), dir / "r/c");
    EXPECT_EQ(childTexts(browser.controls().treeControl.firstNode()),
              (std::vector<std::string>{"a", "c", "empty"}))
        << "top.txt is filtered out";
}

TEST_F(FolderTreeTest, RedrawLoadsTheRootLevelAndSelectsTheListNodeWhereItIsLoaded) {
    browser.setRoot(dir / "r" + "\r" + (dir / "r/a/b"));
    browser.redrawTree();
    auto& tree = browser.controls().treeControl;
    EXPECT_EQ(tree.firstNode()->child(0)->key(), "N0001");
    EXPECT_FALSE(nodeAtPath(dir / "r/a")->expanded()) << "no level below the root is opened";
    EXPECT_EQ(nodeAtPath(dir / "r/a/b"), nullptr);
    EXPECT_EQ(browser.state().listFolder, dir / "r/a/b") << "the list stays as it was";
    for (const char* p : {"r", "r/a", "r/c", "r/empty"})
        EXPECT_EQ(browser.tree().fullPath(nodeAtPath(dir / p)), dir / p) << p;

    dir.write("r/a/b/new.txt", "");
    timer.tick();
    EXPECT_TRUE(row("new.txt")) << "the list is still kept in step with its folder";

    press(dir / "r/c");
    browser.redrawTree();
    EXPECT_EQ(tree.selected(), nodeAtPath(dir / "r/c"));
    EXPECT_EQ(browser.tree().currentNode(), nodeAtPath(dir / "r/c"));
}

TEST_F(FolderTreeTest, AFolderWhoseOnlySubfoldersAreLinksCanBeOpened) {
    for (const char* folder : {"r/links", "r/unseen"}) {
        dir.mkdir(folder);
        ASSERT_EQ(::symlink((dir / "r/a").c_str(), (dir / folder + "/to-a").c_str()), 0);
    }
    browser.setRoot(dir / "r");
    TreeNode* links = nodeAtPath(dir / "r/links");
    ASSERT_TRUE(links);
    browser.treeRowsShown({links->key()});
    ASSERT_EQ(links->childCount(), 1) << "an expand button";
    browser.treeNodeExpanding(links->key());
    EXPECT_EQ(childTexts(links), (std::vector<std::string>{"to-a"}));
    TreeNode* unseen = nodeAtPath(dir / "r/unseen");
    browser.treeNodeExpanding(unseen->key());
    EXPECT_EQ(childTexts(nodeAtPath(dir / "r/unseen")), (std::vector<std::string>{"to-a"}))
        << "a folder opened before its row was shown (keys, a drop) is loaded all the same";
}

TEST_F(FolderTreeTest, ARootWithoutSubfoldersStoredAsItsOwnActiveFolderListsItsFiles) {
    dir.write("flat/one.txt", "1");
    browser.setRoot(dir / "flat" + "\r" + (dir / "flat"));
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"one.txt"}));
    EXPECT_EQ(browser.tree().currentNode(), browser.controls().treeControl.firstNode());
    browser.setRoot(dir / "r" + "\r" + (dir / "r"));
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"a", "c", "empty", "top.txt"}));
    EXPECT_EQ(browser.controls().treeControl.selected(),
              browser.controls().treeControl.firstNode());
}

TEST_F(FolderTreeTest, SwitchingToTheSplitViewListsTheSelectedFolder) {
    browser.showList(false);
    browser.setRoot(dir / "r");
    browser.controls().treeControl.select(nodeAtPath(dir / "r/c"));
    browser.showList(true);
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"file.txt"}));
    EXPECT_EQ(browser.controls().treeControl.selected(), nodeAtPath(dir / "r/c"));
}

TEST_F(FolderTreeTest, ReconciliationInsertsBetweenAndRemovesVanishedNodes) {
    browser.setRoot(dir / "r");
    TreeNode* root = browser.controls().treeControl.firstNode();
    dir.mkdir("r/b-new/x");
    ::rmdir((dir / "r/empty").c_str());
    browser.watch().refreshNode(root->key(), true);
    EXPECT_EQ(childTexts(root), (std::vector<std::string>{"a", "b-new", "c"}));
    TreeNode* added = nodeAtPath(dir / "r/b-new");
    ASSERT_TRUE(added);
    EXPECT_EQ(added->childCount(), 1) << "a new folder with content gets its dummy";
}

TEST_F(FolderTreeTest, NamesDifferingOnlyInCaseStayDistinctInAMerge) {
    dir.mkdir("r/A");
    browser.setRoot(dir / "r");
    TreeNode* root = browser.controls().treeControl.firstNode();
    EXPECT_EQ(childTexts(root), (std::vector<std::string>{"A", "a", "c", "empty"}));
    browser.watch().refreshNode(root->key(), true);
    EXPECT_EQ(childTexts(root), (std::vector<std::string>{"A", "a", "c", "empty"}));
}

TEST_F(FolderTreeTest, PressOnANodeListsItsFolder) {
    browser.setRoot(dir / "r");
    press(dir / "r/c");
    EXPECT_EQ(listTexts(), (std::vector<std::string>{"file.txt"}));
    EXPECT_EQ(browser.tree().currentNode(), nodeAtPath(dir / "r/c"));
    EXPECT_EQ(browser.activePath(), dir / "r/c");
}

TEST_F(FolderTreeTest, RightPressMarksTheListNodeAndFocusLossRestoresIt) {
    browser.setRoot(dir / "r");
    TreeNode* root = browser.controls().treeControl.firstNode();
    browser.treeMousePressed(nodeAtPath(dir / "r/c")->key(), MouseButton::Right, {});
    EXPECT_EQ(root->foreColour(), TreeWatch::kInvertedFore);
    browser.controls().treeControl.select(nodeAtPath(dir / "r/c"));
    browser.treeFocusLost();
    EXPECT_EQ(browser.controls().treeControl.selected(), root);
    EXPECT_EQ(root->foreColour(), std::nullopt);
}

TEST_F(FolderTreeTest, DroppedFileSetsItsFolderAsRoot) {
    browser.tree().setRootFromDrop({dir / "nowhere/x.y", dir / "r/c/file.txt"});
    EXPECT_EQ(browser.root(), dir / "r/c");
    dir.mkdir("v1.2");
    browser.tree().setRootFromDrop({dir / "v1.2"});
    EXPECT_EQ(browser.root(), dir / "v1.2") << "a folder with a dot in its name is a folder";
}

TEST_F(FolderTreeTest, MoreThan32767EntriesListCompletelyWithGrowingKeys) {
    const std::string big = dir.mkdir("big");
    for (int i = 0; i < 33000; ++i)
        ::close(::open((big + "/f" + std::to_string(i)).c_str(), O_CREAT | O_WRONLY, 0644));
    browser.setRoot(big);
    auto& list = browser.controls().listControl;
    EXPECT_EQ(list.count(), static_cast<int>(FileList::kFillChunk))
        << "one block of rows, then the window's loop runs";
    while (browser.list().filling())
        loop.timers.back()->tick();
    EXPECT_EQ(list.count(), 33000);
    EXPECT_TRUE(list.find("L33000"));

    // A reconciliation in the middle of a fill makes its rest first: no row twice.
    browser.list().relist();
    ASSERT_TRUE(browser.list().filling());
    dir.write("big/zz-new", "");
    browser.list().refreshList();
    EXPECT_FALSE(browser.list().filling());
    EXPECT_EQ(list.count(), 33001);
}

} // namespace
